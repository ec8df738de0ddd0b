#pragma once

#include <cstdint>
#include <vector>

#include "base/rng.h"
#include "core/generation_scratch.h"
#include "state/generation_report.h"
#include "state/world.h"
#include "world/neighbourhood.h"

namespace morvane {

// Whether each cell is an ordinary bug: no encounter changes a genome, so an iteration reads the
// genomes once instead of at every pair.
std::vector<std::uint8_t> ordinaryBugs(const World& w);

namespace scheduling {

// What a round reads of the records and who dropped out, held in locals: the arrays keep their size
// through the round, and the encounter's byte stores could otherwise make every check reload them.
struct RoundView {
    const std::int32_t* counts;  // [cell]: the report's slot 0, each cell's record count
    std::uint8_t* muertoHoy;
    const std::uint8_t* ordinary;
    int movPosibles;

    int count(int cell) const { return counts[cell]; }
    // Ordinary bugs still in play today with room for one more record.
    bool canPlay(int cell) const {
        return ordinary[cell] != 0 && muertoHoy[cell] == 0 && count(cell) < movPosibles;
    }
};

// Told nothing of the pairs to come.
struct NoAnnouncement {
    void operator()(int, int) const {}
};

}  // namespace scheduling

// One iteration: for every walked position of the committed neighbourhood code (outer loop) and
// every cell (inner loop), the cell meets its neighbour at that position when both are ordinary
// bugs, neither died today (muertoHoy) and both still have room for a record in the report; only
// then is the role drawn. `play(jug1, jug2, prev1, prev2)` plays the encounter between the role-1
// cell jug1 and the role-2 cell jug2, who had prev1 and prev2 records before it, and returns the
// survive-today bits (bit 0 for jug1, bit 1 for jug2). Before each pair plays, `announce` is told
// the pair after it, so that its data can be on its way while this one plays.
// The committed code: a type chosen while the run goes on takes effect at the next start or step,
// together with the neighbour table built for it.
template <typename Play, typename Announce = scheduling::NoAnnouncement>
void JugarIteracion(const World& w, const GenerationReport& r, std::vector<std::uint8_t>& muertoHoy,
                    Rng& rng, Play&& play, const Announce& announce = {}) {
    const WalkedPositions walk = walkedPositions(w.neighbourhood.CodVecin[kPrevio]);
    const std::vector<std::uint8_t> ordinary = ordinaryBugs(w);
    const scheduling::RoundView v{r.Jugadas.data(), muertoHoy.data(), ordinary.data(),
                                  w.MovPosibles};
    const int n = w.NumJugadores;
    const auto* table = w.neighbourhood.Vecinos.data();
    for (int k = walk.first; k <= walk.last; k += walk.step) {
        for (int i = 1; i <= n; ++i) {
            if (i < n) announce(i + 1, table[i + 1][k]);
            const int j = table[i][k];
            if (j == kNoPartner || !v.canPlay(i) || !v.canPlay(j)) continue;
            const int countI = v.count(i) & 0xFF;
            const int countJ = v.count(j) & 0xFF;
            // The neighbour plays role 1 on r <= 0.5. The roles are swapped by a mask rather than a
            // branch: the draw is a coin toss no predictor can learn.
            const int swap = -static_cast<int>(rng.atMostHalf());
            const int jug1 = i ^ ((i ^ j) & swap), jug2 = j ^ ((i ^ j) & swap);
            const int prev1 = countI ^ ((countI ^ countJ) & swap);
            const int prev2 = countJ ^ ((countI ^ countJ) & swap);
            const std::uint8_t result = play(jug1, jug2, prev1, prev2);
            v.muertoHoy[jug1] = static_cast<std::uint8_t>(result & 1);
            v.muertoHoy[jug2] = static_cast<std::uint8_t>(result & 2);
        }
    }
}

// The same iteration as the live cycle plays it: JugarPartida on the generation's cards and
// record index, with the next pair's data requested from memory while a pair plays.
void playLiveIteration(const World& w, GenerationReport& r, GenerationScratch& scratch, Rng& rng);

// Draws this generation's random partners into the random positions of the neighbour table: one
// draw per cell and random position, so the number of draws never depends on the world.
void EmparejarAzar(World& w, Rng& rng);

}  // namespace morvane
