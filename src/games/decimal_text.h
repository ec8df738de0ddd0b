#pragma once

#include <string>

namespace morvane {

// A float as the pay-offs window shows it in a box: the shortest decimal text that reads back as
// the same float, never in exponent form ("0.1", "4", "-2.5").
std::string decimalText(float value);

// A value rounded to the given number of decimals, halves to even, with trailing zeros dropped:
// 0.25 -> "0.25", 1.0 -> "1", 0.6875 at 3 decimals -> "0.688". A negative zero shows as "0".
std::string decimalText(double value, int decimals);

}  // namespace morvane
