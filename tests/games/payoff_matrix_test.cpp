#include <gtest/gtest.h>

#include <string>

#include "base/copies.h"
#include "base/rng.h"
#include "games/payoff.h"

namespace morvane {
namespace {

PayoffMatrix matrixOf(const PayoffCopy& c) {
    PayoffMatrix m;
    setPayoffs(m, c);
    return m;
}

// Pay-off of player k when player 1 plays a1 and player 2 plays a2, read from the matrix itself.
float cell(const PayoffMatrix& m, int k, int a1, int a2) {
    const int own = k == 1 ? a1 : a2, other = k == 1 ? a2 : a1;
    if (own == 1) return other == 1 ? m.R[k] : m.S[k];
    return other == 1 ? m.T[k] : m.P[k];
}

// The expected pay-off of player k for pure dispositions: x for its own absolute move, y for the
// other's.
float expected(const PayoffMatrix& m, int k, int x, int y) {
    return m.PayoffCoefConst[kActual][k] + m.PayoffCoefOwn[kActual][k] * x +
           m.PayoffCoefOther[kActual][k] * y + m.PayoffCoefXY[kActual][k] * x * y;
}

// Every pure combination of absolute/other moves gives back the matrix cell it stands for.
void expectCoefficientsReproduceCells(const PayoffMatrix& m, float tolerance) {
    const int m1 = m.AbsoluteMove[kActual][1], m2 = m.AbsoluteMove[kActual][2];
    for (int x = 0; x <= 1; ++x) {
        for (int y = 0; y <= 1; ++y) {
            SCOPED_TRACE(::testing::Message() << "x " << x << " y " << y);
            const int a1 = x ? m1 : 1 - m1, a2 = y ? m2 : 1 - m2;
            EXPECT_NEAR(expected(m, 1, x, y), cell(m, 1, a1, a2), tolerance);
            // For player 2, x is its own absolute move and y player 1's.
            const int b1 = y ? m1 : 1 - m1, b2 = x ? m2 : 1 - m2;
            EXPECT_NEAR(expected(m, 2, x, y), cell(m, 2, b1, b2), tolerance);
        }
    }
}

TEST(PayoffMatrix, AllEqualPayoffsMeetAtTheCommonBestPunishment) {
    const PayoffMatrix m = matrixOf({2.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f, 2.5f});
    EXPECT_EQ(m.PayoffMax[1], 2.5f);
    EXPECT_EQ(m.PayoffMin[2], 2.5f);
    EXPECT_EQ(m.AbsoluteMove[kActual][1], 0);
    EXPECT_EQ(m.AbsoluteMove[kActual][2], 0);
    EXPECT_EQ(m.EquilibriumAbsProb[kActual][1], 1.0f);
    EXPECT_EQ(m.EquilibriumAbsProb[kActual][2], 1.0f);
    expectCoefficientsReproduceCells(m, 0.0f);
}

TEST(PayoffMatrix, MixedSolutionIsRoundedToThreeDecimalsHalvesToEven) {
    struct Row {
        const char* name;
        PayoffCopy c;  // T1, T2, R1, R2, P1, P2, S1, S2
        float p1, p2;
    };
    const Row rows[] = {
        // Chicken with T 5, R 3, P 0, S 1: p = (0 - 1) / ((3 - 5) + 0 - 1) = 1/3.
        {"one third", {5, 5, 3, 3, 0, 0, 1, 1}, 0.333f, 0.333f},
        // Player 2's pay-offs give p = (0 - 1) / ((3 - 4) + 0 - 1) = 0.5, player 1's give
        // q = (0 - 2) / ((3 - 4) + 0 - 2) = 2/3.
        {"two thirds", {4, 4, 3, 3, 0, 0, 2, 1}, 0.5f, 0.667f},
        // (0 - 1) / ((1 - 17) + 0 - 1) = 1/17 = 0.0588... -> 0.059.
        {"one seventeenth", {17, 17, 1, 1, 0, 0, 1, 1}, 0.059f, 0.059f},
        // 1/16 = 0.0625 exactly: the half goes to the even digit, 0.062.
        {"exact half", {16, 16, 1, 1, 0, 0, 1, 1}, 0.062f, 0.062f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const PayoffMatrix m = matrixOf(r.c);
        EXPECT_EQ(m.EquilibriumAbsProb[kActual][1], r.p1);
        EXPECT_EQ(m.EquilibriumAbsProb[kActual][2], r.p2);
    }
}

TEST(PayoffMatrix, CoefficientsReproduceEveryCellOfRandomMatrices) {
    Rng rng(20240611);
    for (int n = 0; n < 500; ++n) {
        SCOPED_TRACE(n);
        PayoffMatrix m;
        randomPayoffs(m, rng);
        EXPECT_GE(m.EquilibriumAbsProb[kActual][1], 0.0f);
        EXPECT_LE(m.EquilibriumAbsProb[kActual][1], 1.0f);
        EXPECT_GE(m.EquilibriumAbsProb[kActual][2], 0.0f);
        EXPECT_LE(m.EquilibriumAbsProb[kActual][2], 1.0f);
        // Pay-offs lie in [0, 10): a few float roundings of that size.
        expectCoefficientsReproduceCells(m, 1e-5f);
    }
}

TEST(PayoffMatrix, MaximumAndMinimumAreTakenPerRole) {
    const PayoffMatrix m = matrixOf({1, 7, 2, 6, 3, 5, -4, 8});
    EXPECT_EQ(m.PayoffMax[1], 3.0f);
    EXPECT_EQ(m.PayoffMin[1], -4.0f);
    EXPECT_EQ(m.PayoffMax[2], 8.0f);
    EXPECT_EQ(m.PayoffMin[2], 5.0f);
}

TEST(PayoffMatrix, OnlyACommitMovesTheCommittedAnalysis) {
    PayoffMatrix m;
    SelectGame(m, 2);  // Brian y Jane
    commitPayoffAnalysis(m);
    SelectGame(m, 4);  // Trust Game: the committed copy still holds Brian y Jane
    EXPECT_EQ(m.AbsoluteMove[kPrevio][1], 0);
    EXPECT_EQ(m.AbsoluteMove[kPrevio][2], 1);
    EXPECT_EQ(m.OtherMove[kPrevio][2], 0);
    EXPECT_EQ(m.EquilibriumAbsProb[kPrevio][1], 0.5f);
    EXPECT_EQ(m.AbsoluteMove[kActual][2], 0);
}

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
