#include "encounter/record_index.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "base/rng.h"
#include "core/generation.h"
#include "core/startup.h"
#include "encounter/encounter.h"
#include "encounter/history.h"
#include "encounter/results_table.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

// Random worlds played twice from one seed, once with the record index and once reading the
// records one by one: every search must come out the same, and so must whole generations.
struct RandomCase {
    int cols, rows, type, iterations;
    bool successiveMoves, ciEsExito;
};

std::int16_t searchWordFor(int searchType, int depth, int historyType) {
    return static_cast<std::int16_t>(searchType + 64 * depth + 1024 * historyType);
}

int randomBelow(Rng& rng, int n) {
    return static_cast<int>(rng.uniform() * static_cast<float>(n));
}

// Every ordinary cell gets search words and triggers drawn over all types, depths (0 included),
// history types, whom and when fields, so that every kind of look-up happens during play.
void shuffleSearchWords(World& w, Rng& rng) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        if (!isMutable(w.genoma(kActual, c))) continue;
        for (GenomePart& p : w.genoma(kActual, c).parte) {
            const int searchType = 8 * randomBelow(rng, 3);
            p.Busqueda = static_cast<std::int16_t>(
                (p.Busqueda & 7) |
                searchWordFor(searchType, randomBelow(rng, 16), randomBelow(rng, 3)));
            p.Trigger = packed::withAquien(p.Trigger, randomBelow(rng, 2));
            p.Trigger = packed::withCuando(p.Trigger, randomBelow(rng, 3));
            p.TriggerMin = static_cast<std::uint8_t>(randomBelow(rng, 101));
            p.TriggerMax = static_cast<std::uint8_t>(randomBelow(rng, 101));
        }
    }
}

// A world with the report and scratch its generations work with.
struct RandomRun {
    World w;
    GenerationReport rep;
    GenerationScratch s;
};

RandomRun randomWorld(const RandomCase& c, std::uint64_t seed, bool index) {
    Rng rng(seed);
    RandomRun p;
    World& w = p.w;
    makeBusyWorld(w, rng, c.cols, c.rows, c.type, c.iterations);
    w.options.mnuOpcion[4] = c.successiveMoves;
    recomputeOpciones(w);
    w.options.CiEsExitoMenu = c.ciEsExito ? 1 : 0;
    shuffleSearchWords(w, rng);
    p.s.useIndex = index;
    PrepararPaso(w);
    clearReport(w, p.rep);
    return p;
}

// Counts of the look-ups compared, and of those the index answered.
struct LookUpCounts {
    long searches = 0, indexed = 0, triggers = 0;
};

void compareSearch(const RecordList& l, int a, int n, int role, std::int16_t word,
                   LookUpCounts& counts) {
    const auto indexed = searchRecords(l, a, n, role, word);
    const auto plain = searchRecordsOneByOne(l, a, n, role, word);
    ++counts.searches;
    if (l.index.available()) ++counts.indexed;
    if (indexed == plain) return;
    ADD_FAILURE() << "search by " << a << " of " << n << " records, role " << role << ", word "
                  << word << ": indexed " << indexed.value_or(0xFFFF) << ", plain "
                  << plain.value_or(0xFFFF);
}

void compareTriggers(const RecordList& l, int partner, int n, LookUpCounts& counts) {
    for (int whom = 0; whom < 2; ++whom) {
        for (int when = 0; when < 4; ++when) {
            const std::int16_t trigger = packed::withCuando(packed::withAquien(0, whom), when);
            for (int role = 0; role < 2; ++role) {
                ++counts.triggers;
                EXPECT_EQ(firedInRecords(l, partner, n, role, trigger),
                          firedInRecordsOneByOne(l, partner, n, role, trigger))
                    << "trigger " << trigger << " with partner " << partner << ", n " << n;
            }
        }
    }
}

