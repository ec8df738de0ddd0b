#pragma once

#include "state/world.h"

namespace morvane {

class Rng;

// Fill modes: every cell random, or by the distribution of the strategy list. Any other mode fills
// nothing (the middle mouse button on "New").
constexpr int kFillAtRandom = 1;
constexpr int kFillByDistribution = 2;

// Fills every cell that is not a blank square, in cell order, and gives each filled cell the
// neutral previous copy. Blank squares are never touched, so a layout of holes survives every
// refill. Mode 2 draws one number per cell and copies the chosen list slot (slot 20 seeds a random
// genome); with no active, non-zero portion it changes nothing.
void LlenarMundo(World& w, Rng& rng, int modo);

// A random live genome for `cell`, within the limits of w.Rangos; both parts, the imitation mask
// and the six colour components. The curve inputs come out in order (X1 < X2) and the three
// sensibilities add up to 100.
void AzarCasilla(World& w, Rng& rng, int cell);

// The neutral previous copy a freshly filled cell shows until the first snapshot.
void VaciarPrevio(World& w, int cell);

}  // namespace morvane
