#pragma once

#include <string>

namespace morvane {

// A number as the grids, tooltips and views show it: rounded (halves to even) to at most
// `decimals` decimals, without trailing zeros, with a decimal point whatever the locale ("0.25",
// "3", "-1.5"; 0.6875 at 3 decimals "0.688"). A negative zero shows as "0", a NaN as "NaN", an
// infinity as "Inf"; every finite double is written out in full.
std::string shownNumber(double x, int decimals);

}  // namespace morvane
