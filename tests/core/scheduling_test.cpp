#include "core/scheduling.h"

#include <gtest/gtest.h>

#include <set>

#include "support/worlds.h"

namespace morvane {
namespace {

using testing::genomeFrom;
using testing::place;
using testing::worldOf;
using testing::WorldRun;

bool namesPartner(const GenerationReport& r, int cell, int partner) {
    for (int k = 1; k <= r.jugadas(cell, 0); ++k)
        if (moveRecord::partner(r.jugadas(cell, k)) == partner) return true;
    return false;
}

TEST(Scheduling, DeadAndBlankSquaresSitOut) {
    WorldRun run(worldOf(4, 4, 0));
    place(run.w, 6, deadSquareGenome());
    place(run.w, 16, testing::blankGenome());
    Rng rng(5);
    run.generation(rng);
    // Of the 16 x 4 pairs, the dead and the blank square take part in 8 each, none shared.
    int records = 0;
    for (int c = 1; c <= 16; ++c) {
        SCOPED_TRACE(c);
        records += run.r.jugadas(c, 0);
        EXPECT_FALSE(namesPartner(run.r, c, 6));
        EXPECT_FALSE(namesPartner(run.r, c, 16));
    }
    EXPECT_EQ(run.r.jugadas(6, 0), 0);
    EXPECT_EQ(run.r.jugadas(16, 0), 0);
    EXPECT_EQ(records, 2 * (64 - 16));
}

TEST(Scheduling, ACellBelowTheThresholdTodayMissesItsLaterPairs) {
    // Cooperators around one defector (cell 6) in the prisoner's dilemma: whoever meets it gets 0,
    // below the survive-today threshold, and plays no more this generation.
    World w = worldOf(4, 4, 0);
    SelectGame(w.payoffs, 0);
    for (int c = 1; c <= 16; ++c) place(w, c, genomeFrom(testing::constantPart(c == 6 ? 0 : 100)));
    w.UmbralHoy = 1;
    PrepararPaso(w);
    WorldRun run(w);
    Rng rng(9);
    run.generation(rng);
    int out = 0, cutShort = 0;
    for (int c = 1; c <= 16; ++c) {
        SCOPED_TRACE(c);
        const int n = run.r.jugadas(c, 0);
        EXPECT_EQ(run.s.MuertoHoy[c] != 0, c != 6 && namesPartner(run.r, c, 6));
        if (run.s.MuertoHoy[c] == 0) continue;
        ++out, cutShort += n < 8;
        EXPECT_EQ(moveRecord::partner(run.r.jugadas(c, n)), 6);  // the last pair it played
    }
    EXPECT_EQ(out, 8);
    EXPECT_GT(cutShort, 0);
}

TEST(Scheduling, NeverPlaysMoreMovesThanTheRecordsHold) {
    // A type and a partner count that disagree (as an edited file may leave them): the records
    // hold 4 moves while the code walks 12 positions.
    World w = worldOf(5, 5, 2);
    w.neighbourhood.Repes = 4;
    PrepararPaso(w);
    ASSERT_EQ(w.MovPosibles, 4);
    WorldRun run(w);
    Rng rng(1);
    run.generation(rng);
    for (int c = 1; c <= w.NumJugadores; ++c) EXPECT_LE(run.r.jugadas(c, 0), 4);
}

TEST(RandomPartners, EveryCellChoosesOnceAndIsChosenOnceNeverItself) {
    struct Row {
        int cols, rows;
        std::uint8_t code;  // 26: bit 8, only the even positions are drawn; 18: all twelve
        int drawn;
    };
    for (const Row r : {Row{5, 3, 26, 6}, Row{2, 1, 18, 12}, Row{1, 1, 18, 12}}) {
        for (std::uint64_t seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE(::testing::Message() << r.cols << " x " << r.rows << ", seed " << seed);
            World w = worldOf(r.cols, r.rows, r.code);
            const World fixed = w;
            Rng rng(seed);
            EmparejarAzar(w, rng);
            const int n = w.NumJugadores;
            for (int k = 0; k < 12; ++k) {
                const bool drawn = r.drawn == 12 || k % 2 == 0;
                std::set<int> chosen;
                for (int i = 1; i <= n; ++i) {
                    const int j = w.vecino(i, k);
                    if (!drawn) {
                        EXPECT_EQ(j, fixed.vecino(i, k));
                        continue;
                    }
                    if (n == 1) {  // nobody to meet, at either end of the position
                        EXPECT_EQ(j, kNoPartner);
                        EXPECT_EQ(w.vecino(i, k + 12), kNoPartner);
                        continue;
                    }
                    EXPECT_NE(j, i);
                    chosen.insert(j);
                    EXPECT_EQ(w.vecino(j, k + 12), i);
                }
                if (drawn && n > 1) {
                    EXPECT_EQ(chosen.size(), static_cast<std::size_t>(n));
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvane
