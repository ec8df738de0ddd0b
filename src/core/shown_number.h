#pragma once

#include <cstdio>
#include <string>

#include "core/numeric.h"

namespace morvane {

// A number as the views show it: rounded (halves to even) to at most `decimals` decimals, without
// trailing zeros, with a decimal point whatever the locale ("0.25", "3", "-1.5").
inline std::string shownNumber(double x, int decimals) {
    const double r = roundDecimals(x, decimals);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r == 0 ? 0.0 : r);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

}  // namespace morvane
