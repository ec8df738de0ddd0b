#include "core/generation.h"
#include "core/rng.h"

namespace morvane {

void singleStep(World& w, Rng& rng) {
    PrepararPaso(w);
    rng.reseedFromClock();
    UnaGeneracion(w, rng);
}

}  // namespace morvane
