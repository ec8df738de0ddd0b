#include <cmath>

#include "core/rng.h"
#include "strategy/limits.h"

namespace morvane {

std::int16_t AzarEnRango(const Rangos& r, Rng& rng, int k, int h) {
    const auto lo = static_cast<float>(r.limites[k][h][0]);
    const auto hi = static_cast<float>(r.limites[k][h][1]);
    const float u = rng.uniform();
    return static_cast<std::int16_t>(std::floor((hi - lo) * u + 0.5f) + lo);
}

}  // namespace morvane
