#include "encounter/encounter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "base/numeric.h"
#include "encounter/encounter_steps.h"
#include "encounter/history.h"
#include "encounter/indexed_search.h"
#include "encounter/move_decision.h"
#include "encounter/record_index.h"

namespace morvane {

namespace {

// Scores, records and sums of one encounter, added straight into the report.
std::uint8_t commit(const World& w, GenerationReport& r, RecordIndex* ix,
                    const EncounterSettings& settings, const EncounterValues& v,
                    const std::array<PartnerPlace, 2>* places) {
    return encounterSteps::EncounterCommit<encounterSteps::SumsInReport>(w, r, settings)
        .commit(v, ix, places);
}

// Player 1's current move as player 2 sees it before deciding: the record the encounter is about
// to commit, with player 1's provisional success or output and the equality player 2 would give.
SlotRecord previewRecord(const World& w, const EncounterSettings& settings,
                         const EncounterValues& v) {
    const EncounterSide& p1 = v.players[0];
    const std::uint16_t value = ValorarJugada(w, p1.disp, settings.copia);
    SlotRecord r;
    r.movB = static_cast<std::uint8_t>(value & 127);
    r.movA = settings.ciEsExito ? static_cast<std::uint8_t>((value & 16256) / 128)
                                : roundToField<std::uint8_t>(p1.f * 100.0f, 0.0, 100.0);
    r.jugada = moveRecord::make(v.jug2, 0, v.prev2 + 1, p1.fired, p1.half);
    return r;
}

// Both decisions on the record index: each player's memories of the other are found once and
// serve the rival's search and the player's own trigger.
// with1 is player 1's memory of its records with player 2 (null when they have not met), with2
// player 2's of player 1.
template <bool kObserved>
void decideBothIndexed(const World& w, const RecordIndex& ix, const EncounterSettings& settings,
                       const GenerationCards& cards, EncounterValues& v, Rng& rng,
                       const RecordMemory* with1, const RecordMemory* with2) {
    const Genoma& g1 = w.genoma(kActual, v.jug1);
    const Genoma& g2 = w.genoma(kActual, v.jug2);
    CellMemories memories1{&ix.anyPartner[v.jug1], with1, ix.headers[v.jug1].newestPartner,
                           nullptr};
    const CellMemories memories2{&ix.anyPartner[v.jug2], with2, ix.headers[v.jug2].newestPartner,
                                 nullptr};

    auto& p1 = v.players[0];
    const int h1 = player1Half(settings);
    const DecisionCard& card1 = cards.cells[v.jug1][h1];
    int word1 = v.prev2 > 0 ? indexedWord(memories2, v.jug1, 0, card1.busqueda) : -1;
    if (word1 < 0) word1 = card1.incertidumbre;
    decideWith<true, kObserved>(
        g1, g2, settings, 1, h1, card1, static_cast<std::uint16_t>(word1), v.Si, 0.0f, rng, p1,
        [&] { return v.prev1 > 0 && indexedFired(memories1, v.jug2, 0, card1.trigger) != 0; });
    p1.cell = static_cast<std::int16_t>(v.jug1);

    const int h2 = player2Half(settings, p1.disp);
    const DecisionCard& card2 = cards.cells[v.jug2][h2];
    SlotRecord preview;
    if (settings.successiveMoves) {
        preview = previewRecord(w, settings, v);
        memories1.preview = &preview;
    }
    int word2 = settings.successiveMoves || v.prev1 > 0
                    ? indexedWord(memories1, v.jug2, 1, card2.busqueda)
                    : -1;
    if (word2 < 0) word2 = card2.incertidumbre;
    decideWith<true, kObserved>(
        g2, g1, settings, 2, h2, card2, static_cast<std::uint16_t>(word2), v.Si, p1.f, rng,
        v.players[1],
        [&] { return v.prev2 > 0 && indexedFired(memories2, v.jug1, 1, card2.trigger) != 0; });
    v.players[1].cell = static_cast<std::int16_t>(v.jug2);
}

// Both decisions of a generation in which no half's output can depend on the records: nothing is
// searched or looked up, and the decisions take the "without data" values. What a search would
// have found (Ci, Ei, the input) is shown only by views, which take the observed path.
void decideBothUnread(const World& w, const EncounterSettings& settings,
                      const GenerationCards& cards, EncounterValues& v, Rng& rng) {
    const Genoma& g1 = w.genoma(kActual, v.jug1);
    const Genoma& g2 = w.genoma(kActual, v.jug2);
    const auto never = [] { return false; };
    auto& p1 = v.players[0];
    const int h1 = player1Half(settings);
    const DecisionCard& card1 = cards.cells[v.jug1][h1];
    decideWith<true, false>(g1, g2, settings, 1, h1, card1,
                            static_cast<std::uint16_t>(card1.incertidumbre), v.Si, 0.0f, rng, p1,
                            never);
    const int h2 = player2Half(settings, p1.disp);
    const DecisionCard& card2 = cards.cells[v.jug2][h2];
    decideWith<true, false>(g2, g1, settings, 2, h2, card2,
                            static_cast<std::uint16_t>(card2.incertidumbre), v.Si, p1.f, rng,
                            v.players[1], never);
}

// The card of a genome half: the generation's when there is one, else worked out into `local`.
const DecisionCard& cardOf(const World& w, const EncounterSettings& settings,
                           const GenerationCards* cards, int cell, int half, DecisionCard& local) {
    if (cards != nullptr) return cards->cells[cell][half];
    local = decisionCard(w.genoma(settings.copia, cell), half, settings.senMask);
    return local;
}

// Both decisions reading the report's records one by one.
void decideBothScanned(const World& w, const GenerationReport& r, const EncounterSettings& settings,
                       const GenerationCards* cards, EncounterValues& v, Rng& rng) {
    RecordList list1 = recordList(r, v.jug1);
    const RecordList list2 = recordList(r, v.jug2);
    DecisionCard local1, local2;
    auto& p1 = v.players[0];
    const int h1 = player1Half(settings);
    const std::uint16_t word1 = knowledgeOf(w, settings, v.jug1, 0, h1, list2, v.prev2, false);
    decide(w, settings, v.jug1, v.jug2, 1, h1, cardOf(w, settings, cards, v.jug1, h1, local1),
           word1, v.Si, list1, v.prev1, 0.0f, rng, p1);

    // Player 1's own list has served its trigger; player 2 reads it, with the preview on top
    // under successive moves.
    const int h2 = player2Half(settings, p1.disp);
    int n1 = v.prev1;
    if (settings.successiveMoves) {
        n1 = v.prev1 + 1;
        list1.previewSlot = n1;
        list1.preview = previewRecord(w, settings, v);
    }
    const std::uint16_t word2 =
        knowledgeOf(w, settings, v.jug2, 1, h2, list1, n1, settings.successiveMoves);
    decide(w, settings, v.jug2, v.jug1, 2, h2, cardOf(w, settings, cards, v.jug2, h2, local2),
           word2, v.Si, list2, v.prev2, p1.f, rng, v.players[1]);
}

void writeSelectedRow(const World& w, GenerationReport& r, const EncounterValues& v) {
    const int sel = w.CasillaSel;
    if (sel != v.jug1 && sel != v.jug2) return;
    ResultRow row = resultRow(v, sel);
    if (row.slot > w.MovPosibles) return;  // beyond the table, as beyond the records
    if (r.selectedRowsCell != sel) {
        r.selectedRows.clear();
        r.selectedRowsCell = static_cast<std::int16_t>(sel);
    }
    if (r.selectedRows.size() < static_cast<std::size_t>(row.slot)) r.selectedRows.resize(row.slot);
    r.selectedRows[row.slot - 1] = row;
}

// Where an encounter's searches and trigger look-ups read the records.
enum class RecordView {
    // The generation's record index, which holds exactly both players' records: the live rounds.
    index,
    // The report's records one by one (BuscarHistorial's and DisparoPrevio's way): replays, and
    // the reference the index is checked against.
    scan,
    // Nothing: a generation in which no half's output can depend on the records reads none and
    // keeps no index (unobserved encounters only).
    unread,
};

// Who looks at the encounter.
enum class Observer {
    // Nobody: the values only a view reads are never worked out.
    none,
    // The results table: the selected cell's row is written.
    rowWriter,
    // A replay on the snapshot genomes and the committed settings (the caller's); nothing is
    // committed and the result is 0.
    replay,
};

// A replay only reads the report.
template <Observer kObserver>
using ReportFor =
    std::conditional_t<kObserver == Observer::replay, const GenerationReport, GenerationReport>;

// One encounter between jug1 (player 1) and jug2 (player 2), who held prev1 and prev2 records
// before it, into v: every way of playing one is this function with a record view and an
// observer. The index and unread views need the cards (the index view their index too); the scan
// view uses the cards when given, else works out the two it needs. Made in one piece, so that the
// values of an unobserved encounter stay in registers.

template <RecordView kView, Observer kObserver, bool kPlain = false>
[[gnu::flatten]] std::uint8_t playEncounter(const World& w, ReportFor<kObserver>& r,
                                            const EncounterSettings& settings,
                                            const GenerationCards* cards, EncounterValues& v,
                                            int jug1, int jug2, int prev1, int prev2, Rng& rng) {
    constexpr bool kObserved = kObserver != Observer::none;
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    if constexpr (kObserved) {
        v.copia = settings.copia;
        v.SenMask = settings.senMask;
        v.successiveMoves = settings.successiveMoves;
        v.cakeCutting = settings.cakeCutting;
        v.result = 0;
    }
    if constexpr (kView == RecordView::unread) {
        static_assert(kObserver == Observer::none);
        // The colour similarity only enters the input, which a constant output does not read.
        if (settings.adHoc == 0) {
            encounterSteps::decideBothConstant(settings, *cards, v);
        } else {
            v.Si = colourSimilarity(cards->cells[jug1][0], cards->cells[jug2][0]);
            decideBothUnread(w, settings, *cards, v, rng);
        }
        cards->game.computePayoffs(v);
        return v.result = commit(w, r, nullptr, settings, v, nullptr);
    }
    v.Si = cards != nullptr
               ? colourSimilarity(cards->cells[jug1][0], cards->cells[jug2][0])
               : colourSimilarity(w.genoma(settings.copia, jug1), w.genoma(settings.copia, jug2));
    if constexpr (kView == RecordView::index) {
        RecordIndex& ix = *cards->index;
        // Each player's memory of the other is found once: the searches read it, the records
        // join it.
        const std::array<PartnerPlace, 2> places = {partnerPlace(ix, jug1, jug2),
                                                    partnerPlace(ix, jug2, jug1)};
        decideBothIndexed<kObserved>(w, ix, settings, *cards, v, rng, places[0].memory,
                                     places[1].memory);
        cards->game.computePayoffs<kPlain>(v);
        if constexpr (kObserver == Observer::rowWriter) writeSelectedRow(w, r, v);
        return v.result = commit(w, r, &ix, settings, v, &places);
    } else {
        decideBothScanned(w, r, settings, cards, v, rng);
        if (cards != nullptr)
            cards->game.computePayoffs(v);
        else
            EncounterGame(w.payoffs, settings).computePayoffs(v);
        if constexpr (kObserver == Observer::replay) {
            return 0;
        } else {
            if constexpr (kObserver == Observer::rowWriter) writeSelectedRow(w, r, v);
            return v.result = commit(w, r, nullptr, settings, v, nullptr);
        }
    }
}

}  // namespace

void replayEncounter(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                     int prev2, Rng& rng, EncounterValues& out) {
    const EncounterSettings settings = encounterSettings(w, kPrevio);
    playEncounter<RecordView::scan, Observer::replay>(w, r, settings, nullptr, out, jug1, jug2,
                                                      prev1, prev2, rng);
}

SeenPreview replayPreview(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                          int prev2, Rng& rng) {
    EncounterValues v;
    replayEncounter(w, r, jug1, jug2, prev1, prev2, rng, v);
    const EncounterSettings settings = encounterSettings(w, kPrevio);
    return {previewRecord(w, settings, v), (settings.adHoc & 4) == 0};
}

std::uint8_t JugarPartida(const World& w, GenerationReport& r, int jug1, int jug2, int prev1,
                          int prev2, int copia, Rng& rng, EncounterValues* out) {
    EncounterValues v;
    std::uint8_t result = 0;
    if (copia == kPrevio) {
        replayEncounter(w, r, jug1, jug2, prev1, prev2, rng, v);
    } else {
        const EncounterSettings settings = encounterSettings(w, kActual);
        result = playEncounter<RecordView::scan, Observer::rowWriter>(
            w, r, settings, nullptr, v, jug1, jug2, prev1, prev2, rng);
    }
    if (out != nullptr) *out = v;
    return result;
}

namespace {

// Sorts the cells into classes of equal constant outputs, compared by their bits. Cell 0 never
// plays and takes no class.
void sortOutputClasses(GenerationCards& f) {
    f.outputClasses = 0;
    if (f.anyReadsHistory) return;
    using Key = std::array<std::uint32_t, 2>;
    // Read through locals: the class stores could otherwise make every read reload them.
    const std::array<float, 2>* const outputs = f.constantOutputs.data();
    const std::size_t cellCount = f.constantOutputs.size();
    f.outputClass.resize(cellCount);
    std::uint8_t* const outputClass = f.outputClass.data();
    const auto key = [&](std::size_t c) {
        return Key{std::bit_cast<std::uint32_t>(outputs[c][0]),
                   std::bit_cast<std::uint32_t>(outputs[c][1])};
    };
    std::array<Key, GenerationCards::kMaxOutputClasses> keys{};
    int count = 0, last = 0;
    for (std::size_t c = 1; c < cellCount; ++c) {
        const Key k = key(c);
        if (count == 0 || k != keys[last]) {
            last = 0;
            while (last < count && keys[last] != k) ++last;
            if (last == count) {
                if (count == GenerationCards::kMaxOutputClasses) return;
                keys[count++] = k;
            }
        }
        outputClass[c] = static_cast<std::uint8_t>(last);
    }
    f.outputClasses = count;
}

}  // namespace

GenerationCards prepareCards(const World& w, GenerationReport& r, RecordIndex* ix, bool shortcuts) {
    GenerationCards f;
    refreshCards(f, w, r, ix, shortcuts);
    return f;
}

void refreshCards(GenerationCards& f, const World& w, GenerationReport& r, RecordIndex* ix,
                  bool shortcuts) {
    f.settings = encounterSettings(w, kActual);
    f.game = EncounterGame(w.payoffs, f.settings);
    f.plain = !f.settings.successiveMoves && f.settings.adHoc == 0 && f.game.plain();
    f.report = &r;
    const auto& genomes = w.genomes[kActual];
    const bool sameShape =
        f.sources.size() == genomes.size() && f.sourceSenMask == f.settings.senMask;
    if (!sameShape) f.sources.clear();
    f.cells.resize(genomes.size());
    f.constantOutputs.resize(genomes.size());
    f.readsHistory.resize(genomes.size());
    f.square.resize(genomes.size());
    f.sources.resize(genomes.size());
    f.sourceSenMask = f.settings.senMask;
    bool anyReads = false;
    // Read through locals: the byte stores below could otherwise make every check reload them.
    const std::size_t cellCount = genomes.size();
    const Genoma* const sources = f.sources.data();
    const std::uint8_t* const readsHistory = f.readsHistory.data();
    for (std::size_t c = 0; c < cellCount; ++c) {
        const Genoma& g = genomes[c];
        // Compared byte for byte: equal bytes are an equal genome, and a difference in padding
        // alone only makes the same card again.
        if (!sameShape || std::memcmp(&g, &sources[c], sizeof(Genoma)) != 0) {
            for (int h = 0; h < 2; ++h) {
                f.cells[c][h] = decisionCard(g, h, f.settings.senMask);
                f.constantOutputs[c][h] = evalNewtonCurve01(f.cells[c][h].curve, g.parte[h], 0.0f);
            }
            // Squares never play, so theirs do not count.
            const std::int16_t kind = g.parte[0].Busqueda & 0xFF;
            f.square[c] = isBlankSquare(kind) || isDeadSquare(kind);
            f.readsHistory[c] =
                f.square[c] == 0 && (halfReadsHistory(g.parte[0]) || halfReadsHistory(g.parte[1]));
            f.sources[c] = g;
        }
        anyReads |= c > 0 && readsHistory[c] != 0;
    }
    f.anyReadsHistory = anyReads || !shortcuts;
    f.index = f.anyReadsHistory ? ix : nullptr;
    sortOutputClasses(f);
}

std::uint8_t JugarPartida(const World& w, GenerationCards& cards, int jug1, int jug2, int prev1,
                          int prev2, Rng& rng) {
    GenerationReport& r = *cards.report;
    const RecordIndex* const ix = cards.index;
    EncounterValues& v = cards.inPlay;
    const bool watched = w.CasillaSel == jug1 || w.CasillaSel == jug2;
    // The index holds every record the rounds wrote; records written by other hands leave a cell
    // behind it, and its encounters then scan. Both players are checked in one test, as both
    // are nearly always in step.
    if (ix != nullptr &&
        ((prev1 ^ ix->headers[jug1].indexed) | (prev2 ^ ix->headers[jug2].indexed)) == 0) {
        if (watched)
            return playEncounter<RecordView::index, Observer::rowWriter>(
                w, r, cards.settings, &cards, v, jug1, jug2, prev1, prev2, rng);
        if (cards.plain) {
            // A plain generation (GenerationCards::plain) plays the same steps with the settings
            // it leaves out as constants, so that the branches they would take fold away.
            EncounterSettings plain = cards.settings;
            plain.successiveMoves = false;
            plain.adHoc = 0;
            plain.cakeCutting = false;
            plain.ciEsExito = false;
            plain.half2FollowsDisp = false;
            return playEncounter<RecordView::index, Observer::none, true>(
                w, r, plain, &cards, v, jug1, jug2, prev1, prev2, rng);
        }
        return playEncounter<RecordView::index, Observer::none>(w, r, cards.settings, &cards, v,
                                                                jug1, jug2, prev1, prev2, rng);
    }
    if (!cards.anyReadsHistory && !watched)
        return playEncounter<RecordView::unread, Observer::none>(w, r, cards.settings, &cards, v,
                                                                 jug1, jug2, prev1, prev2, rng);
    if (watched)
        return playEncounter<RecordView::scan, Observer::rowWriter>(w, r, cards.settings, &cards, v,
                                                                    jug1, jug2, prev1, prev2, rng);
    return playEncounter<RecordView::scan, Observer::none>(w, r, cards.settings, &cards, v, jug1,
                                                           jug2, prev1, prev2, rng);
}

ResultRow resultRow(const EncounterValues& v, int cell) {
    const int k = cell == v.jug1 ? 0 : 1;
    ResultRow row;
    row.slot = static_cast<std::int16_t>((k == 0 ? v.prev1 : v.prev2) + 1);
    row.Si = v.Si;
    row.SenMask = v.SenMask;
    row.own = v.players[k];
    row.rival = v.players[1 - k];
    return row;
}

}  // namespace morvane
