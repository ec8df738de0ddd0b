#pragma once

#include "state/generation_report.h"
#include "state/world.h"
#include "strategy/genome.h"

namespace morvane {

class Rng;

// Turns each cell's collected pay-off into its score by ModoSuma (1 the sum, 2 per move played,
// 3 per potential move; any other value, possible only from an edited file, divides as 3, as a view
// word with no valid mode does) and records the statistics of the cells that played as ordinary
// bugs. With no potential move at all the scores stay 0.
void scoreGeneration(const World& w, GenerationReport& rep);

// Under Maxi Max, whether a cell that is no blank square dies (both parents 0) by its score and its
// live part-0 Busqueda: a low scorer (below `survival`, UmbralSupervivencia) or a dead square,
// unless it reaches `reproduction` (UmbralReproduccion), which rescues the one and keeps the other
// as it is.
inline bool diesUnderMaxiMax(float score, std::int16_t busqueda, float survival,
                             float reproduction) {
    return (score < survival || isDeadSquare(busqueda)) && score < reproduction;
}

// The survival test that opens every transition rule. Sets Padres(cell, 0..1) to -1 for a blank
// square, 0 for a cell that dies, or the cell itself for one that survives (under Maxi Max only
// the first parent, the second keeps its value). Returns whether the parent search runs for it.
bool classifySurvival(World& w, const GenerationReport& rep, int cell);

// Whether the rule left a cell its own genome: it is its own first parent, or a blank square.
inline bool keepsItsGenome(const World& w, int cell) {
    const int v = w.Padres[cell][0];
    return v == cell || v < 0;
}

// Carries out the transition of one cell after the rule chose its parents: copies the parents'
// previous genomes into its live genome, or nothing when it keeps its own (keepsItsGenome). A copy
// leaves its cut point in the report.
void carryOutTransition(World& w, GenerationReport& rep, Rng& rng, int cell);

}  // namespace morvane
