#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Text forms of the numbers in scenario files.
//
// A float is written in the shortest decimal form, of at most 7 significant digits, that reads back
// as the same float; a float that needs more digits is written with 7 (and reads back as the float
// nearest to those 7 digits). A full stop is the decimal point, a value below 1 has no 0 before it
// (.5, .005, -.5), a whole value has no point (4, 48770). Values whose 7-digit rounding lies at or
// above 1E+07, or below 1E-05, take the exponent form: the digits with a point after the first one
// when there are several, "E", the exponent's sign and at least two exponent digits (1.5E+08,
// 1E-06, 3.402823E+38, 1.401298E-45).
std::string formatFloat(float x);
std::string formatWhole(std::int64_t x);

// General form: a blank in place of a plus sign (a minus when negative) and one trailing blank, so
// two numbers on a line stand two blanks apart: " 1  99 ".
std::string generalFloat(float x);
std::string generalWhole(std::int64_t x);
// A line of whole numbers in general form.
std::string generalWholes(std::initializer_list<std::int64_t> values);
// Short form: one blank before every number (a blank and the minus when negative), no trailing
// blank: " 4 -1 .5".
std::string shortFloat(float x);

// Appends a line with the CR LF line end every file of the system uses.
inline void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

// Splits a line into number tokens. Blanks, tabs and commas separate. A comma followed by a digit
// is a decimal comma when it stands inside a number that has no point yet ("0,5") or begins a
// number right after a blank or the line start (",5", as a comma locale writes .5); the token then
// holds a full stop in its place. Any other comma separates ("1, 2" and "1,,2" are two numbers).
std::vector<std::string> splitNumbers(std::string_view line);
// The same, keeping only the first `keep` tokens in *tokens; returns how many there are.
std::size_t splitNumbers(std::string_view line, std::vector<std::string>* tokens, std::size_t keep);

enum class NumberError {
    kNone,
    kNotANumber,  // not a decimal number at all
    kNotFinite,   // nan, inf, or beyond the largest float
    kFraction,    // a fraction where a whole number belongs
    kOutOfRange,  // a whole number outside the field's range
};

struct ParsedFloat {
    float value = 0;
    NumberError error = NumberError::kNone;
};
// A decimal number ([sign] digits [. digits] [E [sign] digits], or starting with the point),
// rounded to the nearest float. Values too small for a float read as zero.
ParsedFloat parseFloat32(std::string_view token);

struct ParsedWhole {
    std::int64_t value = 0;
    NumberError error = NumberError::kNone;
};
// A decimal number whose value is a whole number within lo..hi ("12900", also "1.29E+04").
ParsedWhole parseWhole(std::string_view token, std::int64_t lo, std::int64_t hi);

}  // namespace morvane
