#pragma once

#include <array>
#include <optional>
#include <string>

#include "games/payoff_types.h"

namespace morvane {

// Where the straight line through (0, T 1) and (1, R 1) meets the line through (0, S 2) and
// (1, R 2). Parallel lines (R 1 - T 1 = R 2 - S 2) have no meeting point: the result is empty,
// as it is whenever the quotient would not be a finite number.
std::optional<float> cutPoint(float T1, float R1, float S2, float R2);
std::optional<float> cutPoint(const PayoffMatrix& m);
// The box's text: the decimal text of the cut point, empty when there is none.
std::string cutPointText(const std::optional<float>& x);

// Move order of the test panel: "Me 1st", "Simult.", "She 1st".
enum class MoveOrder { MeFirst, Simultaneous, SheFirst };

// What the test panel shows for one player.
struct TestPanelPlayer {
    float p = 0;  // reference probability of the player's absolute move
    float x = 0;  // probability with which the player plays its absolute move
    // Success, equality and pay-off of one move played one after the other (only for "Me 1st"
    // and "She 1st") and simultaneously.
    bool hasSequential = false;
    float seqSuccess = 0, seqEquality = 0, seqPayoff = 0;
    float simSuccess = 0, simEquality = 0, simPayoff = 0;

    std::string txtProb;   // "0 / p / 1", p to 2 decimals
    std::string txtMov;    // "[x]", x to 3 decimals
    std::string txtExito;  // "(sequential) simultaneous" or "simultaneous", 3 decimals
    std::string txtIa;
    std::string txtPago;
};

struct TestPanel {
    std::array<TestPanelPlayer, 3> players;  // players 1 and 2 (index 0 unused)
    // Column captions: lblJugador1_C, lblJugador1_D, lblJugador2_C, lblJugador2_D.
    std::string lblJugador1_C, lblJugador1_D, lblJugador2_C, lblJugador2_D;
};

// One move between two players of cooperation dispositions d1 and d2 (0 to 1) under the live
// analysis of m. The window first writes its eight pay-off boxes into the matrix (setPayoffs runs
// UpdatePayoffMatrix), then asks for the panel.
TestPanel RecomputeTestPanel(const PayoffMatrix& m, float d1, float d2, MoveOrder order);

}  // namespace morvane
