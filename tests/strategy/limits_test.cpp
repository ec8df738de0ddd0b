#include "strategy/limits.h"

#include <gtest/gtest.h>

#include <array>

#include "base/rng.h"

namespace morvane {
namespace {

TEST(Limits, AzarEnRangoStaysWithinTheLimits) {
    Rangos r = defaultRangos();
    r.limits[kLimY0][0] = {37, 37};
    r.limits[kLimY1][0] = {-5, -5};
    r.limits[kLimY2][0] = {70, 30};        // a hand-typed Min above Max: between the two
    r.limits[kLimY3][0] = {40000, 40000};  // beyond 16 bits, from a file
    Rng rng(22);
    for (int i = 0; i < 5000; ++i) {
        for (int h = 0; h < 2; ++h) {
            EXPECT_EQ(AzarEnRango(r, rng, kLimValIC, h), 100);
            const int x1 = AzarEnRango(r, rng, kLimX1, h);
            EXPECT_TRUE(x1 >= 1 && x1 <= 99) << x1;
            const int when = AzarEnRango(r, rng, kLimCuando, h);
            EXPECT_TRUE(when >= 0 && when <= 2) << when;
        }
        EXPECT_EQ(AzarEnRango(r, rng, kLimY0, 0), 37);
        EXPECT_EQ(AzarEnRango(r, rng, kLimY1, 0), -5);
        const int y2 = AzarEnRango(r, rng, kLimY2, 0);
        EXPECT_TRUE(y2 >= 30 && y2 <= 70) << y2;
        EXPECT_EQ(AzarEnRango(r, rng, kLimY3, 0), 32767);
    }
}

}  // namespace
}  // namespace morvane
