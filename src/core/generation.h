#pragma once

#include "core/scheduling.h"
#include "core/world.h"

namespace morvane {

class Rng;

// The run preparation before every start and every single step: commits MovPosibles with the
// iterations (held within 1..10), the neighbourhood code (rebuilding the table when it changed or
// option [7] is ticked), the option bits, the neighbourhood mask, the pay-off analysis, successive
// moves, the sensibility mask and CiEsExito.
void PrepararPaso(World& w);

// One generation, its phases in order: accumulators, random partners, the committed number of
// iterations, scoring, snapshot, transition rule, copy and mutation cell by cell, cooperation
// history. The first form plays the encounters with JugarPartida; the second with `play`.
void UnaGeneracion(World& w, Rng& rng);
void UnaGeneracion(World& w, Rng& rng, const EncounterFn& play);

// What a click on the run button with any button but the left one does: prepare, then one
// generation.
void singleStep(World& w, Rng& rng);

// Stores the two role averages of the cooperation history when Generacion is a sampling point
// (a multiple of PasoCoop, at most 100 samples); a PasoCoop below 1 samples nothing.
void sampleCooperationHistory(World& w);

}  // namespace morvane
