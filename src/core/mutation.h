#pragma once

#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// Mutates the live genome of the cell: draws the parameter p (3..30), reads "Complete mutation
// [1]", draws the part h, then redraws parameter p of part h (or, under complete mutation, every
// parameter in table order, the sensibility triple by its first case only), and changes the
// colours as options [2] and [5] say. Records the mutation into `records` (when given) while the
// mutations view is ticked and has room.
void Mutar(World& w, Rng& rng, int cell, std::vector<MutationRecord>* records = nullptr);

// The view row (1..24) a mutation case marks.
int mutationViewRow(int p);

}  // namespace morvane
