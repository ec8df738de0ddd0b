#include "strategy/behaviour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/rng.h"

namespace morvane {
namespace {

GenomePart curve(int y0, int x1, int y1, int x2, int y2, int y3, int irregular = 0) {
    GenomePart p;
    p.Y0 = static_cast<std::uint8_t>(y0), p.X1 = static_cast<std::uint8_t>(x1);
    p.Y1 = static_cast<std::uint8_t>(y1), p.X2 = static_cast<std::uint8_t>(x2);
    p.Y2 = static_cast<std::uint8_t>(y2), p.Y3 = static_cast<std::uint8_t>(y3);
    p.Irregular = static_cast<std::uint8_t>(irregular);
    return p;
}

int drawInt(Rng& rng, int n) {
    return static_cast<int>(rng.uniform() * static_cast<float>(n));
}

// A curve with two inner inputs in 1..99, in either order, at least `gap` apart and from the ends.
// Close inputs make the Newton terms large, and 32-bit rounding of those terms grows with them.
GenomePart randomCurve(Rng& rng, int gap = 1) {
    const int span = 101 - 2 * gap;
    const int x1 = gap + drawInt(rng, span);
    int x2 = x1;
    while (std::abs(x2 - x1) < gap) x2 = gap + drawInt(rng, span);
    return curve(drawInt(rng, 101), x1, drawInt(rng, 101), x2, drawInt(rng, 101), drawInt(rng, 101),
                 drawInt(rng, 2));
}

TEST(Behaviour, RawValuesAreClippedOrFoldedOnce) {
    struct Row {
        float raw, bound;
        bool irregular;
        float expected;
    };
    const Row rows[] = {
        {130, 100, false, 100}, {130, 100, true, 70},   {-20, 100, false, 0},
        {-20, 100, true, 20},   {250, 100, true, 0},    {-150, 100, true, 100},
        {250, 100, false, 100}, {-150, 100, false, 0},  {42, 100, true, 42},
        {1.3f, 1, true, 0.7f},  {-0.2f, 1, true, 0.2f}, {1.3f, 1, false, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.raw << " bound " << r.bound << " irr " << r.irregular);
        EXPECT_NEAR(foldIntoRange(r.raw, r.bound, r.irregular), r.expected, 1e-5);
    }
}

TEST(Behaviour, OnlyBitZeroOfIrregularCounts) {
    // Through (0,0), (25,100), (75,100), (100,0) the cubic is x(100 - x) / 18.75: 133.3 at 50.
    for (int flag : {0, 1, 2, 3, 254, 255}) {
        SCOPED_TRACE(flag);
        const GenomePart g = curve(0, 25, 100, 75, 100, 0, flag);
        const float expected = (flag & 1) ? 200 - 2500 / 18.75f : 100;
        EXPECT_NEAR(evalBehaviour100(g, 50), expected, 1e-3);
    }
}

// Random curves with inner inputs at least `gap` apart: each gives the same cubic with its inner
// points in either order and, where the inputs are 5 or more apart, passes through its four points;
// both within `tolerance` of the range, the float rounding of the Newton terms. Returns the largest
// gap between the engine's 0..1 scale and the editor's 0..100 scale.
float checkRandomCurves(int gap, int seed, float tolerance) {
    Rng rng(static_cast<std::uint64_t>(seed));
    float worst = 0;
    for (int i = 0; i < 3000; ++i) {
        const GenomePart g = randomCurve(rng, gap);
        SCOPED_TRACE(testing::Message() << "Y0 " << +g.Y0 << " X1 " << +g.X1 << " Y1 " << +g.Y1
                                        << " X2 " << +g.X2 << " Y2 " << +g.Y2 << " Y3 " << +g.Y3);
        GenomePart swapped = g;
        std::swap(swapped.X1, swapped.X2);
        std::swap(swapped.Y1, swapped.Y2);
        for (int x = 0; x <= 100; ++x) {
            const float f = evalBehaviour100(g, x);
            EXPECT_NEAR(evalBehaviour100(swapped, x), f, 100 * tolerance) << "x " << x;
            worst = std::max(worst, std::abs(evalBehaviour01(g, x / 100.0f) - f / 100.0f));
        }
        if (gap < 5) continue;
        EXPECT_NEAR(evalBehaviour100(g, 0), g.Y0, 100 * tolerance);
        EXPECT_NEAR(evalBehaviour100(g, g.X1), g.Y1, 100 * tolerance);
        EXPECT_NEAR(evalBehaviour100(g, g.X2), g.Y2, 100 * tolerance);
        EXPECT_NEAR(evalBehaviour100(g, 100), g.Y3, 100 * tolerance);
        EXPECT_NEAR(evalBehaviour01(g, g.X1 / 100.0f), g.Y1 / 100.0f, tolerance);
        EXPECT_NEAR(evalBehaviour01(g, g.X2 / 100.0f), g.Y2 / 100.0f, tolerance);
    }
    return worst;
}

TEST(Behaviour, RandomCurvesPassThroughTheirPointsAndBothScalesAgree) {
    // Each scale computes in 32-bit floats on its own numbers. With inner inputs 5 or more apart
    // they agree within 1e-4 on 0..1; inputs 1 apart near an end make Newton terms near 1e5 and
    // the gap grows to the float rounding of those terms.
    EXPECT_LT(checkRandomCurves(5, 13, 1e-4f), 1e-4f);
    EXPECT_LT(checkRandomCurves(1, 14, 5e-3f), 5e-3f);
}

TEST(Behaviour, CoincidentInputsGiveStraightLinesBetweenTheKeptPoints) {
    struct Row {
        const char* name;
        GenomePart g;
        float x, expected;
    };
    const Row rows[] = {
        {"X1 = 0: the end point wins", curve(20, 0, 80, 50, 60, 100), 25, 40},
        {"X1 = 0, at 0", curve(20, 0, 80, 50, 60, 100), 0, 20},
        {"X1 = X2: point 1 wins", curve(0, 50, 80, 50, 10, 0), 25, 40},
        {"X1 = X2, at the point", curve(0, 50, 80, 50, 10, 0), 50, 80},
        {"X2 = 100: the end point wins", curve(0, 50, 50, 100, 0, 100), 75, 75},
        {"X1 = 100", curve(100, 100, 0, 50, 50, 0), 25, 75},
        {"X1 = 100, at 100", curve(100, 100, 40, 50, 50, 0), 100, 0},
        {"X2 = 0", curve(0, 50, 100, 0, 100, 0), 25, 50},
        {"X2 = 0, reversed order", curve(0, 80, 40, 0, 100, 0), 40, 20},
        {"X1 = X2 = 0: one line", curve(10, 0, 99, 0, 99, 90), 50, 50},
        {"X1 = X2 = 100", curve(10, 100, 99, 100, 99, 90), 25, 30},
        {"inputs beyond 100 from a file", curve(0, 150, 0, 100, 30, 100), 50, 50},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_NEAR(evalBehaviour100(r.g, r.x), r.expected, 1e-3);
        EXPECT_NEAR(evalBehaviour01(r.g, r.x / 100), r.expected / 100, 1e-5);
    }
}

TEST(Behaviour, NoInputsEverGiveNaNOrInfinity) {
    const int inputs[] = {0, 1, 2, 49, 50, 51, 98, 99, 100, 101, 200, 255};
    for (int x1 : inputs) {
        for (int x2 : inputs) {
            for (int irregular : {0, 1}) {
                const GenomePart g = curve(0, x1, 100, x2, 0, 100, irregular);
                for (int x = 0; x <= 100; ++x) {
                    const float v = evalBehaviour100(g, x), e = evalBehaviour01(g, x / 100.0f);
                    ASSERT_TRUE(std::isfinite(v) && v >= 0 && v <= 100)
                        << "X1 " << x1 << " X2 " << x2 << " x " << x << " -> " << v;
                    ASSERT_TRUE(std::isfinite(e) && e >= 0 && e <= 1)
                        << "X1 " << x1 << " X2 " << x2 << " x " << x << " -> " << e;
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvane
