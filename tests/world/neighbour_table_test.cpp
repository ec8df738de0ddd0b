#include <gtest/gtest.h>

#include "core/neighbourhood_setup.h"
#include "support/worlds.h"
#include "world/neighbourhood_types.h"

namespace morvane {
namespace {

using testing::worldOf;

TEST(NeighbourTable, PositionsWrapRoundTheTorus) {
    struct Row {
        int cols, rows, cell, position, neighbour;
    };
    const Row rows[] = {
        {5, 5, 1, 15, 25},  // one up, one left of a corner
        {5, 5, 1, 22, 19},  // two up, two left
        {5, 5, 1, 0, 21},
        {5, 5, 25, 10, 7},     // two down, two right from the bottom-right corner
        {20, 10, 46, 12, 66},  // row by row: one row down
        {20, 10, 46, 14, 45},  // one column left
        // One row: any vertical offset comes back to the row.
        {5, 1, 1, 1, 2},   // one up, one right = one right
        {5, 1, 1, 20, 4},  // two left of column 0 is column 3
        // Two rows: two up is the same row, one up the other row.
        {7, 2, 1, 0, 8},
        {7, 2, 9, 6, 11},   // two up, two right: same row, column + 2
        {7, 2, 1, 21, 13},  // two left, one up: column 5 of the other row
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.cols << " x " << r.rows << " cell " << r.cell
                                          << " position " << r.position);
        EXPECT_EQ(worldOf(r.cols, r.rows).vecino(r.cell, r.position), r.neighbour);
    }
    EXPECT_EQ(worldOf(20, 10).cellAt(2, 5), 46);
}

// Every entry names a real cell, or nobody exactly when the offset wraps back onto the cell, and
// the neighbour at j sees the cell at the opposite position j + 12.
void expectConsistentTable(const World& w) {
    const auto& off = positionOffsets();
    const int cols = w.NumColumnas, rows = w.NumFilas;
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        for (int j = 0; j < kNumPositions; ++j) {
            SCOPED_TRACE(::testing::Message() << "cell " << cell << " position " << j);
            const int n = w.vecino(cell, j);
            const bool ontoItself = off[j].dc % cols == 0 && off[j].dr % rows == 0;
            if (ontoItself) {
                EXPECT_EQ(n, kNoPartner);
                continue;
            }
            ASSERT_GE(n, 1);
            ASSERT_LE(n, w.NumJugadores);
            EXPECT_NE(n, cell);
            EXPECT_EQ(w.vecino(n, (j + 12) % kNumPositions), cell);
        }
    }
}

TEST(NeighbourTable, TinyWorldsWrapSeveralTimesAndNeverMeetThemselves) {
    struct Size {
        int cols, rows;
    };
    const Size sizes[] = {{1, 1}, {5, 1}, {1, 5}, {7, 2}, {2, 7}, {2, 2}, {3, 3}, {4, 1}, {6, 5}};
    for (const Size& s : sizes) {
        SCOPED_TRACE(::testing::Message() << s.cols << " x " << s.rows);
        expectConsistentTable(worldOf(s.cols, s.rows));
    }
}

TEST(NeighbourTable, StaysInsideItsRowsWhenTheCellCountIsStale) {
    World w = worldOf(5, 5);
    w.NumFilas = 6;  // dimensions changed, NumJugadores not yet recomputed
    BuildNeighbourTable(w);
    ASSERT_EQ(w.neighbourhood.Vecinos.size(), 31u);
    EXPECT_EQ(w.vecino(30, 12), 5);  // the last row wraps onto the first
    EXPECT_EQ(w.neighbourhood.Vecinos[0][0], kNoPartner);
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
