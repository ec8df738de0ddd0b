#include <gtest/gtest.h>

#include "world/neighbourhood.h"

namespace morvane {
namespace {

World worldOf(int cols, int rows) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    BuildNeighbourTable(w);
    return w;
}

TEST(NeighbourTable, CornerCellWrapsRoundTheTorus) {
    const World w = worldOf(5, 5);
    EXPECT_EQ(w.vecino(1, 15), 25);  // one up, one left
    EXPECT_EQ(w.vecino(1, 22), 19);  // two up, two left
    EXPECT_EQ(w.vecino(1, 0), 21);
    EXPECT_EQ(w.vecino(1, 2), 2);
    EXPECT_EQ(w.vecino(25, 10), 7);  // two down, two right from the bottom-right corner
}

TEST(NeighbourTable, RowsAreNumberedRowByRow) {
    const World w = worldOf(20, 10);
    EXPECT_EQ(w.cellAt(2, 5), 46);
    EXPECT_EQ(w.vecino(46, 12), 66);  // one row down
    EXPECT_EQ(w.vecino(46, 14), 45);  // one column left
}

// Every entry names a real cell, or nobody exactly when the offset wraps back onto the cell, and
// the neighbour at j sees the cell at the opposite position j + 12.
void expectConsistentTable(const World& w) {
    const auto& off = positionOffsets();
    const int cols = w.NumColumnas, rows = w.NumFilas;
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        for (int j = 0; j < kNumPositions; ++j) {
            SCOPED_TRACE(testing::Message() << "cell " << cell << " position " << j);
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
        SCOPED_TRACE(testing::Message() << s.cols << " x " << s.rows);
        expectConsistentTable(worldOf(s.cols, s.rows));
    }
}

TEST(NeighbourTable, StaysInsideItsRowsWhenTheCellCountIsStale) {
    World w = worldOf(5, 5);
    w.NumFilas = 6;  // dimensions changed, NumJugadores not yet recomputed
    BuildNeighbourTable(w);
    ASSERT_EQ(w.vecindad.Vecinos.size(), 31u);
    EXPECT_EQ(w.vecino(30, 12), 5);  // the last row wraps onto the first
    EXPECT_EQ(w.vecindad.Vecinos[0][0], kNoPartner);
}

TEST(NeighbourTable, MultiWrapPositionsOnTinyWorlds) {
    const World one = worldOf(1, 1);
    for (int j = 0; j < kNumPositions; ++j) EXPECT_EQ(one.vecino(1, j), kNoPartner) << j;

    const World row = worldOf(5, 1);  // one row: any vertical offset comes back to the row
    EXPECT_EQ(row.vecino(1, 0), kNoPartner);
    EXPECT_EQ(row.vecino(1, 4), kNoPartner);
    EXPECT_EQ(row.vecino(1, 1), 2);   // one up, one right = one right
    EXPECT_EQ(row.vecino(1, 20), 4);  // two left of column 0 is column 3
    EXPECT_EQ(row.vecino(1, 22), 4);

    const World two = worldOf(7, 2);  // two rows: two up is the same row, one up the other row
    EXPECT_EQ(two.vecino(1, 4), kNoPartner);
    EXPECT_EQ(two.vecino(1, 16), kNoPartner);
    EXPECT_EQ(two.vecino(1, 0), 8);
    EXPECT_EQ(two.vecino(1, 12), 8);
    EXPECT_EQ(two.vecino(9, 6), 11);   // two up, two right: same row, column + 2
    EXPECT_EQ(two.vecino(1, 21), 13);  // two left, one up: column 5 of the other row
}

}  // namespace
}  // namespace morvane
