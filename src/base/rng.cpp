#include "base/rng.h"

#include <chrono>

namespace morvane {

namespace {
std::uint64_t splitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
}  // namespace

Rng::Rng() {
    auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    seed64(static_cast<std::uint64_t>(ticks));
}

void Rng::seed64(std::uint64_t seed) {
    std::uint64_t x = seed;
    for (auto& word : s_) word = splitMix64(x);
}

}  // namespace morvane
