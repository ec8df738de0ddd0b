#pragma once

#include <array>
#include <cstdint>

#include "core/world.h"

namespace morvane {

// One cell's part of the record index, as a search reads it: for every slot the cell's previous
// slot with the same partner and with each role, and the partners met with the newest slot of
// each.
struct IndiceCelda {
    const std::uint8_t* anterior = nullptr;  // by slot; null when the cell has no usable index
    const std::array<std::uint8_t, 2>* anteriorRol = nullptr;  // by slot, then role
    const std::int16_t* socios = nullptr;
    const std::uint8_t* ultimo = nullptr;
    World::IndiceRegistros::Cabecera cabecera;

    bool disponible() const { return anterior != nullptr; }
    // Slots 1..registros() are indexed.
    int registros() const { return cabecera.indexados; }
    // The newest indexed slot with that partner; 0 when the cell has not met it. A cell meets its
    // partners in the same order round after round, so the entry after the last one used is
    // nearly always the one asked for.
    int ultimoCon(int socio) const {
        const int guess = cabecera.siguiente;
        if (guess < cabecera.numSocios && socios[guess] == socio) return ultimo[guess];
        for (int k = 0; k < cabecera.numSocios; ++k)
            if (socios[k] == socio) return ultimo[k];
        return 0;
    }
};

// Sizes the index to the world and the current MovPosibles, with nothing indexed. The generation
// cycle calls it with the other accumulators.
void reiniciarIndiceRegistros(World& w);

// Adds the record just written at the cell's slot. A cell whose records were written by other
// hands first has its index rebuilt from them, so the index always follows the records.
void indexarRegistro(World& w, int cell, int slot);

// The cell's index when it is in use and holds exactly the cell's records; empty otherwise, and
// the searches then read the records one by one.
IndiceCelda indiceCelda(const World& w, int cell);

}  // namespace morvane
