#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "world/neighbourhood_settings.h"

namespace morvane {

// Column and row offsets of the 24 positions round a cell; j and j + 12 are opposite.
struct Offset {
    int dc, dr;
};
const std::array<Offset, kNumPositions>& positionOffsets();

// Fill Vecinos for every cell of a columns x rows torus and every position. A position that wraps
// back onto the cell itself (worlds under 3 rows or columns) holds kNoPartner: a cell never meets
// itself. The table has rows for at least `cells` cells, so a count not yet recomputed for new
// dimensions still finds a row (holding nobody) for each of its cells.
void BuildNeighbourTable(Neighbourhood& n, int columns, int rows, int cells);

// The positions k (0..11) a code walks: first, last and step.
struct WalkedPositions {
    int first, last, step;
};
WalkedPositions walkedPositions(std::uint8_t code);
// Twice the number of positions the code walks: the partners a cell has under it.
int partnerCount(std::uint8_t code);

// Click on neighbourhood type i (0..14): sets CodVecin(1) (with 32 when option [7], "search always
// same neighbours", is ticked), Repes and MascaraVecinos(1).
void ChooseNeighbourhood(Neighbourhood& n, bool sameNeighbours, int i);

}  // namespace morvane
