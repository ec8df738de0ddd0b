#pragma once

#include <array>
#include <cfloat>
#include <cmath>
#include <string>

#include "games/payoff_types.h"

namespace morvane {

class Rng;

// The largest pay-off, in size, that the matrix may hold. A cell's score adds up at most 24
// partners times 10 rounds of expected pay-offs, none larger than the largest pay-off, so with
// pay-offs up to FLT_MAX / 255 every score stays finite. The command line, the scenario reader and
// the pay-offs window refuse anything beyond it, NaN and the infinities included.
inline constexpr float kLargestPayoff = FLT_MAX / 255.0f;
inline bool payoffWithinBound(float v) {
    return std::fabs(v) <= kLargestPayoff;
}
// Why a pay-off beyond the bound is refused, to follow the value in a message.
std::string payoffBeyondBoundReason();

// The catalogue of preset games, in the order of the pay-offs window's list.
struct CatalogueGame {
    const char* name;  // as listed, with its leading blank: " Dilema del prisionero"
    float T1, T2, R1, R2, P1, P2, S1, S2;
};
const std::array<CatalogueGame, 8>& gameCatalogue();

// Recompute every derived value of the matrix (maxima, minima, absolute moves, the reference
// solution, the coefficients and the move captions) into the live copy (copia 1).
void UpdatePayoffMatrix(PayoffMatrix& m);

// Copy the live solution values and coefficients into the committed copy (copia 0).
void commitPayoffAnalysis(PayoffMatrix& m);

// Probability of playing the absolute move for a cooperation disposition d, given the reference
// probability p of the role. Inline: every move of every encounter passes through it.
inline float DispositionToProb(float p, float d) {
    if (p <= 0.0f || p >= 1.0f) return d;
    const float b = (d + 0.5f >= 1.0f) ? 1.0f : 0.0f;
    return b * p + 2.0f * (d - b / 2.0f) * std::fabs(b - p);
}

// Window commands on the matrix; each runs UpdatePayoffMatrix afterwards.
void SelectGame(PayoffMatrix& m, int i);
void randomPayoffs(PayoffMatrix& m, Rng& rng);
void invertPayoffs(PayoffMatrix& m, int mouseButton);  // 1 left: exchange roles; 2 right: moves
PayoffCopy payoffCopy(const PayoffMatrix& m);          // T1, T2, R1, R2, P1, P2, S1, S2
void setPayoffs(PayoffMatrix& m, const PayoffCopy& c);

}  // namespace morvane
