#include <algorithm>
#include <cmath>

#include "core/rng.h"
#include "strategy/limits.h"

namespace morvane {

std::int16_t AzarEnRango(const Rangos& r, Rng& rng, int k, int h) {
    const auto lo = static_cast<float>(r.limites[k][h][0]);
    const auto hi = static_cast<float>(r.limites[k][h][1]);
    const float u = rng.uniform();
    const float v = std::floor((hi - lo) * u + 0.5f) + lo;
    // Limits read from a file may lie beyond a 16-bit value; the draw stops at its ends.
    return static_cast<std::int16_t>(std::clamp(v, -32768.0f, 32767.0f));
}

}  // namespace morvane
