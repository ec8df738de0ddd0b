#include <gtest/gtest.h>

#include <string>

#include "base/copies.h"
#include "base/rng.h"
#include "games/payoff.h"

namespace morvane {
namespace {

TEST(GameCatalogue, SelectingOutsideTheListChangesNothing) {
    PayoffMatrix m;
    SelectGame(m, 6);
    const PayoffCopy before = payoffCopy(m);
    SelectGame(m, 8);
    SelectGame(m, -1);
    EXPECT_EQ(payoffCopy(m), before);
    EXPECT_EQ(m.GameIndex, 6);
}

TEST(PayoffCommands, RandomDrawsTheEightBoxesInOrderWithoutRounding) {
    Rng rng(77), twin(77);
    PayoffMatrix m;
    randomPayoffs(m, rng);
    const PayoffCopy c = payoffCopy(m);  // T1, T2, R1, R2, P1, P2, S1, S2
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c[i], 10.0f * twin.uniform()) << "box " << i;
    // The analysis follows the new pay-offs.
    EXPECT_GE(m.PayoffMax[1], m.T[1]);
    EXPECT_LE(m.PayoffMin[2], m.S[2]);
}

TEST(PayoffCommands, InvertByMouseButton) {
    struct Row {
        const char* name;
        int button;
        PayoffCopy expected;  // T1, T2, R1, R2, P1, P2, S1, S2
    };
    // Start from T1 1, T2 2, R1 3, R2 4, P1 5, P2 6, S1 7, S2 8.
    const Row rows[] = {
        // T1 = P2, T2 = R1, R1 = S2, R2 = T1, P1 = T2, P2 = S1, S1 = R2, S2 = P1.
        {"left: roles exchanged", 1, {6, 3, 8, 1, 2, 7, 4, 5}},
        // T = S, R = P, P = R, S = T for each role.
        {"right: moves exchanged", 2, {7, 8, 5, 6, 3, 4, 1, 2}},
        {"middle: nothing", 4, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PayoffMatrix m;
        setPayoffs(m, {1, 2, 3, 4, 5, 6, 7, 8});
        m.PayoffMax = {};  // a stale analysis must be redone whatever the button
        invertPayoffs(m, r.button);
        EXPECT_EQ(payoffCopy(m), r.expected);
        EXPECT_EQ(m.PayoffMax[1], std::max({m.T[1], m.R[1], m.P[1], m.S[1]}));
    }
}

TEST(DispositionToProb, FollowsTheReferenceProbabilityOfTheRole) {
    struct Row {
        float p, d, expected;
    };
    const Row rows[] = {
        {0.5f, 0.5f, 0.5f}, {0.2f, 0.25f, 0.1f}, {0.2f, 0.75f, 0.6f}, {1.0f, 0.3f, 0.3f},
        {0.0f, 0.8f, 0.8f}, {0.2f, 0.0f, 0.0f},  {0.2f, 1.0f, 1.0f},  {0.2f, 0.5f, 0.2f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "p " << r.p << " d " << r.d);
        EXPECT_FLOAT_EQ(DispositionToProb(r.p, r.d), r.expected);
    }
}

}  // namespace
}  // namespace morvane
