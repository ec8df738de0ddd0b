#include <cstdio>
#include <string>

#include "base/copies.h"
#include "base/numeric.h"
#include "games/payoff.h"

namespace morvane {

std::string payoffBeyondBoundReason() {
    char bound[32];
    std::snprintf(bound, sizeof bound, "%g", static_cast<double>(kLargestPayoff));
    return std::string("lies beyond -") + bound + ".." + bound + ", where scores would overflow";
}

namespace {

// Pay-off of player 1 when player 1 plays a1 and player 2 plays a2.
float pi1(const PayoffMatrix& m, int a1, int a2) {
    if (a1 == 1) return a2 == 1 ? m.R[1] : m.S[1];
    return a2 == 1 ? m.T[1] : m.P[1];
}

// Pay-off of player 2 when player 1 plays a1 and player 2 plays a2.
float pi2(const PayoffMatrix& m, int a1, int a2) {
    if (a2 == 1) return a1 == 1 ? m.R[2] : m.S[2];
    return a1 == 1 ? m.T[2] : m.P[2];
}

// Ties keep the earlier value, so T wins over an equal R, P or S.
void computeExtremes(PayoffMatrix& m) {
    for (int k = 1; k <= 2; ++k) {
        float hi = m.T[k], lo = m.T[k];
        for (float v : {m.R[k], m.P[k], m.S[k]}) {
            if (v > hi) hi = v;
            if (v < lo) lo = v;
        }
        m.PayoffMax[k] = hi;
        m.PayoffMin[k] = lo;
    }
}

// Probabilities of playing move 1 (not yet in absolute terms) and the absolute moves.
struct Solution {
    float p = 0.5f, q = 0.5f;
    int m1 = 0, m2 = 0;
};

// An outcome that is best for both players settles the game and both absolute moves at once.
bool commonBestOutcome(const PayoffMatrix& m, Solution& s) {
    const auto& mx = m.PayoffMax;
    if (m.P[1] == mx[1] && m.P[2] == mx[2]) {
        s = {0.0f, 0.0f, 0, 0};
    } else if (m.T[1] == mx[1] && m.S[2] == mx[2]) {
        s = {0.0f, 1.0f, 0, 1};
    } else if (m.S[1] == mx[1] && m.T[2] == mx[2]) {
        s = {1.0f, 0.0f, 1, 0};
    } else if (m.R[1] == mx[1] && m.R[2] == mx[2]) {
        s = {1.0f, 1.0f, 1, 1};
    } else {
        return false;
    }
    return true;
}

// Probability of move 1 for a player whose move 0 or move 1 dominates; 0.5 when neither does.
float dominantMove(float t, float r, float p, float s) {
    if (p >= s && t >= r) return 0.0f;
    if (p <= s && t <= r) return 1.0f;
    return 0.5f;
}

// The best answer of a player to the other's pure move: P vs S against 0, R vs T against 1.
// An indifferent player keeps its current value.
float bestReply(float other, float t, float r, float p, float s, float current) {
    const float mine1 = other == 0.0f ? s : r;  // pay-off of playing 1
    const float mine0 = other == 0.0f ? p : t;  // pay-off of playing 0
    if (mine1 < mine0) return 0.0f;
    if (mine1 > mine0) return 1.0f;
    return current;
}

void solve(const PayoffMatrix& m, Solution& s) {
    s.p = dominantMove(m.T[1], m.R[1], m.P[1], m.S[1]);
    s.q = dominantMove(m.T[2], m.R[2], m.P[2], m.S[2]);
    if (s.p == 0.5f && s.q == 0.5f) {
        // Each probability makes the other player indifferent. Neither move dominates for either
        // player, so R - T and P - S have opposite signs and no denominator vanishes.
        const float p = (m.P[2] - m.S[2]) / ((m.R[2] - m.T[2]) + m.P[2] - m.S[2]);
        const float q = (m.P[1] - m.S[1]) / ((m.R[1] - m.T[1]) + m.P[1] - m.S[1]);
        s.p = static_cast<float>(roundDecimals(p, 3));
        s.q = static_cast<float>(roundDecimals(q, 3));
    } else if (s.p == 0.5f) {
        s.p = bestReply(s.q, m.T[1], m.R[1], m.P[1], m.S[1], s.p);
    } else {
        s.q = bestReply(s.p, m.T[2], m.R[2], m.P[2], m.S[2], s.q);
    }
}

// The move of one player that does the other player good; t, r, p, s are the other player's
// pay-offs and prob the other player's probability of playing move 1.
int absoluteMoveFor(float t, float r, float p, float s, float prob) {
    if (p >= t && s >= r) return 0;
    if (t >= p && r >= s) return 1;
    return (prob * r + (1.0f - prob) * t > prob * s + (1.0f - prob) * p) ? 1 : 0;
}

void writeAbsoluteTerms(PayoffMatrix& m, const Solution& s) {
    const int mv[3] = {0, s.m1, s.m2};
    const float prob[3] = {0.0f, s.p, s.q};
    for (int k = 1; k <= 2; ++k) {
        m.AbsoluteMove[kActual][k] = static_cast<std::int16_t>(mv[k]);
        m.OtherMove[kActual][k] = static_cast<std::int16_t>(1 - mv[k]);
        m.EquilibriumAbsProb[kActual][k] = mv[k] == 1 ? prob[k] : 1.0f - prob[k];
        const std::string player = "Player " + std::to_string(k) + " -> ";
        m.MoveLabelAbs[k] = player + (mv[k] == 1 ? "1" : "0");
        m.MoveLabelOther[k] = player + (mv[k] == 1 ? "0" : "1");
    }
}

// Expected pay-off = Const + Own x + Other y + XY x y, with x the player's own probability of its
// absolute move and y the other player's probability of its absolute move.
void writeCoefficients(PayoffMatrix& m, int m1, int m2) {
    const int c1 = 1 - m1, c2 = 1 - m2;
    const float k1 = pi1(m, c1, c2);
    m.PayoffCoefConst[kActual][1] = k1;
    m.PayoffCoefOwn[kActual][1] = pi1(m, m1, c2) - k1;
    m.PayoffCoefOther[kActual][1] = pi1(m, c1, m2) - k1;
    m.PayoffCoefXY[kActual][1] = pi1(m, m1, m2) - pi1(m, m1, c2) - pi1(m, c1, m2) + k1;

    const float k2 = pi2(m, c1, c2);
    m.PayoffCoefConst[kActual][2] = k2;
    m.PayoffCoefOwn[kActual][2] = pi2(m, c1, m2) - k2;
    m.PayoffCoefOther[kActual][2] = pi2(m, m1, c2) - k2;
    m.PayoffCoefXY[kActual][2] = pi2(m, m1, m2) - pi2(m, c1, m2) - pi2(m, m1, c2) + k2;
}

}  // namespace

void UpdatePayoffMatrix(PayoffMatrix& m) {
    computeExtremes(m);
    Solution s;
    if (!commonBestOutcome(m, s)) {
        solve(m, s);
        s.m1 = absoluteMoveFor(m.T[2], m.R[2], m.P[2], m.S[2], s.q);
        s.m2 = absoluteMoveFor(m.T[1], m.R[1], m.P[1], m.S[1], s.p);
    }
    writeAbsoluteTerms(m, s);
    writeCoefficients(m, s.m1, s.m2);
}

void commitPayoffAnalysis(PayoffMatrix& m) {
    m.AbsoluteMove[kPrevio] = m.AbsoluteMove[kActual];
    m.OtherMove[kPrevio] = m.OtherMove[kActual];
    m.EquilibriumAbsProb[kPrevio] = m.EquilibriumAbsProb[kActual];
    m.PayoffCoefConst[kPrevio] = m.PayoffCoefConst[kActual];
    m.PayoffCoefOwn[kPrevio] = m.PayoffCoefOwn[kActual];
    m.PayoffCoefOther[kPrevio] = m.PayoffCoefOther[kActual];
    m.PayoffCoefXY[kPrevio] = m.PayoffCoefXY[kActual];
}

}  // namespace morvane
