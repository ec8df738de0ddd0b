#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace morvane {

constexpr int kNumPositions = 24;

// A neighbour-table entry that names nobody: a cell that would only meet itself (a one-cell world,
// or a fixed position that wraps onto the cell on a world under 3 rows or columns) gets this
// instead of its own number; the scheduler and the transition search skip it.
constexpr std::int16_t kNoPartner = -1;

// Code and mask in two copies, [copia]: 0 committed at the last start or step, 1 live.
struct Neighbourhood {
    std::array<std::uint8_t, 2> CodVecin{2, 2};
    std::array<std::int32_t, 2> MascaraVecinos{16777215, 16777215};
    std::uint8_t Repes = 24;
    // Vecinos[cell][j]: the neighbour of cell at position j (cells 1..N; row 0 unused).
    std::vector<std::array<std::int16_t, kNumPositions>> Vecinos;
};

}  // namespace morvane
