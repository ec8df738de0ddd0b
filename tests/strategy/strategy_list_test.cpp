#include "strategy/strategy_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "strategy/distribution.h"

namespace morvane {
namespace {

struct PartRow {
    int busqueda;
    std::array<int, 6> curve;  // Y0, X1, Y1, X2, Y2, Y3
    std::array<float, 3> sen;
    float incer;
    int triggerMin;
};

void expectPart(const ListGenomePart& p, const PartRow& e) {
    EXPECT_EQ(p.Busqueda, e.busqueda);
    EXPECT_EQ((std::array<int, 6>{p.Y0, p.X1, p.Y1, p.X2, p.Y2, p.Y3}), e.curve);
    EXPECT_EQ((std::array<float, 3>{p.SenIC, p.SenIA, p.SenIP}), e.sen);
    EXPECT_EQ((std::array<float, 3>{p.ValIC, p.ValIA, p.ValIP}),
              (std::array<float, 3>{100, 100, 100}));
    EXPECT_EQ(p.Incertidumbre, e.incer);
    EXPECT_EQ(p.Irregular, 0);
    EXPECT_EQ(p.TriggerMin, e.triggerMin);
    EXPECT_EQ(p.TriggerMax, 0);
    EXPECT_EQ(p.Trigger, 0);
}

TEST(StrategyList, PredefinedStrategiesFieldByField) {
    const std::array<int, 6> identity{0, 25, 25, 75, 75, 100};
    struct Row {
        int slot;
        std::string name;
        PartRow part0, part1;
        std::array<std::int16_t, 6> colours;
        std::int16_t reparto;
    };
    const PartRow dead{88, identity, {100, 0, 0}, 0, 100};
    const PartRow blank{96, {100, 75, 75, 25, 25, 0}, {100, 0, 0}, 0, 100};
    const PartRow ud{64, {0, 25, 0, 75, 0, 0}, {100, 0, 0}, 0, 100};
    const PartRow uc{64, {100, 25, 100, 75, 100, 100}, {100, 0, 0}, 0, 100};
    const PartRow tft{64, identity, {100, 0, 0}, 12900, 100};
    const Row rows[] = {
        {2, "Cuadro muerto", dead, dead, {255, 255, 255, 1, 1, 1}, 1224},
        {3, "Cuadro en blanco", blank, blank, {255, 255, 255, 128, 128, 128}, 1224},
        {4, "UD", ud, ud, {250, 1, 1, 1, 1, 1}, 1224},
        {5, "UC", uc, uc, {1, 250, 1, 1, 1, 1}, 1224},
        {6, "Tit For Tat", tft, tft, {1, 1, 250, 250, 1, 1}, 0},
        {7,
         "Fairman",
         {2000, {0, 40, 20, 60, 30, 50}, {0, 100, 0}, 12900, 0},
         {1088, identity, {0, 100, 0}, 12900, 0},
         {155, 55, 155, 200, 245, 5},
         1224},
    };
    const StrategyList list = initialStrategyList();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const StrategySlot& s = list[r.slot];
        EXPECT_EQ(s.nombre, r.name);
        {
            SCOPED_TRACE("part 0");
            expectPart(s.genoma.parte[0], r.part0);
        }
        {
            SCOPED_TRACE("part 1");
            expectPart(s.genoma.parte[1], r.part1);
        }
        EXPECT_EQ(s.genoma.VecinosImitacion, 16777215);
        EXPECT_EQ(s.genoma.Colores, r.colours);
        EXPECT_EQ(s.Reparto, r.reparto);
    }
    for (int slot : {0, 1, 8, 20, 21}) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(list[slot].genoma, ListGenoma{});
        EXPECT_TRUE(list[slot].nombre.empty());
        EXPECT_EQ(list[slot].Reparto, 0);
    }
    // As cells carry them: a dead square and a blank square, the others ordinary bugs.
    EXPECT_TRUE(isDeadSquare(toCellForm(list[2].genoma)));
    EXPECT_TRUE(isBlankSquare(toCellForm(list[3].genoma)));
}

TEST(StrategyList, ListingAndAddingFollowTheCombo) {
    StrategyList list = initialStrategyList();
    std::vector<std::string> combo = listedStrategies(list);
    EXPECT_EQ(combo, (std::vector<std::string>{"Del mapa!", "Cuadro muerto", "Cuadro en blanco",
                                               "UD", "UC", "Tit For Tat", "Fairman"}));

    list[0].genoma = list[5].genoma;  // the working copy holds "UC"
    EXPECT_EQ(addStrategy(list, combo, "first"), 8);
    EXPECT_EQ(list[8].genoma, list[5].genoma);
    EXPECT_EQ(list[8].Reparto, 0);  // a new strategy takes no part in the distribution yet
    for (int slot = 9; slot <= 20; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(addStrategy(list, combo, "s" + std::to_string(slot)), slot);
    }
    EXPECT_EQ(combo.size(), 20u);
    const StrategyList full = list;
    EXPECT_EQ(addStrategy(list, combo, "one too many"), 0);
    EXPECT_EQ(combo.size(), 20u);
    EXPECT_EQ(list[21].nombre, full[21].nombre);
    EXPECT_EQ(list[21].genoma, full[21].genoma);

    // Slot 20 is listed by name in the editor, but its distribution row is "Random".
    EXPECT_EQ(listedStrategies(list).back(), "s20");
    EXPECT_EQ(distributionRowName(list, kRandomRow), "Random");
    EXPECT_EQ(distributionRowName(list, 6), "Fairman");
}

TEST(StrategyList, AnEmptyNameEndsTheNextListing) {
    StrategyList list = initialStrategyList();
    std::vector<std::string> combo = listedStrategies(list);
    EXPECT_EQ(addStrategy(list, combo, ""), 8);
    EXPECT_EQ(addStrategy(list, combo, "after the gap"), 9);  // the open combo counts the item
    EXPECT_EQ(listedStrategies(list).size(), 7u);             // a fresh listing stops at slot 8
    EXPECT_EQ(findStrategy(list, "after the gap"), 9);
    EXPECT_EQ(findStrategy(list, ""), 0);
}

}  // namespace
}  // namespace morvane
