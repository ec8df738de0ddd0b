#pragma once

#include "core/generation_scratch.h"
#include "core/scheduling.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// The run preparation before every start and every single step: commits MovPosibles with the
// iterations (held within 1..10), the neighbourhood code (rebuilding the table when it changed or
// option [7] is ticked), the option bits, the neighbourhood mask, the pay-off analysis, successive
// moves, the sensibility mask and CiEsExito.
void PrepararPaso(World& w);

// One generation, its phases in order: accumulators, random partners, the committed number of
// iterations, scoring, snapshot, transition rule, copy and mutation cell by cell, cooperation
// history. The state changes; the report receives what the generation leaves for the views.
void UnaGeneracion(World& w, GenerationReport& report, GenerationScratch& scratch, Rng& rng);

// Stores the two role averages of the cooperation history when Generacion is a sampling point
// (a multiple of PasoCoop, at most 100 samples); a PasoCoop below 1 samples nothing.
void sampleCooperationHistory(World& w, const GenerationReport& report);

}  // namespace morvane
