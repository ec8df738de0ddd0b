#include <algorithm>

#include "core/generation.h"
#include "core/neighbourhood_setup.h"
#include "games/payoff.h"

namespace morvane {

void PrepararPaso(World& w) {
    const int iterations = std::clamp<int>(w.Iteraciones, 1, 10);
    const int n = std::min(iterations * w.neighbourhood.Repes, 255);
    // The last generation's records keep the layout they were written in; the next generation
    // lays its records out for the new count.
    w.MovPosibles = static_cast<std::uint8_t>(n);
    w.IteracionesComprometidas = static_cast<std::uint8_t>(iterations);

    auto& v = w.neighbourhood;
    if (w.options.mnuOpcion[7] || v.CodVecin[kPrevio] != v.CodVecin[kActual]) {
        v.CodVecin[kPrevio] = v.CodVecin[kActual];
        BuildNeighbourTable(w);
    }

    auto& o = w.options;
    o.Opciones[kPrevio] = o.Opciones[kActual];
    o.MismosVecinos = o.mnuOpcion[7];
    v.MascaraVecinos[kPrevio] = v.MascaraVecinos[kActual];
    commitPayoffAnalysis(w.payoffs);
    o.SucesivasActivo = o.mnuOpcion[4];
    o.SenMask = static_cast<std::uint8_t>(o.chkSen[0] + 2 * o.chkSen[1] + 4 * o.chkSen[2]);
    o.CiEsExito = o.CiEsExitoMenu;
}

}  // namespace morvane
