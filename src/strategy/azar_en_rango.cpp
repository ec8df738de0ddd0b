#include <algorithm>

#include "base/rng.h"
#include "strategy/genome.h"
#include "strategy/limits.h"

namespace morvane {

std::int16_t AzarEnRango(const Rangos& r, Rng& rng, int k, int h) {
    const std::int64_t lo = r.limits[k][h][0];
    const std::int64_t hi = r.limits[k][h][1];
    const std::int64_t v = rng.integer(static_cast<double>(hi - lo), 0.5) + lo;
    // Limits read from a file may lie beyond a 16-bit value; the draw stops at its ends.
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
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
