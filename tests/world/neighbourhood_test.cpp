#include <gtest/gtest.h>

#include <string>

#include "core/neighbourhood_setup.h"
#include "world/neighbourhood_types.h"

namespace morvane {
namespace {

// Positions k (0..11) of the display whose box shows a number or "?".
std::string positionsShowing(const NeighbourhoodDisplay& d, bool random) {
    std::string out;
    for (int k = 0; k < 12; ++k) {
        const std::string& t = d.txtJugador[k];
        if (t.empty() || (t == "?") != random) continue;
        // The opposite position always shows the same kind of partner.
        EXPECT_EQ(d.txtJugador[k + 12].empty(), false) << k;
        EXPECT_EQ(d.txtJugador[k + 12] == "?", random) << k;
        if (!random) {
            EXPECT_EQ(t, std::to_string(k));
        }
        out += (out.empty() ? "" : " ") + std::to_string(k);
    }
    return out;
}

// Each type's caption in the window's list, and the positions its picture shows as fixed
// partners (their number) or random ones ("?"). Codes and partner counts play in the seeded runs.
TEST(NeighbourhoodTypes, FifteenTypesShowTheirCaptionsAndPositions) {
    struct Row {
        const char* fixed;
        const char* random;
        const char* caption;
    };
    const Row rows[kNumNeighbourhoodTypes] = {
        {"0 2", "", " 0)    4 inner neighbours (Von Neumann)"},
        {"", "0 2", " 1)    4 random neighbours"},
        {"0 1 2 3", "", " 2)    8 inner neighbourss (Moore)"},
        {"", "0 1 2 3", " 3)    8 random neighbours"},
        {"1 3", "0 2", " 4)    4 inner neighbours (no Von Neumann) + random neighbours"},
        {"4 6 8 10", "", " 5)    8 outer neighbours"},
        {"", "4 6 8 10", " 6)    8 outer neighbours (same as 3)"},
        {"4 5 6 7 8 9 10 11", "", " 7)  16 outer neighbours"},
        {"", "4 5 6 7 8 9 10 11", " 8)  16 random neighbours"},
        {"5 7 9 11", "4 6 8 10", " 9)    8 outer neighbours + 8 random neighbours"},
        {"0 2 4 6 8 10", "", "10)  12 inner and outer neighbours"},
        {"", "0 2 4 6 8 10", "11)  12 random neighbours (inner and outer)"},
        {"0 1 2 3 4 5 6 7 8 9 10 11", "", "12)   24 inner and outer neighbours"},
        {"", "0 1 2 3 4 5 6 7 8 9 10 11", "13)   24 random neighbours (inner and outer)"},
        {"1 3 5 7 9 11", "0 2 4 6 8 10", "14)   12 inner and outer neighbours + 12 random"},
    };
    for (int i = 0; i < kNumNeighbourhoodTypes; ++i) {
        SCOPED_TRACE(i);
        World w;
        ChooseNeighbourhood(w, i);
        EXPECT_EQ(neighbourhoodCaptions()[i], rows[i].caption);
        EXPECT_EQ(neighbourhoodTypeOf(w.neighbourhood.CodVecin[kActual]), i);
        const auto d =
            neighbourhoodDisplay(w.neighbourhood.CodVecin[kActual], w.neighbourhood.Repes, 1000);
        EXPECT_EQ(positionsShowing(d, false), rows[i].fixed);
        EXPECT_EQ(positionsShowing(d, true), rows[i].random);
    }
}

TEST(NeighbourhoodTypes, UnknownCodesAndTypesFallBackSafely) {
    EXPECT_EQ(neighbourhoodTypeOf(4), 0);  // inner ring excluded, outer not included
    EXPECT_EQ(neighbourhoodTypeOf(12), 0);
    World w;
    ChooseNeighbourhood(w, 15);
    ChooseNeighbourhood(w, -1);
    EXPECT_EQ(w.neighbourhood.CodVecin[kActual], 2);
    EXPECT_EQ(w.neighbourhood.Repes, 24);
}

TEST(NeighbourhoodWalk, PartnersAreTheWalkedPositionsAndTheirOpposites) {
    // For every code the scheduler's walk over k and k + 12 covers exactly the window's pattern.
    for (int code = 0; code < 64; ++code) {
        SCOPED_TRACE(code);
        const auto p = walkedPositions(static_cast<std::uint8_t>(code));
        std::int32_t walked = 0;
        int count = 0;
        for (int k = p.first; k <= p.last; k += p.step) {
            ASSERT_GE(k, 0);
            ASSERT_LT(k, 12);
            walked |= (1 << k) | (1 << (k + 12));
            ++count;
        }
        EXPECT_EQ(walked, neighbourhoodMask(static_cast<std::uint8_t>(code)));
        EXPECT_EQ(partnerCount(static_cast<std::uint8_t>(code)), 2 * count);
    }
}

}  // namespace
}  // namespace morvane
