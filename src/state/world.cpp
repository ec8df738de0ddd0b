#include "state/world.h"

#include <algorithm>

namespace morvane {

void CrearMundo(World& w) {
    w.NumJugadores = static_cast<std::int16_t>(w.NumColumnas * w.NumFilas);
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    for (auto& copy : w.genomes) copy.assign(cells, Genoma{});
    w.neighbourhood.Vecinos.assign(cells, {});
    ReiniciarTransicion(w);
    w.CasillaSel = initialSelectedCell(w);
}

void ReiniciarTransicion(World& w) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    w.Padres.assign(cells, {0, 0});
}

void PrepararCeldaCero(World& w) {
    const Genoma dead = deadSquareGenome();
    for (auto& copy : w.genomes) {
        if (copy.empty()) copy.resize(1);
        copy[0] = dead;
    }
}

std::int16_t initialSelectedCell(const World& w) {
    return static_cast<std::int16_t>(std::clamp<int>(w.NumJugadores, 1, 5));
}

void recomputeOpciones(World& w) {
    std::int16_t bits = 0;
    for (int k = 0; k < 10; ++k)
        if (w.options.mnuOpcion[k]) bits = static_cast<std::int16_t>(bits | (1 << k));
    w.options.Opciones[kActual] = bits;
}

void clickOpcion(World& w, int k) {
    auto& o = w.options;
    o.mnuOpcion[k] = !o.mnuOpcion[k];
    if (k == 7) {
        auto& code = w.neighbourhood.CodVecin[kActual];
        // Setting and clearing the bit is adding and subtracting 32 whenever code and tick agree,
        // and never wraps the code when a loaded file left them disagreeing.
        code = static_cast<std::uint8_t>(o.mnuOpcion[7] ? (code | 32) : (code & ~32));
    }
    recomputeOpciones(w);
}

void clickRegla(World& w, int k) {
    auto& o = w.options;
    if (o.mnuRegla[k]) return;
    o.mnuRegla = {false, false, false, false};
    o.mnuRegla[k] = true;
    o.Regla = static_cast<std::uint8_t>(k + 1);
}

void clickSuma(World& w, int k) {
    auto& o = w.options;
    if (o.mnuSuma[k]) return;
    o.mnuSuma = {false, false, false};
    o.mnuSuma[k] = true;
    o.ModoSuma = static_cast<std::uint8_t>(k + 1);
}

}  // namespace morvane