// The look-ups of an encounter about to be played, and a sample of all the others it could make:
// both players' words, random words, a searcher that never met the rival, and player 1's list
// with a preview record as player 2 reads it under successive moves.
void compareEncounter(const World& w, const GenerationReport& rep, const RecordIndex* ix, int j1,
                      int j2, int p1, int p2, Rng& sample, LookUpCounts& counts) {
    const RecordList l1 = recordList(w, rep, ix, j1), l2 = recordList(w, rep, ix, j2);
    RecordList preview = l1;
    preview.previewSlot = p1 + 1;
    preview.preview.jugada = moveRecord::make(randomBelow(sample, 4) == 0 ? j1 : j2, 0, p2 + 1,
                                              randomBelow(sample, 2) == 1, randomBelow(sample, 2));
    preview.preview.movA = static_cast<std::uint8_t>(randomBelow(sample, 101));
    preview.preview.movB = static_cast<std::uint8_t>(randomBelow(sample, 101));
    const int stranger = 1 + randomBelow(sample, w.NumJugadores);

    std::vector<std::int16_t> words;
    for (int c : {j1, j2})
        for (const GenomePart& p : w.genoma(kActual, c).parte) words.push_back(p.Busqueda);
    for (int k = 0; k < 6; ++k)
        words.push_back(searchWordFor(8 * randomBelow(sample, 3), randomBelow(sample, 16),
                                      randomBelow(sample, 4)));
    for (std::int16_t word : words) {
        for (int role = 0; role < 2; ++role) {
            compareSearch(l2, j1, p2, role, word, counts);
            compareSearch(l1, j2, p1, role, word, counts);
            compareSearch(preview, j2, p1 + 1, role, word, counts);
            compareSearch(l2, stranger, p2, role, word, counts);
        }
    }
    compareTriggers(l1, j2, p1, counts);
    compareTriggers(l2, j1, p2, counts);
}

// After a generation, every count a replay can search with, for every cell and its partners,
// with and without a preview standing in for a record.
void compareReplays(const World& w, const GenerationReport& rep, const RecordIndex* ix, Rng& sample,
                    LookUpCounts& counts) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const RecordList l = recordList(w, rep, ix, c);
        for (int n = 0; n <= rep.jugadas(c, 0); ++n) {
            const int partner = n > 0 ? moveRecord::partner(rep.jugadas(c, n)) : c;
            const std::int16_t word = searchWordFor(
                8 * randomBelow(sample, 3), randomBelow(sample, 16), randomBelow(sample, 3));
            compareSearch(l, partner, n, randomBelow(sample, 2), word, counts);
            compareTriggers(l, partner, n, counts);
            if (n == 0) continue;
            // A preview below the newest record is never made; the search still reads it right.
            RecordList preview = l;
            preview.previewSlot = n - randomBelow(sample, 2);
            preview.preview = {rep.jugadas(c, preview.previewSlot) ^ moveRecord::kRoleBit, 50, 50};
            compareSearch(preview, partner, n, randomBelow(sample, 2), word, counts);
        }
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

TEST(RecordIndex, EverySearchAndTriggerLookUpMatchesTheRecordByRecordScan) {
    std::uint64_t seed = 101;
    LookUpCounts counts;
    for (const RandomCase& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << c.cols << "x" << c.rows << " type " << c.type << " sucesivas "
                     << c.successiveMoves << " CiEsExito " << c.ciEsExito);
        RandomRun p = randomWorld(c, ++seed, true);
        RecordIndex* ix = p.s.indexInUse();
        Rng rng(seed), sample(seed * 7);
        for (int g = 0; g < 3; ++g) {
            UnaGeneracion(p.w, p.rep, p.s, rng, [&](int j1, int j2, int p1, int p2) {
                compareEncounter(p.w, p.rep, ix, j1, j2, p1, p2, sample, counts);
                return JugarPartida(p.w, p.rep, ix, j1, j2, p1, p2, kActual, rng);
            });
            compareReplays(p.w, p.rep, ix, sample, counts);
        }
    }
    // The comparisons ran, and the index answered most of them.
    EXPECT_GT(counts.searches, 100000);
    EXPECT_GT(counts.indexed, counts.searches * 9 / 10);
    EXPECT_GT(counts.triggers, 100000);
}

TEST(RecordIndex, GenerationsAndReplaysAreTheSameWithAndWithoutTheIndex) {
    std::uint64_t seed = 900;
    for (const RandomCase& c : kCases) {
        SCOPED_TRACE(::testing::Message() << c.cols << "x" << c.rows << " type " << c.type);
        ++seed;
        RandomRun indexed = randomWorld(c, seed, true), plain = randomWorld(c, seed, false);
        Rng rngIndexed(seed), rngPlain(seed);
        for (int g = 1; g <= 6; ++g) {
            UnaGeneracion(indexed.w, indexed.rep, indexed.s, rngIndexed);
            UnaGeneracion(plain.w, plain.rep, plain.s, rngPlain);
            ASSERT_EQ(testing::worldDigest(indexed.w, indexed.rep, indexed.s.MuertoHoy),
                      testing::worldDigest(plain.w, plain.rep, plain.s.MuertoHoy))
                << "generation " << g;
        }
        for (int cell = 1; cell <= indexed.w.NumJugadores; cell += 3) {
            Rng r1(cell), r2(cell);
            EXPECT_TRUE(sameRows(MostrarPartidas(indexed.w, indexed.rep, cell, r1),
                                 MostrarPartidas(plain.w, plain.rep, cell, r2)))
                << "replays of cell " << cell;
        }
    }
}

