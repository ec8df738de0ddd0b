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

TEST(NeighbourhoodTypes, FifteenTypesGiveTheirCodesPartnersAndPositions) {
    struct Row {
        int code, repes;
        const char* fixed;
        const char* random;
        const char* caption;
    };
    const Row rows[kNumNeighbourhoodTypes] = {
        {1, 4, "0 2", "", " 0)    4 inner neighbours (Von Neumann)"},
        {25, 4, "", "0 2", " 1)    4 random neighbours"},
        {0, 8, "0 1 2 3", "", " 2)    8 inner neighbourss (Moore)"},
        {16, 8, "", "0 1 2 3", " 3)    8 random neighbours"},
        {24, 8, "1 3", "0 2", " 4)    4 inner neighbours (no Von Neumann) + random neighbours"},
        {7, 8, "4 6 8 10", "", " 5)    8 outer neighbours"},
        {31, 8, "", "4 6 8 10", " 6)    8 outer neighbours (same as 3)"},
        {6, 16, "4 5 6 7 8 9 10 11", "", " 7)  16 outer neighbours"},
        {22, 16, "", "4 5 6 7 8 9 10 11", " 8)  16 random neighbours"},
        {30, 16, "5 7 9 11", "4 6 8 10", " 9)    8 outer neighbours + 8 random neighbours"},
        {3, 12, "0 2 4 6 8 10", "", "10)  12 inner and outer neighbours"},
        {27, 12, "", "0 2 4 6 8 10", "11)  12 random neighbours (inner and outer)"},
        {2, 24, "0 1 2 3 4 5 6 7 8 9 10 11", "", "12)   24 inner and outer neighbours"},
        {18, 24, "", "0 1 2 3 4 5 6 7 8 9 10 11", "13)   24 random neighbours (inner and outer)"},
        {26, 24, "1 3 5 7 9 11", "0 2 4 6 8 10", "14)   12 inner and outer neighbours + 12 random"},
    };
    for (int i = 0; i < kNumNeighbourhoodTypes; ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        World w;
        ChooseNeighbourhood(w, i);
        EXPECT_EQ(neighbourhoodCaptions()[i], r.caption);
        EXPECT_EQ(w.neighbourhood.CodVecin[kActual], r.code);
        EXPECT_EQ(w.neighbourhood.Repes, r.repes);
        EXPECT_EQ(partnerCount(w.neighbourhood.CodVecin[kActual]), r.repes);
        EXPECT_EQ(neighbourhoodTypeOf(w.neighbourhood.CodVecin[kActual]), i);

        const auto d =
            neighbourhoodDisplay(w.neighbourhood.CodVecin[kActual], w.neighbourhood.Repes, 1000);
        EXPECT_EQ(positionsShowing(d, false), r.fixed);
        EXPECT_EQ(positionsShowing(d, true), r.random);
        EXPECT_EQ(d.mask, w.neighbourhood.MascaraVecinos[kActual]);
        EXPECT_EQ(d.lineVecinosFijos, "Vecinos fijos: " + std::to_string(d.mask));
        EXPECT_EQ(d.lineCodVecin, "CodVecin: " + std::to_string(r.code));
        EXPECT_EQ(d.hsbReservar, (r.code & 16) ? r.repes : 1);
        // The committed copy only moves when a run is started or stepped.
        EXPECT_EQ(w.neighbourhood.CodVecin[kPrevio], 2);
        EXPECT_EQ(w.neighbourhood.MascaraVecinos[kPrevio], 16777215);
    }
}

TEST(NeighbourhoodTypes, OptionSevenAddsThirtyTwoAndTheTypeIsStillFound) {
    World w;
    w.options.mnuOpcion[7] = true;
    ChooseNeighbourhood(w, 12);
    EXPECT_EQ(w.neighbourhood.CodVecin[kActual], 34);
    EXPECT_EQ(w.neighbourhood.MascaraVecinos[kActual], 16777215);
    EXPECT_EQ(neighbourhoodTypeOf(34), 12);
    EXPECT_EQ(neighbourhoodDisplay(34, 24, 100).lineCodVecin, "CodVecin: 34");
    // Reopening the window re-runs the choice of the type it finds.
    ChooseNeighbourhood(w, neighbourhoodTypeOf(w.neighbourhood.CodVecin[kActual]));
    EXPECT_EQ(w.neighbourhood.CodVecin[kActual], 34);
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

TEST(NeighbourhoodTypes, PercentageLine) {
    EXPECT_EQ(neighbourhoodDisplay(2, 24, 40 * 50).lblPorcentaje,
              "Porcentaje de la población contra la que juega: 24 / 1999 = 1.2 % ");
    EXPECT_EQ(neighbourhoodDisplay(0, 8, 25).lblPorcentaje,
              "Porcentaje de la población contra la que juega: 8 / 24 = 33.33 % ");
    // One cell has nobody to play against: no division by zero.
    EXPECT_EQ(neighbourhoodDisplay(2, 24, 1).lblPorcentaje,
              "Porcentaje de la población contra la que juega: 24 / 0");
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
