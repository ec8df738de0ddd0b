#include "encounter/record_index.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/rng.h"
#include "core/generation.h"
#include "core/startup.h"
#include "encounter/encounter.h"
#include "encounter/history.h"
#include "encounter/indexed_search.h"
#include "encounter/results_table.h"
#include "support/world_digest.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::randomBelow;
using testing::searchWordFor;
using testing::shuffleSearchWords;

// Random worlds played twice from one seed, once with the record index and once reading the
// records one by one: every search must come out the same, and so must whole generations.
struct RandomCase {
    int cols, rows, type, iterations;
    bool successiveMoves, ciEsExito;
};

testing::WorldRun randomWorld(const RandomCase& c, std::uint64_t seed, bool index) {
    Rng rng(seed);
    World w;
    makeBusyWorld(w, rng, c.cols, c.rows, c.type, c.iterations);
    w.options.mnuOpcion[4] = c.successiveMoves;
    recomputeOpciones(w);
    w.options.CiEsExitoMenu = c.ciEsExito ? 1 : 0;
    shuffleSearchWords(w, rng);
    PrepararPaso(w);
    testing::WorldRun p(std::move(w));
    p.s.useIndex = index;
    return p;
}

// What the index holds of a cell's records, with the memory of `partner` and a preview on top.
CellMemories memoriesOf(const RecordIndex& ix, int cell, int partner,
                        const SlotRecord* preview = nullptr) {
    return {&ix.anyPartner[cell], partnerPlace(ix, cell, partner).memory,
            ix.headers[cell].newestPartner, preview};
}

// Counts of the look-ups compared.
struct LookUpCounts {
    long searches = 0, triggers = 0;
};

// Every search by `a` of cell c's records and every trigger look-up on them, as the index answers
// them and as the record-by-record scan does: the words of every type, depth (0 included) and
// history type, both roles, with and without a preview of the move c is about to make on top.
void compareLookUps(const GenerationReport& rep, const RecordIndex& ix, int c, int a, Rng& sample,
                    LookUpCounts& counts) {
    const int n = rep.jugadas(c, 0);
    ASSERT_EQ(ix.headers[c].indexed, n) << "cell " << c;
    const RecordList plain = recordList(rep, c);
    RecordList withPreview = plain;
    withPreview.previewSlot = n + 1;
    withPreview.preview = {moveRecord::make(randomBelow(sample, 4) == 0 ? c : a, 0, 1,
                                            randomBelow(sample, 2) == 1, randomBelow(sample, 2)),
                           static_cast<std::uint8_t>(randomBelow(sample, 101)),
                           static_cast<std::uint8_t>(randomBelow(sample, 101))};
    for (int searchType : {0, 8, 16}) {
        for (int historyType : {0, 1, 2, 3}) {
            const int depth = randomBelow(sample, 16);
            const std::int16_t word = searchWordFor(searchType, depth, historyType);
            for (int role = 0; role < 2; ++role) {
                counts.searches += 2;
                const int indexed = indexedWord(memoriesOf(ix, c, a), a, role, word);
                const auto scanned = searchRecords(plain, a, n, role, word);
                EXPECT_EQ(indexed, scanned ? *scanned : -1)
                    << "search of cell " << c << " by " << a << ", role " << role << ", word "
                    << word;
                const int previewIndexed =
                    indexedWord(memoriesOf(ix, c, a, &withPreview.preview), a, role, word);
                const auto previewScanned = searchRecords(withPreview, a, n + 1, role, word);
                EXPECT_EQ(previewIndexed, previewScanned ? *previewScanned : -1)
                    << "search with a preview of cell " << c << " by " << a << ", role " << role
                    << ", word " << word;
            }
        }
    }
    for (int whom = 0; whom < 2; ++whom) {
        for (int when = 0; when < 4; ++when) {
            const std::int16_t trigger = packed::withCuando(packed::withAquien(0, whom), when);
            for (int role = 0; role < 2; ++role) {
                ++counts.triggers;
                EXPECT_EQ(n > 0 ? indexedFired(memoriesOf(ix, c, a), a, role, trigger) : 0,
                          firedInRecords(plain, a, n, role, trigger))
                    << "trigger " << trigger << " of cell " << c << " with partner " << a;
            }
        }
    }
}

