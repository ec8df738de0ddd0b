#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "encounter/move_decision.h"
#include "encounter/record_index_types.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// Everything one encounter computed, for the results table and the explanations.
struct EncounterValues {
    int jug1 = 0, jug2 = 0, prev1 = 0, prev2 = 0, copia = kActual;
    float Si = 0;
    std::uint8_t SenMask = 7;
    bool successiveMoves = false;            // player 2 saw player 1's current move
    bool cakeCutting = false;                // pay-offs by cake cutting
    std::array<EncounterSide, 2> players{};  // player 1, player 2
    std::array<float, 2> payoffs{}, success{};
    std::array<std::uint8_t, 2> equality{};
    // Each player's share of cooperation as its score counts it (its output, or its success when
    // success counts as cooperation), held within 0..1, and as its record byte stores it.
    std::array<float, 2> coopShare{};
    std::array<std::uint8_t, 2> recordA{};
    std::uint8_t result = 0;
};

inline float clampToUnit(float x) {
    if (!(x >= 0.0f)) return 0.0f;  // a NaN counts as nothing
    return x > 1.0f ? 1.0f : x;
}

// The game as the pay-offs read it, gathered from the matrix and the settings: the steps would
// otherwise read them again after every byte the records take, since a byte store may alias
// anything.
struct EncounterGame {
    EncounterGame() = default;
    std::array<float, 3> coefConst{}, coefOwn{}, coefOther{}, coefXY{};  // [role 1, 2]
    std::array<float, 3> payoffMax{}, payoffMin{};
    // Each role's pay-off range max - min, the divisor of its success, worked out once for the
    // generation; and whether some role's range is empty (max equal to min), which gives that role
    // a success of 1 and the encounters the general step. A game made without a matrix has one.
    std::array<float, 3> payoffRange{};
    bool anyEmptyRange = true;
    bool cakeCutting = false, evenIsOne = false, ciEsExito = false;

    EncounterGame(const PayoffMatrix& m, const EncounterSettings& settings)
        : coefConst(m.PayoffCoefConst[settings.copia]),
          coefOwn(m.PayoffCoefOwn[settings.copia]),
          coefOther(m.PayoffCoefOther[settings.copia]),
          coefXY(m.PayoffCoefXY[settings.copia]),
          payoffMax(m.PayoffMax),
          payoffMin(m.PayoffMin),
          payoffRange{0.0f, m.PayoffMax[1] - m.PayoffMin[1], m.PayoffMax[2] - m.PayoffMin[2]},
          anyEmptyRange(m.PayoffMax[1] == m.PayoffMin[1] || m.PayoffMax[2] == m.PayoffMin[2]),
          cakeCutting(settings.cakeCutting),
          evenIsOne(settings.evenIsOne),
          ciEsExito(settings.ciEsExito) {}

    // Whether the pay-offs take neither cake cutting, nor an empty range, nor success as
    // cooperation: the game most generations play, which computePayoffs<true> plays alone.
    bool plain() const { return !cakeCutting && !anyEmptyRange && !ciEsExito; }

    // The pay-offs, successes, equalities and shares of cooperation of two decided players; with
    // kPlain, of a plain() game.
    template <bool kPlain = false>
    void computePayoffs(EncounterValues& v) const {
        const float f1 = v.players[0].f, f2 = v.players[1].f;
        const float d1 = v.players[0].disp, d2 = v.players[1].disp;
        if (kPlain || !cakeCutting) {
            v.payoffs = {
                expectedPayoff(coefConst[1], coefOwn[1], coefOther[1], coefXY[1], 1, d1, d2),
                expectedPayoff(coefConst[2], coefOwn[2], coefOther[2], coefXY[2], 2, d2, d1)};
        } else if ((1.0f - f1) + (1.0f - f2) <= 1.0f) {
            // Each player claims the share of the cake it does not give away.
            v.payoffs = {(1.0f - f1) * payoffMax[1], (1.0f - f2) * payoffMax[2]};
        } else {
            v.payoffs = {0.0f, 0.0f};
        }
        if (kPlain || !anyEmptyRange)
            v.success = {(v.payoffs[0] - payoffMin[1]) / payoffRange[1],
                         (v.payoffs[1] - payoffMin[2]) / payoffRange[2]};
        else
            v.success = {success(payoffMax[1], payoffMin[1], v.payoffs[0]),
                         success(payoffMax[2], payoffMin[2], v.payoffs[1])};
        const std::uint8_t e1 = player1Equality(v.success[0], v.success[1], evenIsOne);
        v.equality = {e1, static_cast<std::uint8_t>(evenIsOne ? e1 : 100 - e1)};
        const std::array<float, 2> share =
            !kPlain && ciEsExito ? v.success : std::array<float, 2>{v.players[0].f, v.players[1].f};
        shareBoth(share, v);
    }

