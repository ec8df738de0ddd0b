#pragma once

#include <string>

namespace morvane {

// A float as the pay-offs window shows it in a box: the shortest decimal text that reads back as
// the same float, never in exponent form ("0.1", "4", "-2.5").
std::string decimalText(float value);

}  // namespace morvane
