#include "strategy/limits.h"

#include <string_view>

namespace morvane {

namespace {

struct LimitRow {
    std::string_view caption;
    std::int32_t startMin, startMax;
    std::int32_t boundMin, boundMax;
};

// The six colour rows and row 25 are stored and edited like the others, but random and mutated
// colours and imitation masks are drawn over their whole ranges instead.
constexpr std::array<LimitRow, kNumLimits> kRows = {{
    {"R Bug", 1, 254, 1, 254},
    {"G Bug", 1, 254, 1, 254},
    {"B Bug", 1, 254, 1, 254},
    {"R User", 1, 254, 1, 254},
    {"G User", 1, 254, 1, 254},
    {"B User", 1, 254, 1, 254},
    {"Search Type (x 8)", 0, 2, 0, 2},
    {"Search Depth (x 64)", 1, 15, 1, 15},
    {"History Type (x 1024)", 0, 2, 0, 2},
    {"y0", 0, 100, 0, 100},
    // Curve inputs stay off the end points, where the cubic would not exist.
    {"x1", 1, 99, 1, 99},
    {"y1", 0, 100, 0, 100},
    {"x2", 1, 99, 1, 99},
    {"y2", 0, 100, 0, 100},
    {"y3", 0, 100, 0, 100},
    {"Ci Sensibility", 0, 100, 0, 100},
    {"Ei Sensibility", 0, 100, 0, 100},
    {"Si Sensibility", 0, 100, 0, 100},
    // Valuations start fixed at 100: random bugs value every index fully until the user says not.
    {"Ci Valuation", 100, 100, 0, 100},
    {"Ei Valuation", 100, 100, 0, 100},
    {"Si Valuation", 100, 100, 0, 100},
    {"Uncert. Ci", 0, 100, 0, 100},
    {"Uncert. Ei", 0, 100, 0, 100},
    {"Copy Color", 0, 1, 0, 1},
    {"Irregular", 0, 1, 0, 1},
    {"Imitation Neighbourhood", 1, 24, 1, 24},
    {"Trigger Min.", 0, 100, 0, 100},
    {"Trigger Max.", 0, 100, 0, 100},
    {"Trigger Response", 0, 100, 0, 100},
    {"Trigger Whom", 0, 1, 0, 1},
    {"Trigger When", 0, 2, 0, 2},
}};

}  // namespace

Rangos defaultRangos() {
    Rangos r;
    for (int k = 0; k < kNumLimits; ++k) {
        for (int p = 0; p < 2; ++p) {
            r.limits[k][p] = {kRows[k].startMin, kRows[k].startMax};
            r.bounds[k][p] = {kRows[k].boundMin, kRows[k].boundMax};
        }
    }
    return r;
}

std::string_view limitCaption(int k) {
    return k >= 0 && k < kNumLimits ? kRows[k].caption : std::string_view{};
}

}  // namespace morvane
