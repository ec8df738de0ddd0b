#pragma once

#include <cstdint>

#include "core/generation_report.h"
#include "core/world.h"
#include "encounter/record_index_types.h"
#include "encounter/move_record.h"

namespace morvane {

using Memoria = IndiceRegistros::Memoria;

// Adds one record to a memory. A sequence holds at most 255 records of at most 100 each, so
// neither half of a running sum carries into the other.
inline void recordar(Memoria& m, int rol, bool disparo, std::uint8_t movA, std::uint8_t movB) {
    const std::uint32_t par = movA | static_cast<std::uint32_t>(movB) << 16;
    const int cuentaRol = m.cuenta[rol];
    const int total = m.cuenta[2];
    auto& ring = m.anillos[rol];
    auto& todos = m.anillos[2];
    const std::uint32_t sumaTodos = todos[total & 15] + par;
    const std::uint32_t sumaRol = ring[cuentaRol & 15] + par;
    todos[(total + 1) & 15] = sumaTodos;
    ring[(cuentaRol + 1) & 15] = sumaRol;
    // The byte fields last: a byte store may alias anything read after it.
    m.cuenta[rol] = static_cast<std::uint8_t>(cuentaRol + 1);
    m.cuenta[2] = static_cast<std::uint8_t>(total + 1);
    m.disparo[rol] = disparo ? 1 : 0;
    m.disparo[2] = disparo ? 1 : 0;
    m.rolUltimo = static_cast<std::uint8_t>(rol);
}

// The sums of MovA and MovB over all of a memory's records in role `rol`.
inline std::uint32_t sumaRol(const Memoria& m, int rol) {
    return m.anillos[rol][m.cuenta[rol] & 15];
}
inline int sumaA(std::uint32_t suma) {
    return static_cast<int>(suma & 0xFFFF);
}
inline int sumaB(std::uint32_t suma) {
    return static_cast<int>(suma >> 16);
}

// Sizes the index to the world, the report's record lists and the committed neighbourhood, with
// nothing indexed. The generation cycle calls it with the other accumulators.
void reiniciarIndiceRegistros(const World& w, const GenerationReport& r, IndiceRegistros& ix);

// Whether the index has the shape of the world and of its record lists.
inline bool indiceDimensionado(const World& w, const GenerationReport& r,
                               const IndiceRegistros& ix) {
    return ix.anchura == r.slotsPerCell &&
           ix.cabeceras.size() == static_cast<std::size_t>(w.NumJugadores) + 1;
}

// The cell's memory of a partner met for the first time, as its k-th.
Memoria& nuevaMemoria(IndiceRegistros& ix, int cell, int k, int socio);
// Where a memory past every cell's block lies in conSocio; the memory must exist.
std::size_t posicionFueraDeBloque(const IndiceRegistros& ix, int cell, int socio);

// Where a cell keeps its memory of a partner: the partner's number k among those the cell met (or
// the number it takes when met for the first time) and the memory's place in conSocio. A place
// rather than an address: a memory made for another cell may move the vector.
struct LugarSocio {
    static constexpr std::size_t kNueva = static_cast<std::size_t>(-1);
    int k = 0;
    std::size_t pos = kNueva;  // kNueva: not met yet
};

// A cell meets its partners in the same order round after round, so the entry after the last one
// used is nearly always the one asked for.
inline LugarSocio lugarSocio(const IndiceRegistros& ix, int cell, int socio) {
    const IndiceRegistros::Cabecera& c = ix.cabeceras[cell];
    const std::size_t base = static_cast<std::size_t>(cell) * ix.bloque;
    int k = c.siguiente == c.numSocios ? 0 : c.siguiente;
    if (k < c.numSocios && static_cast<std::size_t>(k) < ix.bloque &&
        ix.conSocio[base + k].socio == socio)
        return {k, base + k};
    if ((c.vistos >> (socio & 63) & 1) == 0) return {c.numSocios, LugarSocio::kNueva};
    const std::int16_t* socios = ix.socios.data() + cell * ix.anchura;
    for (k = 0; k < c.numSocios; ++k) {
        if (socios[k] != socio) continue;
        if (static_cast<std::size_t>(k) < ix.bloque) return {k, base + k};
        return {k, posicionFueraDeBloque(ix, cell, socio)};
    }
    return {c.numSocios, LugarSocio::kNueva};
}

// The memory at a place, or null for a partner not met yet.
inline const Memoria* memoriaEn(const IndiceRegistros& ix, LugarSocio lugar) {
    return lugar.pos == LugarSocio::kNueva ? nullptr : &ix.conSocio[lugar.pos];
}

// One cell's part of the record index, as a search reads it.
struct IndiceCelda {
    const IndiceRegistros* indice = nullptr;  // null: no usable index
    int celda = 0;

