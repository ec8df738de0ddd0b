#pragma once

#include <cmath>
#include <cstdint>

namespace morvane {

// Conversions of floats to whole numbers round halves to the even digit, as the system has always
// done; std::nearbyint does exactly that under the default rounding mode.
inline double roundHalfEven(double x) {
    return std::nearbyint(x);
}

// Rounds to a number of decimals, halves to even on the decimal digit (0.3335 -> 0.334 only when
// the float really lies above the half). Used for shown values and the mixed game solution.
inline double roundDecimals(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(x * scale) / scale;
}

// Float to a whole-number field of the given range, halves to even, clamped into the field.
template <typename Int>
Int roundToField(double x, double lo, double hi) {
    double r = std::nearbyint(x);
    if (!(r >= lo)) r = lo;  // NaN lands on the low end
    if (r > hi) r = hi;
    return static_cast<Int>(r);
}

}  // namespace morvane
