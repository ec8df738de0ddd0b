#pragma once

#include <cstdint>
#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane::testing {

// A 64-bit FNV-1a digest of everything a generation leaves behind: both genome copies field by
// field, the scores, the move records, the out-of-play marks (muertoHoy), the roulette draws, the
// parents and cut points, the chart sums and history, and the generation counter. Floats enter by
// their bits, so two runs with equal digests agree to the last bit.
std::uint64_t worldDigest(const World& w, const GenerationReport& r,
                          const std::vector<std::uint8_t>& muertoHoy);

// Folds a digest into a running one (the digest of a whole run, generation after generation).
std::uint64_t foldDigest(std::uint64_t running, std::uint64_t digest);

}  // namespace morvane::testing
