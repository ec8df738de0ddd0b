#include "io/number_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace morvane {
namespace {

struct FloatRow {
    float value;
    std::string text;
    float readsBack;  // the value itself whenever 7 digits hold it
};

TEST(NumberFormat, WritesFloatsInTheirShortestFormAndReadsThemBack) {
    const float third = 1.0f / 3.0f;
    const float maxFloat = std::numeric_limits<float>::max();
    const float leastDenormal = std::numeric_limits<float>::denorm_min();
    const float largeDenormal = std::bit_cast<float>(0x00654321u);
    const std::vector<FloatRow> rows{
        {0.0f, "0", 0.0f},
        {-0.0f, "0", 0.0f},
        {0.5f, ".5", 0.5f},
        {-0.5f, "-.5", -0.5f},
        {0.005f, ".005", 0.005f},
        {4.0f, "4", 4.0f},
        {-1.0f, "-1", -1.0f},
        {33.5f, "33.5", 33.5f},
        {48770.3984375f, "48770.4", 48770.3984375f},
        {262143.9f, "262143.9", 262143.9f},
        {0.1f, ".1", 0.1f},
        {third, ".3333333", 0.3333333f},
        {1e-5f, ".00001", 1e-5f},
        {1.5e-5f, ".000015", 1.5e-5f},
        {1e-7f, "1E-07", 1e-7f},
        {9999999.0f, "9999999", 9999999.0f},
        {1e7f, "1E+07", 1e7f},
        {1.5e8f, "1.5E+08", 1.5e8f},
        {3e9f, "3E+09", 3e9f},
        {-3e9f, "-3E+09", -3e9f},
        {16777215.0f, "1.677722E+07", 16777220.0f},
        {maxFloat, "3.402823E+38", 3.402823e38f},
        {-maxFloat, "-3.402823E+38", -3.402823e38f},
        {leastDenormal, "1E-45", leastDenormal},
        {largeDenormal, "9.299466E-39", largeDenormal},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(formatFloat(row.value), row.text);
        const ParsedFloat back = parseFloat32(row.text);
        EXPECT_EQ(back.error, NumberError::kNone);
        EXPECT_EQ(back.value, row.readsBack);
        EXPECT_EQ(formatFloat(back.value), row.text) << "a second save writes the same text";
    }
}

TEST(NumberFormat, RandomFloatsReadBackWithinSevenDigitsAndWriteAgainTheSame) {
    std::mt19937 gen(20240611);
    int exact = 0;
    for (int i = 0; i < 20000; ++i) {
        const float x = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
        if (!std::isfinite(x)) continue;
        const std::string text = formatFloat(x);
        const ParsedFloat back = parseFloat32(text);
        ASSERT_EQ(back.error, NumberError::kNone) << text;
        ASSERT_EQ(formatFloat(back.value), text);
        if (back.value == x) {
            ++exact;
            continue;
        }
        // Only values that need more than 7 digits may move: by at most half a unit of the 7th
        // digit (5E-07 of the value) plus half a unit of the float read back (6E-08).
        ASSERT_LE(std::fabs(static_cast<double>(back.value) - x), 5.6e-7 * std::fabs(x)) << text;
    }
    EXPECT_GT(exact, 1000);
}

TEST(NumberFormat, SplitsOnBlanksAndCommasAndKeepsDecimalCommas) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> rows{
        {" 1  99 ", {"1", "99"}},
        {" 0,5 ", {"0.5"}},
        {" ,5 -,25", {".5", "-.25"}},
        {" 33,5  12900 ", {"33.5", "12900"}},
        {"1, 2", {"1", "2"}},
        {"1,,2", {"1", "2"}},
        {"1,2,3", {"1.2", "3"}},
        {"\t4\r", {"4"}},
        {" 1.5E+08 1E-06", {"1.5E+08", "1E-06"}},
        {" .005-3 ", {".005", "-3"}},
        {" 1E-06-2E+07+4", {"1E-06", "-2E+07", "+4"}},
        {"", {}},
        {" , ", {}},
    };
    for (const auto& [line, tokens] : rows) {
        SCOPED_TRACE(line);
        EXPECT_EQ(splitNumbers(line), tokens);
    }
}

TEST(NumberFormat, ParsesOrRefusesTokens) {
    struct Row {
        std::string token;
        NumberError floatError;
        float floatValue;
        NumberError wholeError;  // int16 field
        std::int64_t wholeValue;
    };
    using E = NumberError;
    const std::vector<Row> rows{
        {"12900", E::kNone, 12900.0f, E::kNone, 12900},
        {"+4", E::kNone, 4.0f, E::kNone, 4},
        {"5.", E::kNone, 5.0f, E::kNone, 5},
        {"-.5", E::kNone, -0.5f, E::kFraction, 0},
        {"1.29E+04", E::kNone, 12900.0f, E::kNone, 12900},
        {"-32768", E::kNone, -32768.0f, E::kNone, -32768},
        {"32768", E::kNone, 32768.0f, E::kOutOfRange, 0},
        {"1e39", E::kNotFinite, 0.0f, E::kOutOfRange, 0},
        {"1e400", E::kNotFinite, 0.0f, E::kOutOfRange, 0},
        {"1e-50", E::kNone, 0.0f, E::kFraction, 0},
        {"1e-400", E::kNone, 0.0f, E::kFraction, 0},
        {"3.4028235e38", E::kNone, std::numeric_limits<float>::max(), E::kOutOfRange, 0},
        {"nan", E::kNotFinite, 0.0f, E::kNotFinite, 0},
        {"-Infinity", E::kNotFinite, 0.0f, E::kNotFinite, 0},
        {"1.#INF", E::kNotFinite, 0.0f, E::kNotFinite, 0},
        {"abc", E::kNotANumber, 0.0f, E::kNotANumber, 0},
        {"1.2.3", E::kNotANumber, 0.0f, E::kNotANumber, 0},
        {"e5", E::kNotANumber, 0.0f, E::kNotANumber, 0},
        {"1e", E::kNotANumber, 0.0f, E::kNotANumber, 0},
        {"[Rangos]", E::kNotANumber, 0.0f, E::kNotANumber, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.token);
        // A refused token's value is not read: the rows give 0 for it.
        const ParsedFloat f = parseFloat32(row.token);
        EXPECT_EQ(f.error, row.floatError);
        EXPECT_EQ(f.error == E::kNone ? f.value : 0.0f, row.floatValue);
        const ParsedWhole w = parseWhole(row.token, -32768, 32767);
        EXPECT_EQ(w.error, row.wholeError);
        EXPECT_EQ(w.error == E::kNone ? w.value : 0, row.wholeValue);
    }
}

}  // namespace
}  // namespace morvane
