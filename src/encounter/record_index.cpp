#include "encounter/record_index.h"

#include <algorithm>

#include "world/neighbourhood.h"

namespace morvane {

namespace {

// An empty memory of the cell's records with `socio` (0: with anybody). A ring entry is read only
// once written, but for the sums before the first record: clearing those and the counts is enough.
void limpiarMemoria(Memoria& m, int cell, int socio) {
    for (auto& anillo : m.anillos) anillo[0] = 0;
    m.cuenta = {};
    m.disparo = {};
    m.rolUltimo = 0;
    m.duena = static_cast<std::int16_t>(cell);
    m.socio = static_cast<std::int16_t>(socio);
}

}  // namespace

void reiniciarIndiceRegistros(const World& w, const GenerationReport& r, IndiceRegistros& ix) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    ix.anchura = r.slotsPerCell;
    // Every cell meets at most the partners its neighbourhood gives it, unless a caller pairs
    // cells otherwise; those further partners go past the blocks.
    const int partners = partnerCount(w.vecindad.CodVecin[kPrevio]);
    ix.bloque = static_cast<std::size_t>(std::clamp(partners, 1, static_cast<int>(ix.anchura)));
    ix.cabeceras.assign(cells, {});
    ix.deCelda.resize(cells);
    for (std::size_t c = 0; c < cells; ++c) limpiarMemoria(ix.deCelda[c], static_cast<int>(c), 0);
    // A partner's memory is cleared when the cell first meets it, and only the first numSocios
    // partners of a cell are read: the blocks need no clearing here.
    ix.socios.resize(cells * ix.anchura);
    ix.conSocio.resize(cells * ix.bloque);
}

Memoria& nuevaMemoria(IndiceRegistros& ix, int cell, int k, int socio) {
    ix.socios[cell * ix.anchura + k] = static_cast<std::int16_t>(socio);
    Memoria& m = static_cast<std::size_t>(k) < ix.bloque ? ix.conSocio[cell * ix.bloque + k]
                                                         : ix.conSocio.emplace_back();
    // Cleared in place: the block entry may hold a memory of the generation before.
    limpiarMemoria(m, cell, socio);
    return m;
}

std::size_t posicionFueraDeBloque(const IndiceRegistros& ix, int cell, int socio) {
    const auto mas =
        ix.conSocio.begin() + static_cast<std::ptrdiff_t>(ix.cabeceras.size() * ix.bloque);
    const auto it = std::find_if(mas, ix.conSocio.end(), [&](const Memoria& m) {
        return m.duena == cell && m.socio == socio;
    });
    return static_cast<std::size_t>(it - ix.conSocio.begin());
}

void reindexarCelda(const World& w, const GenerationReport& r, IndiceRegistros& ix, int cell,
                    int slot) {
    if (!indiceDimensionado(w, r, ix)) reiniciarIndiceRegistros(w, r, ix);
    // The cell's memories past the blocks are let go, to be made afresh as the records name
    // their partners again.
    for (auto m =
             ix.conSocio.begin() + static_cast<std::ptrdiff_t>(ix.cabeceras.size() * ix.bloque);
         m != ix.conSocio.end(); ++m)
        if (m->duena == cell) m->duena = -1;
    ix.cabeceras[cell] = {};
    ix.deCelda[cell] = {};
    for (int i = 1; i <= slot; ++i)
        anadirAlIndice(ix, cell, i, r.jugadas(cell, i), r.movA(cell, i), r.movB(cell, i));
}

}  // namespace morvane
