#pragma once

#include <cstdint>

#include "core/world.h"

namespace morvane {

// One cell's part of the record index, as a search reads it: for every slot the cell's previous
// slot with the same partner, and the partners met with the newest slot of each.
struct IndiceCelda {
    const std::uint8_t* anterior = nullptr;  // by slot; null when the cell has no usable index
    const std::int16_t* socios = nullptr;
    const std::uint8_t* ultimo = nullptr;
    int numSocios = 0;
    int registros = 0;  // slots 1..registros are indexed

    bool disponible() const { return anterior != nullptr; }
    // The newest indexed slot with that partner; 0 when the cell has not met it.
    int ultimoCon(int socio) const {
        for (int k = 0; k < numSocios; ++k)
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
