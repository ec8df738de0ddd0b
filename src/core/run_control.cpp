#include "core/generation.h"
#include "core/rng.h"
#include "encounter/encounter.h"

namespace morvane {

// The live cycle plays its encounters with JugarPartida on the same generator, which serves the
// encounters' ad-hoc random outputs. Nothing before or during the rounds changes a live genome or
// a setting the encounters read, so what they read is worked out once, here.
void UnaGeneracion(World& w, Rng& rng) {
    const FichasGeneracion fichas = prepararFichas(w);
    UnaGeneracion(w, rng, [&](World& world, int jug1, int jug2, int prev1, int prev2) {
        return JugarPartida(world, fichas, jug1, jug2, prev1, prev2, rng);
    });
}

void singleStep(World& w, Rng& rng) {
    PrepararPaso(w);
    rng.reseedFromClock();
    UnaGeneracion(w, rng);
}

}  // namespace morvane
