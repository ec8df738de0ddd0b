#include "games/test_panel.h"

#include <cmath>

#include "base/copies.h"
#include "base/shown_number.h"
#include "games/decimal_text.h"
#include "games/payoff.h"

namespace morvane {

std::optional<float> cutPoint(float T1, float R1, float S2, float R2) {
    const float m1 = R1 - T1, m2 = R2 - S2;
    if (m1 == m2) return std::nullopt;
    const float x = (S2 - T1) / (m1 - m2);
    // Nearly parallel lines can push the quotient past the float range.
    if (!std::isfinite(x)) return std::nullopt;
    return x;
}

std::optional<float> cutPoint(const PayoffMatrix& m) {
    return cutPoint(m.T[1], m.R[1], m.S[2], m.R[2]);
}

std::string cutPointText(const std::optional<float>& x) {
    return x ? decimalText(*x) : std::string();
}

namespace {

struct Outcome {
    float successes[3]{}, equalities[3]{}, payoffs[3]{};
};

// Expected pay-off of player k: own is its probability of its absolute move, other the other
// player's probability of the other player's absolute move.
float expectedPayoff(const PayoffMatrix& m, int k, float own, float other) {
    return m.PayoffCoefConst[kActual][k] + m.PayoffCoefOwn[kActual][k] * own +
           m.PayoffCoefOther[kActual][k] * other + m.PayoffCoefXY[kActual][k] * own * other;
}

float success(const PayoffMatrix& m, int k, float u) {
    if (m.PayoffMax[k] == m.PayoffMin[k]) return 1.0f;
    return (u - m.PayoffMin[k]) / (m.PayoffMax[k] - m.PayoffMin[k]);
}

Outcome outcomeOf(const PayoffMatrix& m, float u1, float u2) {
    Outcome o;
    o.payoffs[1] = u1;
    o.payoffs[2] = u2;
    o.successes[1] = success(m, 1, u1);
    o.successes[2] = success(m, 2, u2);
    o.equalities[1] = (o.successes[2] - o.successes[1] + 1.0f) / 2.0f;
    o.equalities[2] = 1.0f - o.equalities[1];
    return o;
}

// The second player's pure answer to the first player's probability x of its absolute move; pf
// and ps are the reference probabilities of the first and the second player.
float reply(float pf, float ps, float x) {
    if (ps == 1.0f) return 1.0f;
    if (ps == 0.0f || pf <= x) return 0.0f;
    return 1.0f;
}

Outcome sequentialOutcome(const PayoffMatrix& m, const TestPanel& t, MoveOrder order) {
    const auto& j1 = t.players[1];
    const auto& j2 = t.players[2];
    if (order == MoveOrder::MeFirst) {
        const float y = reply(j1.p, j2.p, j1.x);
        return outcomeOf(m, expectedPayoff(m, 1, j1.x, y), expectedPayoff(m, 2, y, j1.x));
    }
    const float y = reply(j2.p, j1.p, j2.x);
    return outcomeOf(m, expectedPayoff(m, 1, y, j2.x), expectedPayoff(m, 2, j2.x, y));
}

std::string boxText(bool sequential, float seq, float sim) {
    const std::string s = shownNumber(sim, 3);
    return sequential ? "(" + shownNumber(seq, 3) + ") " + s : s;
}

}  // namespace

TestPanel RecomputeTestPanel(const PayoffMatrix& m, float d1, float d2, MoveOrder order) {
    TestPanel t;
    t.lblJugador1_C = m.MoveLabelAbs[1];
    t.lblJugador1_D = m.MoveLabelOther[1];
    t.lblJugador2_C = m.MoveLabelAbs[2];
    t.lblJugador2_D = m.MoveLabelOther[2];
    const float d[3] = {0.0f, d1, d2};
    for (int k = 1; k <= 2; ++k) {
        auto& j = t.players[k];
        j.p = m.EquilibriumAbsProb[kActual][k];
        j.x = DispositionToProb(j.p, d[k]);
        j.txtProb = "0 / " + shownNumber(j.p, 2) + " / 1";
        j.txtMov = "[" + shownNumber(j.x, 3) + "]";
    }

    const bool sequential = order != MoveOrder::Simultaneous;
    Outcome seq;
    if (sequential) seq = sequentialOutcome(m, t, order);
    const auto& j1 = t.players[1];
    const auto& j2 = t.players[2];
    const Outcome sim =
        outcomeOf(m, expectedPayoff(m, 1, j1.x, j2.x), expectedPayoff(m, 2, j2.x, j1.x));

    for (int k = 1; k <= 2; ++k) {
        auto& j = t.players[k];
        j.hasSequential = sequential;
        j.seqSuccess = seq.successes[k];
        j.seqEquality = seq.equalities[k];
        j.seqPayoff = seq.payoffs[k];
        j.simSuccess = sim.successes[k];
        j.simEquality = sim.equalities[k];
        j.simPayoff = sim.payoffs[k];
        j.txtExito = boxText(sequential, j.seqSuccess, j.simSuccess);
        j.txtIa = boxText(sequential, j.seqEquality, j.simEquality);
        j.txtPago = boxText(sequential, j.seqPayoff, j.simPayoff);
    }
    return t;
}

}  // namespace morvane
