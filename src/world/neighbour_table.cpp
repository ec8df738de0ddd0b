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

void BuildNeighbourTable(Neighbourhood& n, int columns, int rows, int cells) {
    const int cols = columns;
    const auto cellAt = [cols](int r, int c) { return cols * r + c + 1; };
    std::array<std::int16_t, kNumPositions> nobody;
    nobody.fill(kNoPartner);
    n.Vecinos.assign(static_cast<std::size_t>(std::max(cells, rows * cols)) + 1, nobody);
    const auto& off = positionOffsets();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int cell = cellAt(r, c);
            for (int j = 0; j < kNumPositions; ++j) {
                // Offsets of 2 wrap several times round worlds of one or two rows or columns.
                const int nr = ((r + off[j].dr) % rows + rows) % rows;
                const int nc = ((c + off[j].dc) % cols + cols) % cols;
                const int other = cellAt(nr, nc);
                n.Vecinos[cell][j] = other == cell ? kNoPartner : static_cast<std::int16_t>(other);
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
