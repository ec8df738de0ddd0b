#pragma once

#include "state/world.h"
#include "world/neighbourhood.h"

namespace morvane {

// The world's neighbour table for its size.
inline void BuildNeighbourTable(World& w) {
    BuildNeighbourTable(w.neighbourhood, w.NumColumnas, w.NumFilas, w.NumJugadores);
}

// A type chosen in the "Neighbourhoods" window, with option [7] as the menu holds it.
inline void ChooseNeighbourhood(World& w, int i) {
    ChooseNeighbourhood(w.neighbourhood, w.options.mnuOpcion[7], i);
}

}  // namespace morvane
