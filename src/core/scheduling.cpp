#include "core/scheduling.h"

#include <algorithm>
#include <vector>

#include "base/rng.h"
#include "encounter/encounter.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

// Whether each cell is an ordinary bug: no encounter changes a genome, so an iteration reads the
// genomes once instead of at every pair.
std::vector<std::uint8_t> ordinaryBugs(const World& w) {
    std::vector<std::uint8_t> ordinary(static_cast<std::size_t>(w.NumJugadores) + 1);
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const std::int16_t f = w.genoma(kActual, c).parte[0].Busqueda & 0xFF;
        ordinary[c] = !isBlankSquare(f) && !isDeadSquare(f);
    }
    return ordinary;
}

// What a round reads of the records and who dropped out, held in locals: the arrays keep their size
// through the round, and the encounter's byte stores could otherwise make every check reload them.
struct RoundView {
    const std::int32_t* counts;  // a cell's record count at counts[cell * width]
    std::size_t width;
    std::uint8_t* muertoHoy;
    const std::uint8_t* ordinary;
    int movPosibles;

    int count(int cell) const { return counts[static_cast<std::size_t>(cell) * width]; }
    // Ordinary bugs still in play today with room for one more record.
    bool canPlay(int cell) const {
        return ordinary[cell] != 0 && muertoHoy[cell] == 0 && count(cell) < movPosibles;
    }
};

template <typename Play>
void playPair(const RoundView& v, Rng& rng, Play& play, int i, int j) {
    const int countI = v.count(i) & 0xFF;
    const int countJ = v.count(j) & 0xFF;
    // The neighbour plays role 1 on r <= 0.5. The roles are chosen by selection, not by a branch
    // on the draw, which would be mispredicted half the time.
    const bool neighbourFirst = rng.uniform() <= 0.5f;
    const int swapMask = -static_cast<int>(neighbourFirst);  // all ones: swap the two
    const int jug1 = i ^ ((i ^ j) & swapMask), jug2 = j ^ ((i ^ j) & swapMask);
    const int prev1 = countI ^ ((countI ^ countJ) & swapMask);
    const int prev2 = countJ ^ ((countI ^ countJ) & swapMask);
    const std::uint8_t result = play(jug1, jug2, prev1, prev2);
    v.muertoHoy[jug1] = static_cast<std::uint8_t>(result & 1);
    v.muertoHoy[jug2] = static_cast<std::uint8_t>(result & 2);
}

// The committed code: a type chosen while the run goes on takes effect at the next start or step,
// together with the neighbour table built for it. Before each pair plays, the pair after it is
// announced, so that its data can be on its way while this one plays.
template <typename Play, typename Announce>
void iteration(const World& w, const GenerationReport& r, std::vector<std::uint8_t>& muertoHoy,
               Rng& rng, Play& play, const Announce& announce) {
    const WalkedPositions walk = walkedPositions(w.neighbourhood.CodVecin[kPrevio]);
    const std::vector<std::uint8_t> ordinary = ordinaryBugs(w);
    const RoundView v{r.Jugadas.data(), r.slotsPerCell, muertoHoy.data(), ordinary.data(),
                      w.MovPosibles};
    const int n = w.NumJugadores;
    const auto* table = w.neighbourhood.Vecinos.data();
    for (int k = walk.first; k <= walk.last; k += walk.step) {
        for (int i = 1; i <= n; ++i) {
            if (i < n) announce(i + 1, table[i + 1][k]);
            const int j = table[i][k];
            if (j == kNoPartner || !v.canPlay(i) || !v.canPlay(j)) continue;
            playPair(v, rng, play, i, j);
        }
    }
}

// The partner of cell i at position k: a random start, then the next free cell that is not i.
int drawPartner(World& w, Rng& rng, std::vector<std::uint8_t>& tomado, int i, int k) {
    const int n = w.NumJugadores;
    int j = static_cast<int>(rng.integer(n, 1));
    if (j > n) j = n;
    while (tomado[j] == 1 || j == i) {
        j = j == n ? 1 : j + 1;
        if (i == n && tomado[i] == 0) {
            // Only the last cell is left undrawn and it may not meet itself: it takes the place
            // of the partner of the cell before it, and that partner is freed for it.
            const int m = n - 1;
            tomado[w.vecino(m, k)] = 0;
            w.vecino(m, k) = static_cast<std::int16_t>(n);
            w.vecino(n, k + 12) = static_cast<std::int16_t>(m);
        }
    }
    return j;
}

}  // namespace

void JugarIteracion(const World& w, GenerationReport& r, std::vector<std::uint8_t>& muertoHoy,
                    Rng& rng, const EncounterFn& play) {
    const auto nobody = [](int, int) {};
    iteration(w, r, muertoHoy, rng, play, nobody);
}

void playLiveIteration(const World& w, GenerationReport& r, GenerationScratch& scratch, Rng& rng) {
    const GenerationCards& cards = *scratch.cards;
    const auto play = [&](int jug1, int jug2, int prev1, int prev2) {
        return JugarPartida(w, cards, jug1, jug2, prev1, prev2, rng);
    };
    const Prefetcher announce(cards);
    iteration(w, r, scratch.MuertoHoy, rng, play, announce);
}

void EmparejarAzar(World& w, Rng& rng) {
    const int n = w.NumJugadores;
    const int step = (w.neighbourhood.CodVecin[kPrevio] & 8) / 8 + 1;
    std::vector<std::uint8_t> tomado(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= 11; k += step) {
        std::fill(tomado.begin(), tomado.end(), 0);
        for (int i = 1; i <= n; ++i) {
            if (n == 1) {
                // A lone cell has nobody to meet; its draw is still made so the stream of draws
                // does not depend on the size of the world.
                rng.uniform();
                w.vecino(1, k) = kNoPartner;
                w.vecino(1, k + 12) = kNoPartner;
                continue;
            }
            const int j = drawPartner(w, rng, tomado, i, k);
            w.vecino(i, k) = static_cast<std::int16_t>(j);
            w.vecino(j, k + 12) = static_cast<std::int16_t>(i);
            tomado[j] = 1;
        }
    }
}

}  // namespace morvane
