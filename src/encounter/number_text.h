#pragma once

#include <string>

namespace morvane {

// A number as the views write it: rounded to the given decimals (halves to even) and written in
// plain decimal form without trailing zeros ("0.5", "1", "0.333").
std::string textoDecimal(double x, int decimals);

}  // namespace morvane