// The look-ups of every cell after a generation: by each partner it met and by a stranger.
void compareAllLookUps(const World& w, const GenerationReport& rep, const RecordIndex& ix,
                       Rng& sample, LookUpCounts& counts) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        std::vector<int> searchers = {1 + randomBelow(sample, w.NumJugadores)};
        for (int slot = 1; slot <= rep.jugadas(c, 0); ++slot)
            searchers.push_back(moveRecord::partner(rep.jugadas(c, slot)));
        for (int a : searchers) compareLookUps(rep, ix, c, a, sample, counts);
    }
}

bool sameRows(const CellResults& a, const CellResults& b) {
    if (a.rows.size() != b.rows.size()) return false;
    const auto sideValues = [](const EncounterSide& x, const EncounterSide& y) {
        return x.half == y.half && x.fired == y.fired &&
               std::bit_cast<std::uint32_t>(x.Ci) == std::bit_cast<std::uint32_t>(y.Ci) &&
               std::bit_cast<std::uint32_t>(x.Ei) == std::bit_cast<std::uint32_t>(y.Ei) &&
               std::bit_cast<std::uint32_t>(x.f) == std::bit_cast<std::uint32_t>(y.f) &&
               std::bit_cast<std::uint32_t>(x.disp) == std::bit_cast<std::uint32_t>(y.disp);
    };
    for (std::size_t k = 0; k < a.rows.size(); ++k) {
        const ResultRow &x = a.rows[k], &y = b.rows[k];
        if (x.slot != y.slot || !sideValues(x.own, y.own) || !sideValues(x.rival, y.rival))
            return false;
    }
    return true;
}

const RandomCase kCases[] = {
    // cols, rows, type, iterations, successive moves, CiEsExito
    {1, 1, 12, 2, false, false}, {2, 1, 12, 3, true, false}, {2, 2, 2, 4, false, true},
    {3, 2, 13, 3, true, true},   {1, 5, 7, 2, true, false},  {5, 5, 0, 4, false, false},
    {6, 4, 1, 6, true, false},   {7, 5, 2, 3, false, true},  {6, 6, 3, 5, true, true},
    {8, 5, 4, 4, false, false},  {5, 7, 5, 3, true, false},  {9, 6, 6, 4, false, true},
    {7, 7, 7, 2, true, true},    {8, 6, 8, 3, false, false}, {6, 9, 9, 2, true, false},
    {10, 8, 10, 4, false, true}, {9, 9, 11, 5, true, true},  {12, 9, 12, 3, true, false},
    {8, 8, 13, 2, false, true},  {11, 7, 14, 3, true, true},
};

