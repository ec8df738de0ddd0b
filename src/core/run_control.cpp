#include "core/generation.h"
#include "core/rng.h"
#include "encounter/encounter.h"

namespace morvane {

// The live cycle plays its encounters with JugarPartida on the same generator, which serves the
// encounters' ad-hoc random outputs.
void UnaGeneracion(World& w, Rng& rng) {
    UnaGeneracion(w, rng, [&rng](World& world, int jug1, int jug2, int prev1, int prev2) {
        return JugarPartida(world, jug1, jug2, prev1, prev2, 1, rng);
    });
}

void singleStep(World& w, Rng& rng) {
    PrepararPaso(w);
    rng.reseedFromClock();
    UnaGeneracion(w, rng);
}

}  // namespace morvane
