#include "cli/arguments.h"

#include <limits>

#include "io/line_reader.h"
#include "io/number_format.h"

namespace morvane {

std::optional<std::string> parsePlainWhole(const std::string& text, std::uint64_t lo,
                                           std::uint64_t hi, std::uint64_t* value) {
    const std::string quoted = quoteToken(text);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return quoted + " is not a whole number in plain decimal digits";
    if (text.size() > 1 && text[0] == '0') return quoted + " has a leading zero";
    std::uint64_t v = 0;
    for (char c : text) {
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (v > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
            v = std::numeric_limits<std::uint64_t>::max();
            if (hi == v) return quoted + " is above " + std::to_string(hi);
            break;
        }
        v = v * 10 + digit;
    }
    if (v < lo || v > hi) {
        return quoted + " lies outside " + std::to_string(lo) + ".." + std::to_string(hi);
    }
    *value = v;
    return std::nullopt;
}

std::optional<std::string> parseReal(const std::string& text, float lo, float hi, float* value) {
    const ParsedFloat p = parseFloat32(text);
    if (p.error == NumberError::kNotANumber) return quoteToken(text) + " is not a number";
    if (p.error != NumberError::kNone) return quoteToken(text) + " is not a finite 32-bit float";
    if (!(p.value >= lo && p.value <= hi)) {
        return quoteToken(text) + " lies outside " + formatFloat(lo) + ".." + formatFloat(hi);
    }
    *value = p.value;
    return std::nullopt;
}

std::optional<std::string> parsePayoffs(const std::string& text, std::array<float, 8>* payoffs) {
    constexpr float kMax = std::numeric_limits<float>::max();
    std::size_t start = 0;
    for (std::size_t i = 0; i < payoffs->size(); ++i) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i + 1 == payoffs->size()))
            return std::string("expects exactly eight numbers separated by commas");
        const std::string item = text.substr(start, comma - start);
        if (auto bad = parseReal(item, -kMax, kMax, &(*payoffs)[i])) return bad;
        start = comma + 1;
    }
    return std::nullopt;
}

}  // namespace morvane
