#pragma once

#include "state/world.h"

namespace morvane {

class Rng;

// The editor's "Fill" with the left button: every cell that is not a blank square, in cell order,
// draws u and takes the selected strategy (cell 0's live genome) when u < probability. Blank
// squares draw nothing, so a layout of holes survives and the cells after them draw as before.
// Returns the cells painted.
int fillWithSelected(World& w, Rng& rng, float probability);

}  // namespace morvane