    bool disponible() const { return indice != nullptr; }
    const IndiceRegistros::Cabecera& cabecera() const { return indice->cabeceras[celda]; }
    // Slots 1..registros() are indexed.
    int registros() const { return cabecera().indexados; }
    // The memory of all the cell's records.
    const Memoria* deCelda() const { return &indice->deCelda[celda]; }
    // The memory of the cell's records with that partner; null when the cell has not met it.
    const Memoria* con(int socio) const {
        return memoriaEn(*indice, lugarSocio(*indice, celda, socio));
    }
};

// Adds a record and its two bytes to the cell's index, its partner's memory found at `lugar`; the
// cell's slots before it are already indexed.
inline void anotarEnIndice(IndiceRegistros& ix, int cell, int slot, std::int32_t record,
                           std::uint8_t movA, std::uint8_t movB, LugarSocio lugar) {
    IndiceRegistros::Cabecera& c = ix.cabeceras[cell];
    const auto socio = static_cast<std::int16_t>(registro::partner(record));
    const int rol = registro::role(record);
    const bool disparo = registro::fired(record);
    Memoria* m = nullptr;
    if (lugar.pos == LugarSocio::kNueva) {
        c.vistos |= std::uint64_t{1} << (socio & 63);
        m = &nuevaMemoria(ix, cell, lugar.k, socio);
        ++c.numSocios;
    } else {
        m = &ix.conSocio[lugar.pos];
    }
    recordar(*m, rol, disparo, movA, movB);
    recordar(ix.deCelda[cell], rol, disparo, movA, movB);
    // After the newest partner comes a partner not met yet while a cell's first round goes on,
    // and the first one again in the rounds after it.
    c.siguiente = static_cast<std::int16_t>(lugar.k + 1);
    c.ultimoSocio = socio;
    c.indexados = static_cast<std::int16_t>(slot);
}

inline void anadirAlIndice(IndiceRegistros& ix, int cell, int slot, std::int32_t record,
                           std::uint8_t movA, std::uint8_t movB) {
    anotarEnIndice(ix, cell, slot, record, movA, movB,
                   lugarSocio(ix, cell, registro::partner(record)));
}

// Re-sizes the index when the world's shape changed and rebuilds the cell's entries from its
// records 1..slot.
void reindexarCelda(const World& w, const GenerationReport& r, IndiceRegistros& ix, int cell,
                    int slot);

// Adds the record just written at the cell's slot. A cell whose records were written by other
// hands first has its index rebuilt from them, so the index always follows the records.
inline void indexarRegistro(const World& w, const GenerationReport& r, IndiceRegistros& ix,
                            int cell, int slot) {
    if (indiceDimensionado(w, r, ix) && ix.cabeceras[cell].indexados == slot - 1)
        anadirAlIndice(ix, cell, slot, r.jugadas(cell, slot), r.movA(cell, slot),
                       r.movB(cell, slot));
    else
        reindexarCelda(w, r, ix, cell, slot);
}

// The cell's index as it stands, for the live rounds of a generation: the cycle re-made the index
// for them and only their encounters write records, so it holds every cell's records.
inline IndiceCelda indiceCeldaVivo(const IndiceRegistros& ix, int cell) {
    return {&ix, cell};
}

// The cell's index when there is one and it holds exactly the cell's records; empty otherwise,
// and the searches then read the records one by one.
inline IndiceCelda indiceCelda(const World& w, const GenerationReport& r,
                               const IndiceRegistros* ix, int cell) {
    if (ix == nullptr || !indiceDimensionado(w, r, *ix)) return {};
    if (ix->cabeceras[cell].indexados != r.jugadas(cell, 0)) return {};
    return indiceCeldaVivo(*ix, cell);
}

}  // namespace morvane
