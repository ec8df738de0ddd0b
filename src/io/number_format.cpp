#include "io/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace morvane {

namespace {

constexpr int kMaxDigits = 7;
constexpr int kFixedMinExponent = -5;  // 1E-05 is still written .00001
constexpr int kFixedMaxExponent = 6;   // 9999999 is still written whole

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Significant digits (no trailing zeros) and the decimal exponent of the first one.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// The characters are the locale-free ones of to_chars, whatever locale a window toolkit set.
Decimal shortestDecimal(float x) {
    char buf[40];
    char* end = buf;
    for (int p = 1; p <= kMaxDigits; ++p) {
        end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(x),
                            std::chars_format::scientific, p - 1)
                  .ptr;
        float back = 0;
        std::from_chars(buf, end, back);
        if (back == x) break;
    }
    Decimal d;
    const char* s = buf;
    for (; *s != 'e'; ++s)
        if (isDigit(*s)) d.digits += *s;
    std::from_chars(s + (s[1] == '+' ? 2 : 1), end, d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

std::string exponentForm(const Decimal& d) {
    std::string out(1, d.digits[0]);
    if (d.digits.size() > 1) out += '.' + d.digits.substr(1);
    const std::string power = std::to_string(std::abs(d.exponent));
    out += d.exponent < 0 ? "E-" : "E+";
    return out + (power.size() < 2 ? "0" : "") + power;
}

std::string fixedForm(const Decimal& d) {
    const int n = static_cast<int>(d.digits.size());
    std::string out;
    if (d.exponent < 0) {
        out.assign(1, '.').append(-d.exponent - 1, '0').append(d.digits);
        return out;
    }
    const int whole = d.exponent + 1;
    out = d.digits;
    if (n <= whole) return out.append(whole - n, '0');
    return out.insert(whole, 1, '.');
}

// [sign] (digits [. digits] | . digits) [E [sign] digits]
bool isDecimalNumber(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++mantissaDigits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < t.size() && isDigit(t[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

// Words other programs write for values that are not finite: nan, inf, infinity, 1.#INF, 1.#QNAN.
bool namesNonFinite(std::string_view t) {
    std::string lower;
    for (char c : t) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!lower.empty() && (lower[0] == '+' || lower[0] == '-')) lower.erase(0, 1);
    return lower == "nan" || lower == "inf" || lower == "infinity" ||
           lower.find("#inf") != std::string::npos || lower.find("#qnan") != std::string::npos ||
           lower.find("#ind") != std::string::npos || lower.find("#snan") != std::string::npos;
}

// The power of ten of the token's first significant digit, enough to tell a value too large for a
// float or double from one too small.
long decimalMagnitude(std::string_view t) {
    std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
    long wholeDigits = 0, zerosAfterPoint = 0;
    bool seenSignificant = false, afterPoint = false;
    for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
        if (t[i] == '.') {
            afterPoint = true;
        } else if (t[i] != '0' || seenSignificant) {
            seenSignificant = true;
            if (!afterPoint) ++wholeDigits;
        } else if (afterPoint) {
            ++zerosAfterPoint;
        }
    }
    long exponent = 0;
    if (i < t.size()) {
        const bool negative = i + 1 < t.size() && t[i + 1] == '-';
        for (++i; i < t.size(); ++i)
            if (isDigit(t[i]) && exponent < 1000000) exponent = exponent * 10 + (t[i] - '0');
        if (negative) exponent = -exponent;
    }
    return (wholeDigits > 0 ? wholeDigits - 1 : -(zerosAfterPoint + 1)) + exponent;
}

// from_chars takes no plus sign.
std::string_view withoutPlus(std::string_view t) {
    return (!t.empty() && t[0] == '+') ? t.substr(1) : t;
}

}  // namespace

std::string formatFloat(float x) {
    if (std::isnan(x)) return "nan";
    if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
    if (x == 0.0f) return "0";  // the sign of a zero is not kept
    const Decimal d = shortestDecimal(std::fabs(x));
    const bool fixed = d.exponent >= kFixedMinExponent && d.exponent <= kFixedMaxExponent;
    std::string out = fixed ? fixedForm(d) : exponentForm(d);
    if (x < 0) out.insert(0, 1, '-');
    return out;
}

std::string formatWhole(std::int64_t x) {
    return std::to_string(x);
}

namespace {

// The sign's place holds a blank when there is no minus; one blank follows.
std::string general(std::string s) {
    if (s[0] != '-') s.insert(0, 1, ' ');
    s += ' ';
    return s;
}

}  // namespace

std::string generalFloat(float x) {
    return general(formatFloat(x));
}

std::string generalWhole(std::int64_t x) {
    return general(formatWhole(x));
}

std::string generalWholes(std::initializer_list<std::int64_t> values) {
    std::string s;
    for (auto v : values) s += generalWhole(v);
    return s;
}

std::string shortFloat(float x) {
    return formatFloat(x).insert(0, 1, ' ');
}

std::vector<std::string> splitNumbers(std::string_view line) {
    std::vector<std::string> tokens;
    splitNumbers(line, &tokens, line.size());
    return tokens;
}

std::size_t splitNumbers(std::string_view line, std::vector<std::string>* tokens,
                         std::size_t keep) {
    tokens->clear();
    std::size_t count = 0;
    const std::size_t n = line.size();
    auto digitFollows = [&](std::size_t i) { return i + 1 < n && isDigit(line[i + 1]); };
    std::size_t i = 0;
    while (i < n) {
        const char c = line[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        const bool afterBlank = i == 0 || isBlank(line[i - 1]);
        if (c == ',' && !(afterBlank && digitFollows(i))) {
            ++i;
            continue;
        }
        std::string token;
        bool point = false, exponent = false;
        for (; i < n && !isBlank(line[i]); ++i) {
            char ch = line[i];
            if (ch == ',') {
                if (point || exponent || !digitFollows(i)) break;
                ch = '.';
            }
            // A sign after a digit or a point starts the next number: a negative whole number
            // written after a short-form float stands right against it (".005-3 ").
            const bool sign = ch == '-' || ch == '+';
            if (sign && !token.empty() && token.back() != 'e' && token.back() != 'E') break;
            if (ch == '.') point = true;
            if (ch == 'e' || ch == 'E') exponent = true;
            token += ch;
        }
        if (count++ < keep) tokens->push_back(std::move(token));
    }
    return count;
}

ParsedFloat parseFloat32(std::string_view token) {
    if (!isDecimalNumber(token)) {
        return {0, namesNonFinite(token) ? NumberError::kNotFinite : NumberError::kNotANumber};
    }
    const std::string_view t = withoutPlus(token);
    float value = 0;
    const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (decimalMagnitude(t) >= 0) return {0, NumberError::kNotFinite};
        return {t[0] == '-' ? -0.0f : 0.0f, NumberError::kNone};  // below the least float
    }
    return {value, NumberError::kNone};
}

ParsedWhole parseWhole(std::string_view token, std::int64_t lo, std::int64_t hi) {
    if (!isDecimalNumber(token)) {
        return {0, namesNonFinite(token) ? NumberError::kNotFinite : NumberError::kNotANumber};
    }
    const std::string_view t = withoutPlus(token);
    double value = 0;
    const auto result = std::from_chars(t.data(), t.data() + t.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large for a double is out of any range; too small is a fraction.
        return {0, decimalMagnitude(t) >= 0 ? NumberError::kOutOfRange : NumberError::kFraction};
    }
    if (value != std::floor(value)) return {0, NumberError::kFraction};
    if (value < static_cast<double>(lo) || value > static_cast<double>(hi)) {
        return {0, NumberError::kOutOfRange};
    }
    return {static_cast<std::int64_t>(value), NumberError::kNone};
}

}  // namespace morvane