  private:
    // Both players' shares of cooperation, held within 0..1 and as record bytes.
    static void shareBoth(const std::array<float, 2>& share, EncounterValues& v) {
#if defined(__SSE2__)
        // Both players at once, lane by lane the same operations as clampToUnit and recordByte:
        // a NaN fails the >= 0 mask and the > 0 maximum alike, and becomes 0.
        const __m128 s = _mm_setr_ps(share[0], share[1], 0.0f, 0.0f);
        const __m128 zero = _mm_setzero_ps();
        const __m128 unit = _mm_min_ps(_mm_and_ps(_mm_cmpge_ps(s, zero), s), _mm_set1_ps(1.0f));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(v.coopShare.data()), _mm_castps_si128(unit));
        const __m128 percent = _mm_mul_ps(s, _mm_set1_ps(100.0f));
        const __m128 held = _mm_min_ps(_mm_max_ps(percent, zero), _mm_set1_ps(100.0f));
        const __m128i whole = _mm_cvttps_epi32(held);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(whole, whole), whole);
        const auto pair = static_cast<std::uint16_t>(_mm_cvtsi128_si32(bytes));
        std::memcpy(v.recordA.data(), &pair, sizeof pair);
#else
        for (int k = 0; k < 2; ++k) {
            v.coopShare[k] = clampToUnit(share[k]);
            v.recordA[k] = recordByte(share[k] * 100.0f);
        }
#endif
    }
};

// One encounter between jug1 (player 1) and jug2 (player 2), who held prev1 and prev2 records
// before it, reading the records one by one. copia 1: live play on the live genomes and live
// settings, results committed to the report; the result has bit 0 set when player 1's pay-off fell
// below UmbralHoy, bit 1 likewise for player 2. copia 0: a replay on the snapshot genomes, the
// committed settings and the report's records; nothing changes and the result is 0.
// rng serves the ad-hoc random outputs only; replays pass a generator of their own so that looking
// at a table never changes a run. When `out` is given it receives every value of the encounter.
std::uint8_t JugarPartida(const World& w, GenerationReport& r, int jug1, int jug2, int prev1,
                          int prev2, int copia, Rng& rng, EncounterValues* out = nullptr);

// A replay of an encounter of the generation the report holds (copia 0), into `out`.
void replayEncounter(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                     int prev2, Rng& rng, EncounterValues& out);

// Player 1's move as player 2 weighed it under successive moves, before the encounter committed
// it: the preview record, from a replay of player 1's decision. A replay cannot draw player 1's
// ad-hoc random output again; `replayable` is false when the encounter had one.
struct SeenPreview {
    SlotRecord record;
    bool replayable = true;
};
SeenPreview replayPreview(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                          int prev2, Rng& rng);