// Records written by other hands than the encounter are never read through a stale index: the
// search falls back on the records, and the next encounter rebuilds the cell's index from them.
TEST(RecordIndex, FollowsRecordsWrittenByHand) {
    Rng rng(5);
    World w;
    makeBusyWorld(w, rng, 3, 3, 12, 2);
    PrepararPaso(w);
    GenerationReport rep;
    clearReport(w, rep);
    RecordIndex index;
    const int o = 1;
    const std::array<int, 4> partners = {2, 3, 2, 4};
    for (int i = 1; i <= 4; ++i) {
        rep.jugadas(o, i) = moveRecord::make(partners[i - 1], i % 2, 1, false, 0);
        rep.movA(o, i) = static_cast<std::uint8_t>(10 * i);
        rep.movB(o, i) = static_cast<std::uint8_t>(5 * i);
    }
    rep.jugadas(o, 0) = 4;
    EXPECT_FALSE(cellIndex(w, rep, &index, o).available());
    const std::int16_t word = searchWordFor(0, 15, 2);
    EXPECT_EQ(searchRecords(recordList(w, rep, &index, o), 2, 4, 0, word),
              std::optional<std::uint16_t>(10 * 128 + 20));  // slots 3 and 1: (15+5)/2, (30+10)/2

    JugarPartida(w, rep, &index, o, 2, 4, 0, kActual, rng);
    const CellIndex ix = cellIndex(w, rep, &index, o);
    ASSERT_TRUE(ix.available());
    EXPECT_EQ(ix.indexedCount(), 5);
    const auto recordsIn = [](const RecordMemory* m) { return m->counts[2]; };
    ASSERT_NE(ix.withPartner(2), nullptr);
    EXPECT_EQ(recordsIn(ix.withPartner(2)), 3);
    EXPECT_EQ(sumOfA(roleSum(*ix.withPartner(2), 1)),
              10 + 30);  // slots 1 and 3 were played as player 2
    EXPECT_EQ(sumOfA(roleSum(*ix.withPartner(2), 0)), rep.movA(o, 5));
    EXPECT_EQ(recordsIn(ix.withPartner(4)), 1);
    EXPECT_EQ(ix.withPartner(7), nullptr);
    EXPECT_EQ(recordsIn(ix.anyPartner()), 5);
}

// A caller may pair a cell with more partners than its neighbourhood gives it (here 4): their
// memories go past the cell's block and are found all the same, also after records written by
// hand made the cell's index start afresh.
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
    LookUpCounts counts;
    for (int i = 0; i < 36 && rep.jugadas(1, 0) < w.MovPosibles; ++i) {
        const int p = 2 + randomBelow(sample, 9);
        if (rep.jugadas(p, 0) >= w.MovPosibles) continue;
        if (i == 20) {
            // A record by other hands: the next encounter rebuilds cell 1's index.
            const int slot = rep.jugadas(1, 0) + 1;
            rep.jugadas(1, slot) = moveRecord::make(p, 1, 1, true, 0);
            rep.movA(1, slot) = 77;
            rep.movB(1, slot) = 33;
            rep.jugadas(1, 0) = slot;
        }
        compareEncounter(w, rep, &index, 1, p, rep.jugadas(1, 0), rep.jugadas(p, 0), sample,
                         counts);
        JugarPartida(w, rep, &index, 1, p, rep.jugadas(1, 0), rep.jugadas(p, 0), kActual, rng);
        const RecordList l = recordList(w, rep, &index, 1);
        ASSERT_TRUE(l.index.available());
        for (int partner = 2; partner <= 10; ++partner) {
            for (int depth : {0, 1, 3, 15}) {
                for (int searchType : {0, 8}) {
                    const std::int16_t word =
                        searchWordFor(searchType, depth, randomBelow(sample, 3));
                    compareSearch(l, partner, rep.jugadas(1, 0), randomBelow(sample, 2), word,
                                  counts);
                }
            }
            compareTriggers(l, partner, rep.jugadas(1, 0), counts);
        }
    }
    EXPECT_GT(index.withPartner.size(), 17u * 4u);  // some memories past the blocks
}

}  // namespace
}  // namespace morvane
