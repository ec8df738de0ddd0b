#include "base/shown_number.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "base/numeric.h"

namespace morvane {

std::string shownNumber(double x, int decimals) {
    const double r = roundDecimals(x, decimals) + 0.0;  // + 0.0 turns -0 into 0
    if (!std::isfinite(r)) return std::isnan(r) ? "NaN" : "Inf";
    // The largest double has 309 digits before the point.
    std::array<char, 400> buf{};
    std::snprintf(buf.data(), buf.size(), "%.*f", decimals, r);
    std::string_view s(buf.data());
    if (s.find('.') != std::string_view::npos) {
        while (s.back() == '0') s.remove_suffix(1);
        if (s.back() == '.') s.remove_suffix(1);
    }
    return std::string(s);
}

}  // namespace morvane
