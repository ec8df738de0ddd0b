#include <algorithm>

#include "world/neighbourhood.h"

namespace morvane {

const std::array<Offset, kNumPositions>& positionOffsets() {
    static const std::array<Offset, kNumPositions> offsets = {{
        {0, -1}, {1, -1}, {1, 0},  {1, 1},  {0, -2}, {1, -2},  {2, -2},  {2, -1},
        {2, 0},  {2, 1},  {2, 2},  {1, 2},  {0, 1},  {-1, 1},  {-1, 0},  {-1, -1},
        {0, 2},  {-1, 2}, {-2, 2}, {-2, 1}, {-2, 0}, {-2, -1}, {-2, -2}, {-1, -2},
    }};
    return offsets;
}

void BuildNeighbourTable(World& w) {
    const int cols = w.NumColumnas, rows = w.NumFilas;
    // Sized for every cell the loops below write, even when NumJugadores has not yet been
    // recomputed for new dimensions (the rows it would leave out hold nobody).
    const int cells = std::max<int>(w.NumJugadores, rows * cols);
    std::array<std::int16_t, kNumPositions> nobody;
    nobody.fill(kNoPartner);
    w.neighbourhood.Vecinos.assign(static_cast<std::size_t>(cells) + 1, nobody);
    const auto& off = positionOffsets();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int cell = w.cellAt(r, c);
            for (int j = 0; j < kNumPositions; ++j) {
                // Offsets of 2 wrap several times round worlds of one or two rows or columns.
                const int nr = ((r + off[j].dr) % rows + rows) % rows;
                const int nc = ((c + off[j].dc) % cols + cols) % cols;
                const int n = w.cellAt(nr, nc);
                w.vecino(cell, j) = (n == cell) ? kNoPartner : static_cast<std::int16_t>(n);
            }
        }
    }
}

WalkedPositions walkedPositions(std::uint8_t code) {
    return {code & 4, (code & 2) * 4 + 3, (code & 1) + 1};
}

int partnerCount(std::uint8_t code) {
    const auto p = walkedPositions(code);
    int n = 0;
    for (int k = p.first; k <= p.last; k += p.step) ++n;
    return 2 * n;
}

}  // namespace morvane
