#pragma once

#include <cstdint>

namespace morvane {

// The first output of SplitMix64 started at state x.
std::uint64_t mix(std::uint64_t x);

// The seed of run (point, repetition) of a sweep seeded with `sweepSeed`. Paired sweeps give
// repetition r the same seed at every point, so points differ only in their settings.
std::uint64_t runSeed(std::uint64_t sweepSeed, std::uint64_t point, std::uint64_t repetition,
                      bool paired);

}  // namespace morvane
