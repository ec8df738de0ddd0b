#include <cmath>

#include "games/payoff.h"

namespace morvane {

float DispositionToProb(float p, float d) {
    if (p <= 0.0f || p >= 1.0f) return d;
    const float b = (d + 0.5f >= 1.0f) ? 1.0f : 0.0f;
    return b * p + 2.0f * (d - b / 2.0f) * std::fabs(b - p);
}

}  // namespace morvane
