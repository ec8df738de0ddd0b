#include "base/rng.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/scheduling.h"
#include "strategy/limits.h"
#include "support/worlds.h"

namespace morvane {
namespace {

// Two u just below an integer step, where single precision rounds a u + b up to the next integer:
// every integer draw is the exact floor, computed in double.
TEST(IntegerDraws, AreExactFloorsWhereSinglePrecisionRoundsUp) {
    const float limitsU = 15183380.0f / 16777216.0f;   // 100 u + 0.5 = 90.99999...
    const float partnerU = 10559777.0f / 16777216.0f;  // 1020 u = 641.99998...
    EXPECT_EQ(std::floor(100.0f * limitsU + 0.5f), 91.0f);
    EXPECT_EQ(std::floor(partnerU * 1020.0f), 642.0f);
    EXPECT_EQ(drawInteger(limitsU, 100, 0.5), 90);
    EXPECT_EQ(drawInteger(partnerU, 1020, 1), 642);

    // The seeds whose first u are these two, through the routines that draw them.
    Rng first(618269), second(6029039);
    EXPECT_EQ(Rng(618269).uniform(), limitsU);
    EXPECT_EQ(Rng(6029039).uniform(), partnerU);

    Rangos r{};
    r.limits[kLimY0][0] = {0, 100};
    EXPECT_EQ(AzarEnRango(r, first, kLimY0, 0), 90);

    World w = testing::worldOf(34, 30, 18);  // 1020 cells, every position drawn at random
    EmparejarAzar(w, second);
    EXPECT_EQ(w.vecino(1, 0), 642);
    EXPECT_EQ(w.vecino(642, 12), 1);
}

}  // namespace
}  // namespace morvane