// What the live encounters of one generation read of the genomes and settings, worked out before
// the rounds (no encounter changes a genome or a setting) and kept for the next generation.
// The cards also say where the encounters write: the generation's report and, when the searches
// read one, its record index.
struct GenerationCards {
    EncounterSettings settings;                      // the live settings (copia 1)
    EncounterGame game;                              // the live game the pay-offs read
    std::vector<std::array<DecisionCard, 2>> cells;  // [cell][half] of the live genomes
    GenerationReport* report = nullptr;
    // Re-made by the cycle before the rounds; only the rounds' encounters write records, so it
    // holds every cell's records throughout them. Null: the searches scan the records, or nothing
    // reads them.
    RecordIndex* index = nullptr;
    // Whether any playing cell has a genome half whose output can depend on the records. When
    // none has, no record is searched or indexed this generation: genomes change only after the
    // rounds, and the cards are refreshed before every generation's rounds.
    bool anyReadsHistory = true;
    // The values of the encounter in play, kept here so that each encounter overwrites them
    // instead of clearing a fresh set.
    EncounterValues inPlay;
    // [cell][half]: the output of a half that does not read the records (a flat curve gives it
    // for every input); the encounters of a generation without ad-hoc settings in which no half
    // reads the records take it instead of evaluating the curve.
    std::vector<std::array<float, 2>> constantOutputs;
    // [cell]: whether either half of the cell's live genome can read the records.
    std::vector<std::uint8_t> readsHistory;
    // Whether the generation is plain: no successive moves, no ad-hoc setting, and a plain game
    // (EncounterGame::plain); its unobserved indexed encounters then take those as constants.
    bool plain = false;
    // [cell]: 1 for a blank or dead square, which never plays.
    std::vector<std::uint8_t> square;
    // [cell]: in a generation in which no half reads the records, the cells whose two constant
    // outputs have the same bits share a class (ClassTable); none are sorted (outputClasses 0) when
    // some half reads them or more than kMaxOutputClasses are needed.
    static constexpr int kMaxOutputClasses = 16;
    std::vector<std::uint8_t> outputClass;
    int outputClasses = 0;
    // The genomes and the sensibility mask the cards were made from: a card depends on nothing
    // else, so the next generation makes anew only the cards of genomes that changed.
    std::vector<Genoma> sources;
    std::uint8_t sourceSenMask = 0;
};
// The cards of the live genomes. Without `shortcuts` every half counts as reading the records, and
// the encounters take the general path throughout (the reference the shortcuts are checked
// against). The cards keep `ix` only when some playing half reads the records.
GenerationCards prepareCards(const World& w, GenerationReport& r, RecordIndex* ix,
                             bool shortcuts = true);
// The same cards made into `cards`, keeping the card of every genome unchanged since they were
// last made.
void refreshCards(GenerationCards& cards, const World& w, GenerationReport& r, RecordIndex* ix,
                  bool shortcuts = true);

// A live encounter (copia 1) of the generation the cards were prepared for, with the same results
// as JugarPartida(w, *cards.report, jug1, jug2, prev1, prev2, 1, rng): on the cards' record index
// when it holds both players' records, and writing the results-table row only when the selected
// cell plays.
std::uint8_t JugarPartida(const World& w, GenerationCards& cards, int jug1, int jug2, int prev1,
                          int prev2, Rng& rng);

// Asks memory for the record memories the live encounters of a round will read and write, a pair
// ahead, so that they arrive while the pair before plays: the lines that lie furthest away. The
// cards and the record lists are read in the cells' order, a few lines a cell, and the processor's
// own prefetching finds them; asking for them too cost more instructions than it saved. Made for
// one round: the arrays it reads do not change size while a round is played. Changes nothing.
class Prefetcher {
  public:
    explicit Prefetcher(const GenerationCards& cards) : ix_(cards.index) {}

    // The memories of cells a and b, either of which may be kNoPartner. Written out in place: GCC
    // takes a function that only prefetches for one without effects and drops its calls.
    [[gnu::always_inline]] void operator()(int a, int b) const {
        if (ix_ == nullptr) return;
        request(a);
        request(b);
    }

  private:
    [[gnu::always_inline]] static void line(const void* p) {
#if defined(__GNUC__)
        __builtin_prefetch(p);
#else
        static_cast<void>(p);
#endif
    }

    // Every line of a memory: its rings and its counts.
    [[gnu::always_inline]] static void memory(const RecordMemory* m) {
        static_assert(sizeof(*m) % 64 == 0);
        for (std::size_t i = 0; i < sizeof(*m); i += 64) line(reinterpret_cast<const char*>(m) + i);
    }

    [[gnu::always_inline]] void request(int c) const {
        if (c < 1) return;
        const RecordIndex& ix = *ix_;
        const RecordIndex::Header& head = ix.headers[c];
        memory(ix.anyPartner.data() + c);
        // The partner met next: the one after the last met, or, past the last one, a partner met
        // for the first time or the first one again (for a cell that met nobody yet, both are
        // the first memory).
        const std::size_t k = static_cast<std::size_t>(head.nextPartner);
        const RecordMemory* memories = ix.withPartner.data();
        if (k < ix.block) memory(memories + ix.blockAt(c, head.nextPartner));
        if (k == static_cast<std::size_t>(head.partnersMet)) memory(memories + ix.blockAt(c, 0));
    }

    const RecordIndex* ix_;
};

// The results-table row of an encounter seen from one of its two players.
ResultRow resultRow(const EncounterValues& v, int cell);

}  // namespace morvane
