#include "strategy/strategy_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "strategy/distribution.h"

namespace morvane {
namespace {

TEST(StrategyList, ListingAndAddingFollowTheCombo) {
    StrategyList list = initialStrategyList();
    std::vector<std::string> combo = listedStrategies(list);
    EXPECT_EQ(combo, (std::vector<std::string>{"Del mapa!", "Cuadro muerto", "Cuadro en blanco",
                                               "UD", "UC", "Tit For Tat", "Fairman"}));

    list[0].genoma = list[5].genoma;  // the working copy holds "UC"
    EXPECT_EQ(addStrategy(list, "first"), 8);
    EXPECT_EQ(list[8].genoma, list[5].genoma);
    EXPECT_EQ(list[8].Reparto, 0);  // a new strategy takes no part in the distribution yet
    for (int slot = 9; slot <= 20; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(addStrategy(list, "s" + std::to_string(slot)), slot);
    }
    EXPECT_EQ(listedStrategies(list).size(), 20u);
    const StrategyList full = list;
    EXPECT_EQ(addStrategy(list, "one too many"), 0);
    EXPECT_EQ(list, full);

    // Slot 20 is listed by name in the editor, but its distribution row is "Random".
    EXPECT_EQ(listedStrategies(list).back(), "s20");
    EXPECT_EQ(distributionRowName(list, kRandomRow), "Random");
    EXPECT_EQ(distributionRowName(list, 6), "Fairman");
}

TEST(StrategyList, AnAdditionTakesTheFirstUnnamedSlot) {
    StrategyList list = initialStrategyList();
    list[9].name = "read from a file after a hole";
    list[9].genoma.VecinosImitacion = 77;
    EXPECT_EQ(addStrategy(list, "fills the hole"), 8);
    EXPECT_EQ(addStrategy(list, "next"), 10);  // slot 9 is named: it is never overwritten
    EXPECT_EQ(list[9].genoma.VecinosImitacion, 77);
    EXPECT_EQ(findStrategy(list, "next"), 10);
    EXPECT_EQ(findStrategy(list, ""), 0);
}

TEST(StrategyList, NamesThatAFileOrAChartCouldNotTellApartAreRefused) {
    const StrategyList list = initialStrategyList();
    const struct {
        const char* row;
        std::string name;
        int slot;
        std::string reason;  // empty: accepted
    } rows[] = {
        {"empty", "", 8, "The strategy needs a name: an unnamed slot ends the list in a file."},
        {"placeholder", "Sin_Nombre", 8,
         "\"Sin_Nombre\" is what a file writes for an empty slot: choose another name."},
        {"leading blank", " UD2", 8,
         "A name may not start with a blank: a file would not read it back."},
        {"too long", std::string(256, 'a'), 8,
         "The name has 256 characters; at most 255 fit a file's name line."},
        {"255 characters", std::string(255, 'a'), 8, ""},
        {"another slot's", "UC", 8,
         "Slot 5 is already named \"UC\": two strategies of one name could not be told apart in "
         "the statistics and the chart."},
        {"its own slot's", "UC", 5, ""},
        {"a new name", "Generous", 8, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        EXPECT_EQ(strategyNameRefusal(list, row.name, row.slot), row.reason);
    }
}

}  // namespace
}  // namespace morvane
