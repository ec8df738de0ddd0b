#include "core/scheduling.h"

#include <algorithm>
#include <vector>

#include "base/rng.h"
#include "encounter/encounter.h"
#include "encounter/encounter_steps.h"
#include "world/neighbourhood.h"

namespace morvane {

std::vector<std::uint8_t> ordinaryBugs(const World& w) {
    std::vector<std::uint8_t> ordinary(static_cast<std::size_t>(w.NumJugadores) + 1);
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const std::int16_t f = w.genoma(kActual, c).parte[0].Busqueda & 0xFF;
        ordinary[c] = !isBlankSquare(f) && !isDeadSquare(f);
    }
    return ordinary;
}

namespace {

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

void playLiveIteration(const World& w, GenerationReport& r, GenerationScratch& scratch, Rng& rng) {
    GenerationCards& cards = *scratch.cards;
    const auto play = [&](int jug1, int jug2, int prev1, int prev2) {
        return JugarPartida(w, cards, jug1, jug2, prev1, prev2, rng);
    };
    if (cards.index != nullptr) {
        JugarIteracion(w, r, scratch.MuertoHoy, rng, play, Prefetcher(cards));
        return;
    }
    // Without an index the few lines an encounter reads stay in the nearer caches, and nothing is
    // asked ahead. Where every output is a constant, the encounters the selected cell does not
    // watch are played in place.
    if (!decidesByConstants(cards)) {
        JugarIteracion(w, r, scratch.MuertoHoy, rng, play);
        return;
    }
    // The sums are held through the round, and handed over to the general path for the pairs the
    // selected cell watches.
    const int selected = w.CasillaSel;
    encounterSteps::EncounterCommit<encounterSteps::HeldSums> commit(w, r, cards.settings);
    const auto handOver = [&](int jug1, int jug2, int prev1, int prev2) {
        commit.sums.finish(r);
        const std::uint8_t result = play(jug1, jug2, prev1, prev2);
        commit.sums.resume(r);
        return result;
    };
    if (cards.outputClasses == 0) {
        EncounterValues v;  // no view reads these encounters' values
        JugarIteracion(w, r, scratch.MuertoHoy, rng, [&](int jug1, int jug2, int prev1, int prev2) {
            if (jug1 == selected || jug2 == selected) return handOver(jug1, jug2, prev1, prev2);
            return playConstantEncounter(cards, commit, v, jug1, jug2, prev1, prev2);
        });
    } else {
        ClassTable table(cards);
        JugarIteracion(w, r, scratch.MuertoHoy, rng, [&](int jug1, int jug2, int prev1, int prev2) {
            if (jug1 == selected || jug2 == selected) return handOver(jug1, jug2, prev1, prev2);
            return commit.commit(table.outcome(cards, jug1, jug2), jug1, jug2, prev1, prev2);
        });
    }
    commit.sums.finish(r);
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
