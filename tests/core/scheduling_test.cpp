#include "core/scheduling.h"

#include <gtest/gtest.h>

#include <set>

#include "generation_fixture.h"

namespace morvane {
namespace {

using testing::Call;
using testing::iterate;
using testing::Recorder;
using testing::worldOf;
using testing::WorldRun;

// The pairs a run must play, in order, with the roles a twin generator gives them.
std::vector<Call> expectedPairs(const World& w, Rng twin, const std::vector<int>& positions) {
    std::vector<int> count(w.NumJugadores + 1, 0);
    std::vector<Call> out;
    for (int k : positions) {
        for (int i = 1; i <= w.NumJugadores; ++i) {
            const int j = w.vecino(i, k);
            if (twin.uniform() <= 0.5f)
                out.push_back({j, i, count[j], count[i]});
            else
                out.push_back({i, j, count[i], count[j]});
            ++count[i], ++count[j];
        }
    }
    return out;
}

TEST(Scheduling, WalksPositionsOutsideCellsInsideAndDrawsEveryRole) {
    struct Row {
        const char* name;
        std::uint8_t code;
        std::vector<int> positions;
    };
    const std::vector<Row> rows = {
        {"von_neumann", 1, {0, 2}},
        {"moore", 0, {0, 1, 2, 3}},
        {"outer_eight", 7, {4, 6, 8, 10}},
        {"twentyfour", 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"code_4_walks_nothing", 4, {}},
        {"code_5_walks_nothing", 5, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WorldRun run(worldOf(5, 6, row.code));
        World& w = run.w;
        Rng rng(42);
        const auto expected = expectedPairs(w, rng, row.positions);
        Recorder rec;
        iterate(run, rng, rec);
        EXPECT_EQ(rec.calls, expected);
        EXPECT_EQ(testing::drawsSince(Rng(42), rng), static_cast<int>(expected.size()));
        // Each cell meets the neighbour at each walked position and is met at the opposite one.
        for (int c = 1; c <= w.NumJugadores; ++c)
            EXPECT_EQ(run.r.jugadas(c, 0), 2 * static_cast<int>(row.positions.size()));
    }
}

TEST(Scheduling, DeadAndBlankSquaresSitOutAndCostNoDraw) {
    WorldRun run(worldOf(4, 4, 0));
    World& w = run.w;
    testing::setGenome(w, 6, testing::deadGenome());
    testing::setGenome(w, 16, testing::blankGenome());
    Rng rng(5);
    const Rng twin = rng;
    Recorder rec;
    iterate(run, rng, rec);
    for (const auto& c : rec.calls) {
        EXPECT_NE(c.jug1, 6);
        EXPECT_NE(c.jug2, 6);
        EXPECT_NE(c.jug1, 16);
        EXPECT_NE(c.jug2, 16);
    }
    EXPECT_EQ(run.r.jugadas(6, 0), 0);
    EXPECT_EQ(run.r.jugadas(16, 0), 0);
    // Of the 16 x 4 pairs, the dead and the blank square take part in 8 each, none shared.
    EXPECT_EQ(rec.calls.size(), 64u - 16u);
    EXPECT_EQ(testing::drawsSince(twin, rng), static_cast<int>(rec.calls.size()));
}

TEST(Scheduling, ACellBelowTheThresholdTodayMissesItsLaterPairs) {
    WorldRun run(worldOf(4, 4, 0));
    Rng rng(9);
    Recorder rec;
    // Whoever plays role 1 in the first encounter falls below the survive-today threshold.
    int victim = 0;
    rec.result = [&](const Call& c) -> std::uint8_t {
        if (victim != 0) return 0;
        victim = c.jug1;
        return 1;
    };
    iterate(run, rng, rec);
    ASSERT_NE(victim, 0);
    EXPECT_EQ(run.s.MuertoHoy[victim], 1);
    EXPECT_EQ(run.r.jugadas(victim, 0), 1);
    int appearances = 0;
    for (const auto& c : rec.calls) appearances += (c.jug1 == victim) + (c.jug2 == victim);
    EXPECT_EQ(appearances, 1);
}

TEST(Scheduling, NeverPlaysMoreMovesThanTheRecordsHold) {
    // A type and a partner count that disagree (as an edited file may leave them): the records
    // hold 4 moves while the code walks 12 positions.
    WorldRun run(worldOf(5, 5, 2));
    World& w = run.w;
    w.neighbourhood.Repes = 4;
    PrepararPaso(w);
    clearReport(w, run.r);
    ASSERT_EQ(w.MovPosibles, 4);
    Rng rng(1);
    Recorder rec;
    iterate(run, rng, rec);
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
            WorldRun run(worldOf(r.cols, r.rows, r.code));
            World& w = run.w;
            const World fixed = w;
            Rng rng(seed);
            const Rng twin = rng;
            EmparejarAzar(w, rng);
            const int n = w.NumJugadores;
            EXPECT_EQ(testing::drawsSince(twin, rng), r.drawn * n);  // a lone cell draws too
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
            Recorder rec;
            iterate(run, rng, rec);
            EXPECT_TRUE(n > 1 || rec.calls.empty());
        }
    }
}

}  // namespace
}  // namespace morvane
