#include "games/test_panel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "base/copies.h"
#include "games/decimal_text.h"
#include "games/payoff.h"

namespace morvane {
namespace {

PayoffMatrix game(int i) {
    PayoffMatrix m;
    SelectGame(m, i);
    return m;
}

// The pay-offs window's test shows the prisoner's dilemma, chicken and stag hunt in the boxes;
// here a mixed solution of 1/3, stored as 0.333.
TEST(TestPanel, BoxesShowWhatTheDispositionsGive) {
    PayoffMatrix third;
    setPayoffs(third, {5, 5, 3, 3, 0, 0, 1, 1});
    const TestPanel t = RecomputeTestPanel(third, 0.25f, 0.5f, MoveOrder::Simultaneous);
    EXPECT_EQ(t.players[1].txtProb, "0 / 0.33 / 1");
    EXPECT_EQ(t.players[1].txtMov, "[0.167]");  // 2 * 0.25 * 0.333 = 0.1665
    EXPECT_EQ(t.players[2].txtMov, "[0.333]");
    EXPECT_FALSE(t.players[1].hasSequential);
    EXPECT_TRUE(
        RecomputeTestPanel(third, 0.25f, 0.5f, MoveOrder::MeFirst).players[1].hasSequential);
    EXPECT_EQ(RecomputeTestPanel(game(0), 0, 0, MoveOrder::Simultaneous).lblJugador1_C,
              "Player 1 -> 1");
    EXPECT_EQ(RecomputeTestPanel(game(0), 0, 0, MoveOrder::Simultaneous).lblJugador2_D,
              "Player 2 -> 0");
}

TEST(TestPanel, SheFirstMirrorsMeFirstInASymmetricGame) {
    const TestPanel me = RecomputeTestPanel(game(1), 0.5f, 0.5f, MoveOrder::MeFirst);
    const TestPanel she = RecomputeTestPanel(game(1), 0.5f, 0.5f, MoveOrder::SheFirst);
    EXPECT_EQ(she.players[1].txtPago, me.players[2].txtPago);
    EXPECT_EQ(she.players[2].txtPago, me.players[1].txtPago);
    EXPECT_EQ(she.players[1].txtIa, me.players[2].txtIa);
}

TEST(TestPanel, EqualPayoffsGiveFullSuccessWhateverTheDispositions) {
    PayoffMatrix m;
    setPayoffs(m, {3, 3, 3, 3, 3, 3, 3, 3});
    for (float d : {0.0f, 0.3f, 1.0f}) {
        for (MoveOrder order : {MoveOrder::MeFirst, MoveOrder::Simultaneous, MoveOrder::SheFirst}) {
            const TestPanel t = RecomputeTestPanel(m, d, 1.0f - d, order);
            for (int k = 1; k <= 2; ++k) {
                EXPECT_EQ(t.players[k].simSuccess, 1.0f);
                EXPECT_EQ(t.players[k].simEquality, 0.5f);
                EXPECT_EQ(t.players[k].simPayoff, 3.0f);
                if (order != MoveOrder::Simultaneous) {
                    EXPECT_EQ(t.players[k].seqSuccess, 1.0f);
                }
            }
        }
    }
}

TEST(CutPoint, MeetingOfTheTwoLines) {
    EXPECT_EQ(cutPoint(game(0)), 1.0f);  // Prisoner's dilemma: T1 4, R1 3, S2 0, R2 3
    EXPECT_EQ(cutPointText(cutPoint(game(0))), "1");
    EXPECT_EQ(cutPoint(2.0f, 4.0f, 1.0f, 2.0f), -1.0f);  // slopes 2 and 1, intercepts 2 and 1
    EXPECT_EQ(cutPointText(cutPoint(0.0f, 1.0f, 1.0f, 1.5f)), "2");
}

TEST(CutPoint, ParallelOrOverflowingLinesHaveNone) {
    // R1 - T1 = 1 = R2 - S2.
    EXPECT_FALSE(cutPoint(1.0f, 2.0f, 5.0f, 6.0f).has_value());
    EXPECT_FALSE(cutPoint(3.0f, 3.0f, 3.0f, 3.0f).has_value());  // the same line
    EXPECT_EQ(cutPointText(std::nullopt), "");
    const float big = std::numeric_limits<float>::max();
    EXPECT_FALSE(cutPoint(-big, 0.0f, big, 1e-30f).has_value());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(cutPoint(nan, 1.0f, 0.0f, 1.0f).has_value());
}

TEST(DecimalText, WritesTheShortestTextThatReadsBackAsTheFloat) {
    EXPECT_EQ(decimalText(0.1f), "0.1");
    EXPECT_EQ(decimalText(-0.0f), "0");
    EXPECT_EQ(decimalText(1e20f), "100000002004087734272");
}

}  // namespace
}  // namespace morvane
