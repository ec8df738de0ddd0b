#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// The spellings the command line takes. Each returns the reason a text is refused, or nothing.

// A whole number in plain decimal digits within lo..hi: no sign, no leading zero, no base prefix,
// nothing before or after. "010" is refused rather than read as 10 or as 8.
std::optional<std::string> parsePlainWhole(const std::string& text, std::uint64_t lo,
                                           std::uint64_t hi, std::uint64_t* value);

// A finite 32-bit float as a scenario file writes one, within lo..hi.
std::optional<std::string> parseReal(const std::string& text, float lo, float hi, float* value);

// "T1,R1,P1,S1,T2,R2,P2,S2": eight finite floats, each as parseReal reads it.
std::optional<std::string> parsePayoffs(const std::string& text, std::array<float, 8>* payoffs);

}  // namespace morvane
