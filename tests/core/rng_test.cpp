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

// Tosses taken in blocks are the generator's own coin tosses, in order, and settling leaves the
// generator exactly where tossing one at a time would: after part of a block, after a whole one,
// after several, and when the generator is drawn from between settling and the next block.
TEST(CoinTosses, GiveTheGeneratorsTossesAndLeaveItWhereTossingOneByOneWould) {
    for (const int taken : {0, 1, 63, 64, 65, 200}) {
        SCOPED_TRACE(taken);
        Rng one(77), blocks(77);
        CoinTosses coins(blocks);
        std::uint64_t bits = 0;
        int left = 0;
        for (int t = 0; t < taken; ++t) {
            if (left == 0) {
                bits = coins.block();
                left = 64;
            }
            ASSERT_EQ((bits >> (left - 1)) & 1, one.atMostHalf() ? 1u : 0u) << "toss " << t;
            --left;
        }
        coins.settle(taken == 0 ? 0 : 64 - left);
        EXPECT_EQ(blocks.next(), one.next());
        // The generator drawn from between blocks: the next block starts where it stands.
        coins.settle(0);
        EXPECT_EQ(coins.block() >> 63, one.atMostHalf() ? 1u : 0u);
        coins.settle(1);
        EXPECT_EQ(blocks.next(), one.next());
    }
}

}  // namespace
}  // namespace morvane
