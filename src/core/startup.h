#pragma once

#include "state/world.h"

namespace morvane {

class Rng;

// The process-wide defaults the start-up window sets when it loads: the Prisoner's dilemma and its
// analysis, thresholds, mutation frequency, chart period, neighbourhood type 12, run options and
// view word, the predefined strategies with their distribution, and the default limits. The world
// size takes the bars' start values (40 rows, 25 columns); no world exists yet.
void applyStartupDefaults(World& w);

// "Start": create the world for the current size and fill every cell at random.
void startWorld(World& w, Rng& rng);

// What the world window does to the world state when it loads: the count, the cooperation history
// and the transition results re-created, the view word decoded into the menus, all three indexes
// feeding the input until the first commit, the neighbour table built, the selected cell and both
// copies of cell 0 set.
void worldWindowLoad(World& w);

// Worlds shared by tests, benchmarks and the command line.
// The world "Start" makes with the start-up defaults (25 columns, 40 rows, every cell random), as
// the world window receives it.
void makeStartupWorld(World& w, Rng& rng);
// A world of the given size with the start-up defaults, every cell random, under neighbourhood
// type `type`, `iterations` rounds, Replicator Dynamics, crossover and mutation on.
void makeBusyWorld(World& w, Rng& rng, int columns, int rows, int type, int iterations);

}  // namespace morvane
