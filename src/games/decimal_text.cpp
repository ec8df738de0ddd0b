#include "games/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/numeric.h"

namespace morvane {

namespace {

std::string withoutTrailingZeros(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

}  // namespace

std::string decimalText(float value) {
    if (value == 0.0f) return "0";  // also a negative zero
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : "Inf";
    // The largest float written out in full has 39 digits.
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), res.ptr);
}

std::string decimalText(double value, int decimals) {
    const double r = roundDecimals(value, decimals) + 0.0;  // + 0.0 turns -0 into 0
    if (!std::isfinite(r)) return std::isnan(r) ? "NaN" : "Inf";
    std::array<char, 400> buf{};
    std::snprintf(buf.data(), buf.size(), "%.*f", decimals, r);
    return withoutTrailingZeros(buf.data());
}

}  // namespace morvane
