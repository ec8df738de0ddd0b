#include <algorithm>
#include <cmath>

#include "core/rng.h"
#include "strategy/genome.h"
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

int fieldLargest(int k) {
    using namespace packed;
    switch (k) {
        case kLimTipo:
            return kTipoMask / 8;
        case kLimProf:
            return kProfMask / 64;
        case kLimHistorial:
            return kHistorialMask / 1024;
        case kLimSenIC:
        case kLimSenIA:
        case kLimSenIP:
            return 100;
        case kLimIncerIC:
            return kIncerICMask;
        case kLimIncerIA:
            return kIncerIAMask / 128;
        case kLimCopia:
            return kCopiaMask / 16384;
        case kLimTriggerResp:
            return kRespMask;
        case kLimAquien:
            return kAquienMask / 256;
        case kLimCuando:
            return kCuandoMask / 512;
        default:
            return 255;
    }
}

int drawForField(const Rangos& r, Rng& rng, int k, int h) {
    return std::clamp(static_cast<int>(AzarEnRango(r, rng, k, h)), 0, fieldLargest(k));
}

}  // namespace morvane
