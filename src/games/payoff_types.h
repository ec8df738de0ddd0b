#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace morvane {

// Per-role arrays are indexed by role 1 and 2 (index 0 unused); two-copy arrays by [copia][role].
struct PayoffMatrix {
    std::array<float, 3> T{}, R{}, P{}, S{};
    std::int16_t GameIndex = 1;

    // Derived by UpdatePayoffMatrix, never edited directly.
    std::array<float, 3> PayoffMax{}, PayoffMin{};
    std::array<std::array<std::int16_t, 3>, 2> AbsoluteMove{}, OtherMove{};
    std::array<std::array<float, 3>, 2> EquilibriumAbsProb{};
    std::array<std::array<float, 3>, 2> PayoffCoefConst{}, PayoffCoefOwn{}, PayoffCoefOther{},
        PayoffCoefXY{};
    std::array<std::string, 3> MoveLabelAbs, MoveLabelOther;
};

// The eight pay-offs in the order of the window's boxes: T1, T2, R1, R2, P1, P2, S1, S2.
using PayoffCopy = std::array<float, 8>;

}  // namespace morvane
