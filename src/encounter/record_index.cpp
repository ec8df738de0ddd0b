#include "encounter/record_index.h"

#include "encounter/history.h"

namespace morvane {

namespace {

bool dimensionado(const World& w) {
    const World::IndiceRegistros& ix = w.indiceRegistros;
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    return ix.anchura == w.MovPosibles + 1u && ix.indexados.size() == cells;
}

void anadir(World::IndiceRegistros& ix, int cell, int slot, int socio) {
    const std::size_t base = static_cast<std::size_t>(cell) * ix.anchura;
    std::int16_t& num = ix.numSocios[cell];
    int k = 0;
    while (k < num && ix.socios[base + k] != socio) ++k;
    if (k == num) {
        ix.socios[base + k] = static_cast<std::int16_t>(socio);
        ix.ultimo[base + k] = 0;
        ++num;
    }
    ix.anterior[base + slot] = ix.ultimo[base + k];
    ix.ultimo[base + k] = static_cast<std::uint8_t>(slot);
    ix.indexados[cell] = static_cast<std::int16_t>(slot);
}

}  // namespace

void reiniciarIndiceRegistros(World& w) {
    World::IndiceRegistros& ix = w.indiceRegistros;
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    ix.anchura = w.MovPosibles + 1u;
    // Only the counts need clearing: nothing past them is ever read.
    ix.anterior.resize(cells * ix.anchura);
    ix.socios.resize(cells * ix.anchura);
    ix.ultimo.resize(cells * ix.anchura);
    ix.numSocios.assign(cells, 0);
    ix.indexados.assign(cells, 0);
}

void indexarRegistro(World& w, int cell, int slot) {
    if (!w.usarIndiceRegistros) return;
    if (!dimensionado(w)) reiniciarIndiceRegistros(w);
    World::IndiceRegistros& ix = w.indiceRegistros;
    if (ix.indexados[cell] != slot - 1) {
        ix.numSocios[cell] = 0;
        for (int i = 1; i < slot; ++i) anadir(ix, cell, i, registro::partner(w.jugadas(cell, i)));
    }
    anadir(ix, cell, slot, registro::partner(w.jugadas(cell, slot)));
}

IndiceCelda indiceCelda(const World& w, int cell) {
    if (!w.usarIndiceRegistros || !dimensionado(w)) return {};
    const World::IndiceRegistros& ix = w.indiceRegistros;
    if (ix.indexados[cell] != w.jugadas(cell, 0)) return {};
    const std::size_t base = static_cast<std::size_t>(cell) * ix.anchura;
    return {ix.anterior.data() + base, ix.socios.data() + base, ix.ultimo.data() + base,
            ix.numSocios[cell], ix.indexados[cell]};
}

}  // namespace morvane
