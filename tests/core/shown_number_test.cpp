#include "base/shown_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace morvane {
namespace {

TEST(ShownNumber, RoundsHalvesToEvenAndDropsTrailingZeros) {
    struct Row {
        double v;
        int decimals;
        const char* text;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {0.25, 3, "0.25"},    {1.0, 3, "1"},
        {0.6875, 3, "0.688"}, {0.3125, 3, "0.312"},
        {-0.0001, 3, "0"},    {-2.5, 2, "-2.5"},
        {0.333, 2, "0.33"},   {12.0, 2, "12"},
        {100.0, 0, "100"},    {std::numeric_limits<double>::quiet_NaN(), 3, "NaN"},
        {inf, 3, "Inf"},
    };
    for (const Row& r : rows) EXPECT_EQ(shownNumber(r.v, r.decimals), r.text) << r.v;
}

// A pay-off total far beyond the usual range is written out in full, not cut at a buffer's end.
TEST(ShownNumber, WritesLargeNumbersInFull) {
    const std::string big = shownNumber(1e70, 3);
    EXPECT_EQ(big.size(), 71u);
    EXPECT_EQ(big.substr(0, 2), "10");
    EXPECT_EQ(shownNumber(-1e300, 2).size(), 302u);
}

}  // namespace
}  // namespace morvane
