#include "encounter/number_text.h"

#include <cstdio>

#include "core/numeric.h"

namespace morvane {

std::string textoDecimal(double x, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, roundDecimals(x, decimals));
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

}  // namespace morvane
