#include <algorithm>

#include "core/generation.h"
#include "games/payoff.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

// The move records of the last generation are laid out with MovPosibles + 1 slots per cell. When
// the run preparation changes that count, the records move to the new layout (the moves that
// still fit are kept) so the tables that replay the last generation read them where they are.
void relayoutMoveRecords(World& w, std::uint8_t movPosibles) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    const std::size_t oldWidth = w.MovPosibles + 1u, newWidth = movPosibles + 1u;
    if (w.Jugadas.size() != cells * oldWidth) {
        w.MovPosibles = movPosibles;
        NuevaGeneracionAcumuladores(w);
        return;
    }
    auto relayout = [&](auto& v) {
        std::remove_reference_t<decltype(v)> out(cells * newWidth);
        const std::size_t keep = std::min(oldWidth, newWidth);
        for (std::size_t c = 0; c < cells; ++c)
            std::copy_n(v.begin() + c * oldWidth, keep, out.begin() + c * newWidth);
        v.swap(out);
    };
    relayout(w.Jugadas);
    relayout(w.MovA);
    relayout(w.MovB);
    for (std::size_t c = 0; c < cells; ++c) {
        auto& count = w.Jugadas[c * newWidth];
        count = std::min<std::int32_t>(count, movPosibles);
    }
    w.MovPosibles = movPosibles;
}

}  // namespace

void PrepararPaso(World& w) {
    const int iterations = std::clamp<int>(w.Iteraciones, 1, 10);
    const int n = std::min(iterations * w.vecindad.Repes, 255);
    if (n != w.MovPosibles) relayoutMoveRecords(w, static_cast<std::uint8_t>(n));
    w.IteracionesComprometidas = static_cast<std::uint8_t>(iterations);

    auto& v = w.vecindad;
    if (w.opciones.mnuOpcion[7] || v.CodVecin[kPrevio] != v.CodVecin[kActual]) {
        v.CodVecin[kPrevio] = v.CodVecin[kActual];
        BuildNeighbourTable(w);
    }

    auto& o = w.opciones;
    o.Opciones[kPrevio] = o.Opciones[kActual];
    o.MismosVecinos = o.mnuOpcion[7];
    v.MascaraVecinos[kPrevio] = v.MascaraVecinos[kActual];
    commitPayoffAnalysis(w.pagos);
    o.SucesivasActivo = o.mnuOpcion[4];
    o.SenMask = static_cast<std::uint8_t>(o.chkSen[0] + 2 * o.chkSen[1] + 4 * o.chkSen[2]);
    o.CiEsExito = o.CiEsExitoMenu;
}

}  // namespace morvane
