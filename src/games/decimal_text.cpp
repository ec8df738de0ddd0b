#include "games/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace morvane {

std::string decimalText(float value) {
    if (value == 0.0f) return "0";  // also a negative zero
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : "Inf";
    // The largest float written out in full has 39 digits.
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), res.ptr);
}

}  // namespace morvane
