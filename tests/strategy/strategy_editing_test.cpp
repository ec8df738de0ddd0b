#include "strategy/strategy_editing.h"

#include <gtest/gtest.h>

#include "strategy/distribution.h"

namespace morvane {
namespace {

struct Points {
    int Y0, X1, Y1, X2, Y2, Y3;
    bool operator==(const Points&) const = default;
};

ListGenomePart withPoints(Points c) {
    ListGenomePart p;
    p.Y0 = c.Y0, p.X1 = c.X1, p.Y1 = c.Y1, p.X2 = c.X2, p.Y2 = c.Y2, p.Y3 = c.Y3;
    return p;
}

Points pointsOf(const ListGenomePart& p) {
    return {p.Y0, p.X1, p.Y1, p.X2, p.Y2, p.Y3};
}

TEST(CurveEditing, ClicksMoveThePointTheyAreNearest) {
    const Points identity{0, 25, 25, 75, 75, 100};
    const Points blank{100, 75, 75, 25, 25, 0};  // "Cuadro en blanco": point 2 left of point 1
    const Points sharedInput{0, 50, 20, 50, 80, 100};
    const struct {
        const char* row;
        Points before;
        int x, y;
        int moved;
        Points after;
    } rows[] = {
        {"point 1", identity, 30, 60, 1, {0, 30, 60, 75, 75, 100}},
        {"point 2", identity, 60, 40, 2, {0, 25, 25, 60, 40, 100}},
        {"point 2 held at 98", identity, 99, 50, 2, {0, 25, 25, 98, 50, 100}},
        {"left of the picture", identity, -3, 80, 0, {80, 25, 25, 75, 75, 100}},
        {"point 1 held at 2", identity, 1, 80, 1, {0, 2, 80, 75, 75, 100}},
        {"right of the picture", identity, 101, 10, 3, {0, 25, 25, 75, 75, 10}},
        {"at the middle: point 2", identity, 50, 10, 2, {0, 25, 25, 50, 10, 100}},
        {"above the picture", identity, 30, 101, kNoPoint, identity},
        {"below the picture", identity, 30, -1, kNoPoint, identity},
        {"point 2 on its own input", identity, 75, 10, 2, {0, 25, 25, 75, 10, 100}},
        {"onto point 1's input", sharedInput, 50, 10, kNoPoint, sharedInput},
        {"reversed: near point 2", blank, 20, 40, 2, {100, 75, 75, 20, 40, 0}},
        {"reversed: near point 1", blank, 80, 40, 1, {100, 80, 40, 25, 25, 0}},
        {"reversed: between, nearer point 1", blank, 60, 40, 1, {100, 60, 40, 25, 25, 0}},
        {"reversed: a tie moves point 1", blank, 50, 40, 1, {100, 50, 40, 25, 25, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        ListGenomePart p = withPoints(row.before);
        EXPECT_EQ(moveCurvePoint(p, row.x, row.y), row.moved);
        EXPECT_EQ(pointsOf(p), row.after);
    }
}

TEST(CurveEditing, NudgesKeepTheMousesClampsAndRefusals) {
    const Points identity{0, 25, 25, 75, 75, 100};
    const Points leftmost{0, 2, 25, 75, 75, 100}, rightmost{0, 25, 25, 98, 75, 100};
    const Points adjacent{0, 25, 25, 26, 75, 100};
    const struct {
        const char* row;
        Points before;
        int point, dx, dy;
        bool changed;
        Points after;
    } rows[] = {
        {"Y0 up", identity, 0, 1, 1, true, {1, 25, 25, 75, 75, 100}},
        {"Y3 held at 100", identity, 3, 0, 1, false, identity},
        {"point 1 right", identity, 1, 1, 0, true, {0, 26, 25, 75, 75, 100}},
        {"point 1 held at 2", leftmost, 1, -1, 0, false, leftmost},
        {"point 2 held at 98", rightmost, 2, 1, 0, false, rightmost},
        {"point 2 onto point 1", adjacent, 2, -1, 0, false, adjacent},
        {"point 2 down", identity, 2, 0, -1, true, {0, 25, 25, 75, 74, 100}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        ListGenomePart p = withPoints(row.before);
        EXPECT_EQ(nudgeCurvePoint(p, row.point, row.dx, row.dy), row.changed);
        EXPECT_EQ(pointsOf(p), row.after);
    }
}

TEST(StoringCheck, BothPartsMustAddUpTo100AsACellHoldsThem) {
    const struct {
        const char* row;
        float p0[3], p1[3];
        int sum0, sum1;
        bool storable;
    } rows[] = {
        {"both 100", {50, 30, 20}, {100, 0, 0}, 100, 100, true},
        {"part 0 wrong", {50, 30, 30}, {100, 0, 0}, 110, 100, false},
        {"part 1 wrong", {50, 30, 20}, {0, 0, 0}, 100, 0, false},
        {"33.5 rounds up twice", {33.5f, 33.5f, 33}, {100, 0, 0}, 101, 100, false},
        {"32.5 rounds down", {32.5f, 33.5f, 34}, {100, 0, 0}, 100, 100, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        ListGenoma g;
        g.parte[0].SenIC = row.p0[0], g.parte[0].SenIA = row.p0[1], g.parte[0].SenIP = row.p0[2];
        g.parte[1].SenIC = row.p1[0], g.parte[1].SenIA = row.p1[1], g.parte[1].SenIP = row.p1[2];
        EXPECT_EQ(cellSensibilitySum(g, 0), row.sum0);
        EXPECT_EQ(cellSensibilitySum(g, 1), row.sum1);
        EXPECT_EQ(sensibilitiesStorable(g), row.storable);
    }
}

TEST(Distribution, NormalizingGivesExactlyAThousandTenthsByLargestRemainders) {
    StrategyList list = initialStrategyList();
    DistributionRows rows{};
    rows[0] = {100, true}, rows[1] = {100, true}, rows[2] = {100, true};  // 1/3 each
    rows[3] = {500, false};
    recomputeDistribution(list, rows);
    ASSERT_TRUE(normalizeDistribution(list));
    // The first of equal remainders takes the tenth left; the inactive row keeps its 500.
    const DistributionRows after = distributionRows(list);
    EXPECT_EQ((std::array{after[0].portion, after[1].portion, after[2].portion, after[3].portion}),
              (std::array{334, 333, 333, 500}));
    EXPECT_TRUE(canFillWorld(list));

    rows = {};
    rows[4] = {0, true};
    recomputeDistribution(list, rows);
    const StrategyList before = list;
    EXPECT_FALSE(normalizeDistribution(list));  // nothing to scale
    EXPECT_EQ(list, before);
}

}  // namespace
}  // namespace morvane
