#include <gtest/gtest.h>

#include "core/neighbourhood_setup.h"
#include "world/neighbourhood_types.h"

namespace morvane {
namespace {

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
