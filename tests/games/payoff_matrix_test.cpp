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

}  // namespace
}  // namespace morvane
