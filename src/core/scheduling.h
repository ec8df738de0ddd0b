#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/generation_scratch.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// Plays one encounter between the role-1 cell jug1 and the role-2 cell jug2, who had prev1 and
// prev2 records before it, and returns the survive-today bits (bit 0 for jug1, bit 1 for jug2).
using EncounterFn = std::function<std::uint8_t(int jug1, int jug2, int prev1, int prev2)>;

// One iteration: for every walked position of the committed neighbourhood code (outer loop) and
// every cell (inner loop), the cell meets its neighbour at that position when both are ordinary
// bugs, neither died today (muertoHoy) and both still have room for a record in the report; only
// then is the role drawn. The encounter itself is `play`'s.
void JugarIteracion(const World& w, GenerationReport& r, std::vector<std::uint8_t>& muertoHoy,
                    Rng& rng, const EncounterFn& play);

// The same iteration as the live cycle plays it: JugarPartida on the generation's cards and
// record index, with the next pair's data requested from memory while a pair plays.
void playLiveIteration(const World& w, GenerationReport& r, GenerationScratch& scratch, Rng& rng);

// Draws this generation's random partners into the random positions of the neighbour table: one
// draw per cell and random position, so the number of draws never depends on the world.
void EmparejarAzar(World& w, Rng& rng);

}  // namespace morvane
