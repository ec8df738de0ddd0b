#include "strategy/distribution.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {
namespace {

TEST(Distribution, EqualDistributionSharesAmongTheActiveRows) {
    struct Row {
        std::vector<int> activeRows;
        int portion;
        double total;
        bool fill;
    };
    const Row rows[] = {
        {{0, 3, 5, 19}, 250, 100.0, true},
        {{0, 3, 5}, 333, 99.9, false},
        {{0, 1, 2, 3, 4, 5}, 167, 100.2, false},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 62, 99.2, false},  // 62.5: even
        {{7}, 1000, 100.0, true},
        {{}, 0, 0.0, false},  // no active row: nothing to share, nothing changes
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.activeRows.size());
        StrategyList list{};
        list[18].Reparto = 300;  // row 17, inactive: keeps its portion and counts for nothing
        for (int row : r.activeRows) list[slotOfRow(row)].Reparto = reparto::withActive(40, true);
        EXPECT_EQ(equalDistribution(list), !r.activeRows.empty());
        for (int row : r.activeRows) EXPECT_EQ(list[slotOfRow(row)].Reparto, r.portion + 1024);
        EXPECT_EQ(list[18].Reparto, 300);
        EXPECT_NEAR(distributionTotal(list), r.total, 1e-9);
        EXPECT_EQ(canFillWorld(list), r.fill);
    }
}

TEST(Distribution, PortionNeverSpillsIntoTheActiveBit) {
    EXPECT_EQ(reparto::withPortion(0, 1500), 1000);
    EXPECT_EQ(reparto::withPortion(1024 + 200, 1023), 1024 + 1000);
    EXPECT_EQ(reparto::withPortion(1024 + 200, -3), 1024);
    EXPECT_EQ(reparto::withActive(333, true), 1357);
    EXPECT_EQ(reparto::withActive(1357, false), 333);

    struct Row {
        double percent;
        int portion;
    };
    const Row rows[] = {{20, 200}, {2.25, 22}, {2.35, 24}, {150, 1000}, {-4, 0}, {100, 1000}};
    for (const Row& r : rows) EXPECT_EQ(portionFromPercent(r.percent), r.portion) << r.percent;

    // A word from a file with a portion of 1023 opens at the scroll's end and is rewritten so.
    StrategyList list{};
    list[1].Reparto = 1024 + 1023;
    DistributionRows rows0 = distributionRows(list);
    EXPECT_EQ(rows0[0].portion, 1000);
    EXPECT_EQ(recomputeDistribution(list, rows0), 100.0);
    EXPECT_EQ(list[1].Reparto, 1024 + 1000);
}

TEST(Distribution, RecomputationRebuildsEveryWord) {
    // The start-up list shares the world in fifths among rows 1, 2, 3, 4 and 6 (the distribution
    // window's test shows them).
    StrategyList list = initialStrategyList();
    EXPECT_TRUE(canFillWorld(list));
    DistributionRows rows = distributionRows(list);
    rows[5] = {300, true};   // "Tit For Tat" joins with 30 %
    rows[1].active = false;  // "Cuadro muerto" leaves, keeping its 20 %
    EXPECT_DOUBLE_EQ(recomputeDistribution(list, rows), 110.0);
    EXPECT_EQ(list[6].Reparto, 1024 + 300);
    EXPECT_EQ(list[2].Reparto, 200);
    EXPECT_FALSE(canFillWorld(list));
}

}  // namespace
}  // namespace morvane
