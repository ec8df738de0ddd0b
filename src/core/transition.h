#pragma once

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// The four parent searches. Each opens every cell with the survival test, then weighs the cells of
// its imitation neighbourhood (the cell's own live imitation mask, or MascaraVecinos(1) when
// MismosVecinos is set) in position order, each cell once, blank squares never; it fills Padres
// and leaves what it looked at in the report's transitionTrace.
void ReglaMaxiMax(World& w, GenerationReport& rep);
// Also fills TiradaRuleta; two draws per searching cell.
void ReglaReplicador(World& w, GenerationReport& rep, Rng& rng);
void ReglaMejorEstrategia(World& w, GenerationReport& rep);
void ReglaMaxiMin(World& w, GenerationReport& rep);

// The rule Regla selects (1 Maxi Max, 2 Replicator Dynamics, 3 Best Strategy, 4 Maxi Min). A value
// outside 1..4, possible only from an edited file, runs Best Strategy, as a view word with no
// valid rule does. Leaves the rule that ran, the threshold it read and the parents it chose in the
// report's transition record.
void runTransitionRule(World& w, GenerationReport& rep, Rng& rng);

// 0 when cells a and b carry the same strategy in copy `copia` (colours ignored), 1 otherwise.
int MismoGenoma(const World& w, int a, int b, int copia);

// Writes copy `to` of cell dest from copy `from` of cells a and b, locus by locus (37 loci: 15 per
// part, the imitation mask, three background and three font colour components). Under imitation
// (option [8]) every locus comes from a and the cut point returned, PuntoCorte(dest), is -1; under
// crossover a cut c in 1..37 and a side are drawn and c is returned. With keepFont = 1 dest keeps
// its own font colour in copy `to`.
int CopiarGenoma(World& w, Rng& rng, int dest, int a, int b, int from, int to, int keepFont);

// The locus (1..37) that holds part p's field K (1..15) is 15p + K.
constexpr int kNumLoci = 37;

}  // namespace morvane
