#pragma once

#include <cstdint>

#include "core/world.h"

namespace morvane {

class Rng;

// A whole number within the limits of parameter k (0..30) of part h: floor((Max - Min) u + 0.5) + Min.
// Min and Max come out half as often as the values between them.
std::int16_t AzarEnRango(const Rangos& r, Rng& rng, int k, int h);

// The start values of the limits and their bounds (identical for both parts).
Rangos defaultRangos();

}  // namespace morvane