// The index's averages are taken without a division; the scan rounds the quotient of floats.
// Every sum a search can hold, with every count it can hold.
TEST(RecordIndex, AveragesRoundAsTheScansQuotientOfFloatsDoes) {
    int mismatches = 0;
    for (int count = 1; count <= 256; ++count) {
        for (int sum = 0; sum <= 65535; ++sum) {
            const int expected = static_cast<int>(std::nearbyint(static_cast<double>(sum) / count));
            mismatches += indexed::roundedAverage(sum, count) != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(RecordIndex, EverySearchAndTriggerLookUpMatchesTheRecordByRecordScan) {
    std::uint64_t seed = 101;
    LookUpCounts counts;
    for (const RandomCase& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << c.cols << "x" << c.rows << " type " << c.type << " sucesivas "
                     << c.successiveMoves << " CiEsExito " << c.ciEsExito);
        testing::WorldRun p = randomWorld(c, ++seed, true);
        Rng rng(seed), sample(seed * 7);
        for (int g = 0; g < 3; ++g) {
            UnaGeneracion(p.w, p.r, p.s, rng);
            compareAllLookUps(p.w, p.r, p.s.index, sample, counts);
        }
    }
    EXPECT_GT(counts.searches, 100000);
    EXPECT_GT(counts.triggers, 20000);
}

TEST(RecordIndex, GenerationsAndReplaysAreTheSameWithAndWithoutTheIndex) {
    std::uint64_t seed = 900;
    for (const RandomCase& c : kCases) {
        SCOPED_TRACE(::testing::Message() << c.cols << "x" << c.rows << " type " << c.type);
        ++seed;
        testing::WorldRun indexed = randomWorld(c, seed, true), plain = randomWorld(c, seed, false);
        Rng rngIndexed(seed), rngPlain(seed);
        for (int g = 1; g <= 6; ++g) {
            UnaGeneracion(indexed.w, indexed.r, indexed.s, rngIndexed);
            UnaGeneracion(plain.w, plain.r, plain.s, rngPlain);
            ASSERT_EQ(testing::worldDigest(indexed.w, indexed.r, indexed.s.MuertoHoy),
                      testing::worldDigest(plain.w, plain.r, plain.s.MuertoHoy))
                << "generation " << g;
        }
        for (int cell = 1; cell <= indexed.w.NumJugadores; cell += 3) {
            Rng r1(cell), r2(cell);
            EXPECT_TRUE(sameRows(MostrarPartidas(indexed.w, indexed.r, cell, r1),
                                 MostrarPartidas(plain.w, plain.r, cell, r2)))
                << "replays of cell " << cell;
        }
    }
}

// Records written by other hands than the rounds leave a cell behind the index: its encounters then
// read the records one by one, with the results they would have had all along.
TEST(RecordIndex, IsNotReadForRecordsWrittenByHand) {
    Rng rng(5);
    World w;
    makeBusyWorld(w, rng, 3, 3, 12, 2);
    shuffleSearchWords(w, rng);
    PrepararPaso(w);
    GenerationReport indexedRep, plainRep;
    clearReport(w, indexedRep);
    RecordIndex index;
    resetRecordIndex(w, indexedRep, index);
    const std::array<int, 4> partners = {2, 3, 2, 4};
    for (int i = 1; i <= 4; ++i) {
        indexedRep.jugadas(1, i) = moveRecord::make(partners[i - 1], i % 2, 1, i == 3, 0);
        indexedRep.movA(1, i) = static_cast<std::uint8_t>(10 * i);
        indexedRep.movB(1, i) = static_cast<std::uint8_t>(5 * i);
    }
    indexedRep.jugadas(1, 0) = 4;
    plainRep = indexedRep;
    GenerationCards indexed = prepareCards(w, indexedRep, &index);
    GenerationCards plain = prepareCards(w, plainRep, nullptr);
    // Cell 1 and its partners scan; cells 5 and 6 go on through the index.
    const std::array<std::array<int, 2>, 8> pairs = {
        {{1, 2}, {5, 6}, {3, 1}, {6, 5}, {1, 4}, {5, 6}, {2, 1}, {6, 5}}};
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const auto [a, b] = pairs[k];
        Rng r1(k), r2(k);
        EXPECT_EQ(
            JugarPartida(w, indexed, a, b, indexedRep.jugadas(a, 0), indexedRep.jugadas(b, 0), r1),
            JugarPartida(w, plain, a, b, plainRep.jugadas(a, 0), plainRep.jugadas(b, 0), r2));
    }
    EXPECT_EQ(indexedRep.Jugadas, plainRep.Jugadas);
    EXPECT_EQ(indexedRep.MovA, plainRep.MovA);
    EXPECT_EQ(indexedRep.MovB, plainRep.MovB);
    EXPECT_EQ(indexedRep.PagoTotal, plainRep.PagoTotal);
    EXPECT_EQ(index.headers[1].indexed, 0);
    EXPECT_EQ(index.headers[5].indexed, 4);
}

// A caller may pair a cell with more partners than its neighbourhood gives it (here 4): their
// memories go past the cell's block and are found all the same.
TEST(RecordIndex, FindsPartnersBeyondTheNeighbourhood) {
    Rng rng(11), sample(12);
    World w;
    makeBusyWorld(w, rng, 4, 4, 0, 10);
    shuffleSearchWords(w, rng);
    PrepararPaso(w);
    GenerationReport rep;
    clearReport(w, rep);
    RecordIndex index;
    resetRecordIndex(w, rep, index);
    ASSERT_EQ(index.block, 4u);
    GenerationCards cards = prepareCards(w, rep, &index);
    LookUpCounts counts;
    for (int i = 0; i < 36 && rep.jugadas(1, 0) < w.MovPosibles; ++i) {
        const int p = 2 + randomBelow(sample, 9);
        if (rep.jugadas(p, 0) >= w.MovPosibles) continue;
        JugarPartida(w, cards, 1, p, rep.jugadas(1, 0), rep.jugadas(p, 0), rng);
        ASSERT_EQ(index.headers[1].indexed, rep.jugadas(1, 0));
        for (int partner = 2; partner <= 10; ++partner)
            compareLookUps(rep, index, 1, partner, sample, counts);
    }
    EXPECT_GT(index.withPartner.size(), 17u * 4u);  // some memories past the blocks
}

}  // namespace
}  // namespace morvane
