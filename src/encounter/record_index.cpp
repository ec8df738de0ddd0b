#include "encounter/record_index.h"

#include "encounter/history.h"

namespace morvane {

namespace {

bool dimensionado(const World& w) {
    const World::IndiceRegistros& ix = w.indiceRegistros;
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    return ix.anchura == w.MovPosibles + 1u && ix.cabeceras.size() == cells;
}

void anadir(World::IndiceRegistros& ix, int cell, int slot, std::int32_t record) {
    World::IndiceRegistros::Cabecera& c = ix.cabeceras[cell];
    const std::size_t base = static_cast<std::size_t>(cell) * ix.anchura;
    const int socio = registro::partner(record);
    int k = c.siguiente;
    if (k >= c.numSocios || ix.socios[base + k] != socio) {
        k = 0;
        while (k < c.numSocios && ix.socios[base + k] != socio) ++k;
        if (k == c.numSocios) {
            ix.socios[base + k] = static_cast<std::int16_t>(socio);
            ix.ultimo[base + k] = 0;
            ++c.numSocios;
        }
    }
    ix.anterior[base + slot] = ix.ultimo[base + k];
    ix.ultimo[base + k] = static_cast<std::uint8_t>(slot);
    ix.anteriorRol[base + slot] = c.ultimoRol;
    c.ultimoRol[registro::role(record)] = static_cast<std::uint8_t>(slot);
    c.siguiente = static_cast<std::int16_t>(k + 1 == c.numSocios ? 0 : k + 1);
    c.indexados = static_cast<std::int16_t>(slot);
}

}  // namespace

void reiniciarIndiceRegistros(World& w) {
    World::IndiceRegistros& ix = w.indiceRegistros;
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    ix.anchura = w.MovPosibles + 1u;
    // Only the headers need clearing: nothing past them is ever read.
    ix.cabeceras.assign(cells, {});
    ix.anterior.resize(cells * ix.anchura);
    ix.anteriorRol.resize(cells * ix.anchura);
    ix.socios.resize(cells * ix.anchura);
    ix.ultimo.resize(cells * ix.anchura);
}

void indexarRegistro(World& w, int cell, int slot) {
    if (!w.usarIndiceRegistros) return;
    if (!dimensionado(w)) reiniciarIndiceRegistros(w);
    World::IndiceRegistros& ix = w.indiceRegistros;
    if (ix.cabeceras[cell].indexados != slot - 1) {
        ix.cabeceras[cell] = {};
        for (int i = 1; i < slot; ++i) anadir(ix, cell, i, w.jugadas(cell, i));
    }
    anadir(ix, cell, slot, w.jugadas(cell, slot));
}

IndiceCelda indiceCelda(const World& w, int cell) {
    if (!w.usarIndiceRegistros || !dimensionado(w)) return {};
    const World::IndiceRegistros& ix = w.indiceRegistros;
    const World::IndiceRegistros::Cabecera& c = ix.cabeceras[cell];
    if (c.indexados != w.jugadas(cell, 0)) return {};
    const std::size_t base = static_cast<std::size_t>(cell) * ix.anchura;
    return {ix.anterior.data() + base, ix.anteriorRol.data() + base, ix.socios.data() + base,
            ix.ultimo.data() + base, c};
}

}  // namespace morvane
