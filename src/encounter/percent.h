#pragma once

#include <array>
#include <cstdint>

namespace morvane {

// Whole percentages 0..255 as fractions: entry v is the float quotient v / 100, worked out at
// compile time with the same rounding, so a look-up replaces a division on the encounter's path.
inline constexpr std::array<float, 256> kHundredths = [] {
    std::array<float, 256> t{};
    for (int v = 0; v < 256; ++v) t[v] = static_cast<float>(v) / 100.0f;
    return t;
}();

inline float hundredth(std::uint8_t v) {
    return kHundredths[v];
}

}  // namespace morvane
