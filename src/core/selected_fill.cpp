#include "core/selected_fill.h"

#include "base/copies.h"
#include "base/rng.h"

namespace morvane {

int fillWithSelected(World& w, Rng& rng, float probability) {
    const Genoma selected = w.genoma(kActual, 0);
    int painted = 0;
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        Genoma& g = w.genoma(kActual, cell);
        if (isBlankSquare(g)) continue;
        if (rng.uniform() < probability) {
            g = selected;
            ++painted;
        }
    }
    return painted;
}

}  // namespace morvane
