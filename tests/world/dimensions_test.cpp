#include "world/dimensions.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// Main's test follows the columns through the bars and checks the picture and the world's size
// for several distances; the rows follow the same rule.
TEST(EntrepreneurLayout, FitCheckLowersTheCountOfTheChangedDirection) {
    EntrepreneurLayout e;
    setEntrepreneurBar(e, EntrepreneurBar::DistFil, 1);
    setEntrepreneurBar(e, EntrepreneurBar::FilEmp, 24);
    EXPECT_EQ(layEntrepreneurs(e).Rows, 48);
    setEntrepreneurBar(e, EntrepreneurBar::DistFil, 2);
    EXPECT_EQ(e.FilEmp, 16);  // 3 x 16 = 48
    EXPECT_EQ(layEntrepreneurs(e).Rows, 48);
    EXPECT_EQ(e.ColEmp, 3);                              // the other direction is left alone
    setEntrepreneurBar(e, EntrepreneurBar::DistFil, 4);  // 5 x 16 > 50
    EXPECT_EQ(e.FilEmp, 10);
}

TEST(EntrepreneurLayout, EveryBarSettingFitsTheLargestWorld) {
    for (int dist = kDistColBar.min; dist <= kDistColBar.max; ++dist) {
        for (int n = kFilEmpBar.min; n <= kFilEmpBar.max + 2; ++n) {
            SCOPED_TRACE(::testing::Message() << "distance " << dist << " count " << n);
            EntrepreneurLayout e;
            setEntrepreneurBar(e, EntrepreneurBar::DistCol, dist);
            setEntrepreneurBar(e, EntrepreneurBar::ColEmp, n);
            setEntrepreneurBar(e, EntrepreneurBar::DistFil, dist);
            setEntrepreneurBar(e, EntrepreneurBar::FilEmp, n);
            const EntrepreneurGrid g = layEntrepreneurs(e);
            EXPECT_LE(g.Cols, kColumnasBar.max);
            EXPECT_LE(g.Rows, kFilasBar.max);
            EXPECT_GE(g.Cols, kColumnasBar.min);
            EXPECT_GE(g.Rows, kFilasBar.min);
            EXPECT_EQ(static_cast<int>(g.redCols.size()), e.ColEmp);
            EXPECT_EQ(static_cast<int>(g.redRows.size()), e.FilEmp);
            EXPECT_EQ(g.redCols.back(), g.Cols - 2);  // one empty column closes the last block
        }
    }
}

}  // namespace
}  // namespace morvane
