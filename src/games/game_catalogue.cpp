#include "base/rng.h"
#include "games/payoff.h"

namespace morvane {

const std::array<CatalogueGame, 8>& gameCatalogue() {
    // T1, T2, R1, R2, P1, P2, S1, S2
    static const std::array<CatalogueGame, 8> games = {{
        {" Dilema del prisionero", 4, 4, 3, 3, 1, 1, 0, 0},
        {" Gallina", 4, 4, 3, 3, 0, 0, 1, 1},
        {" Brian y Jane", 2, 3, 4, 1, 3, 2, 1, 4},
        {" Ultimátum", 9, 0, 1, 9, 0, 0, 0, 1},
        {" Trust Game", 1, 0, 1, 1, 3, 3, 4, 1},
        {" Partir la tarta", 9, 9, 0, 0, 0, 0, 1, 1},
        {" Stag Hunt", 3, 3, 4, 4, 1, 1, 0, 0},
        {" Invisible Hand!", 4, 4, 2, 2, 3, 3, 0, 0},
    }};
    return games;
}

void SelectGame(PayoffMatrix& m, int i) {
    const auto& games = gameCatalogue();
    if (i < 0 || i >= static_cast<int>(games.size())) return;
    const CatalogueGame& g = games[static_cast<std::size_t>(i)];
    setPayoffs(m, {g.T1, g.T2, g.R1, g.R2, g.P1, g.P2, g.S1, g.S2});
    m.GameIndex = static_cast<std::int16_t>(i);
}

void randomPayoffs(PayoffMatrix& m, Rng& rng) {
    rng.reseedFromClock();
    // One draw per box, in box order; the values keep every digit the draw gives.
    PayoffCopy c{};
    for (float& v : c) v = 10.0f * rng.uniform();
    setPayoffs(m, c);
}

void invertPayoffs(PayoffMatrix& m, int mouseButton) {
    const PayoffMatrix old = m;
    if (mouseButton == 1) {
        // The roles change places and each player's moves are relabelled, so the game seen from
        // the new player 1 is the old one seen from player 2.
        m.T[1] = old.P[2];
        m.R[1] = old.S[2];
        m.P[1] = old.T[2];
        m.S[1] = old.R[2];
        m.T[2] = old.R[1];
        m.R[2] = old.T[1];
        m.P[2] = old.S[1];
        m.S[2] = old.P[1];
    } else if (mouseButton == 2) {
        for (int k = 1; k <= 2; ++k) {
            m.T[k] = old.S[k];
            m.R[k] = old.P[k];
            m.P[k] = old.R[k];
            m.S[k] = old.T[k];
        }
    }
    UpdatePayoffMatrix(m);
}

PayoffCopy payoffCopy(const PayoffMatrix& m) {
    return {m.T[1], m.T[2], m.R[1], m.R[2], m.P[1], m.P[2], m.S[1], m.S[2]};
}

void setPayoffs(PayoffMatrix& m, const PayoffCopy& c) {
    m.T[1] = c[0];
    m.T[2] = c[1];
    m.R[1] = c[2];
    m.R[2] = c[3];
    m.P[1] = c[4];
    m.P[2] = c[5];
    m.S[1] = c[6];
    m.S[2] = c[7];
    UpdatePayoffMatrix(m);
}

}  // namespace morvane
