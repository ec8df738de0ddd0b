#include "sweep/seeds.h"

namespace morvane {

std::uint64_t mix(std::uint64_t x) {
    std::uint64_t z = x + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t runSeed(std::uint64_t sweepSeed, std::uint64_t point, std::uint64_t repetition,
                      bool paired) {
    const std::uint64_t base = paired ? mix(sweepSeed) : mix(sweepSeed ^ point);
    return mix(base ^ repetition);
}

}  // namespace morvane
