#pragma once

#include <array>
#include <string>
#include <vector>

#include "strategy/strategy_types.h"

namespace morvane {

// The strategy list: slot 0 the editor's working copy, slot 1 "Del mapa!" (a board cell copied in),
// slots 2..20 the user's strategies, slot 21 never used.
using StrategyList = std::array<StrategySlot, kNumListSlots>;

constexpr int kSlotWorkingCopy = 0;
constexpr int kSlotFromBoard = 1;
constexpr int kSlotRandom = 20;  // seeds random genomes whatever it holds
constexpr int kMaxListed = 20;   // combo items: slots 1..20

// The list at program start: the six predefined strategies in slots 2..7 ("Cuadro muerto",
// "Cuadro en blanco", "UD", "UC", "Tit For Tat", "Fairman"); slots 2, 3, 4, 5 and 7 active with
// 20 % each, every other slot empty and inactive.
StrategyList initialStrategyList();

// The editor's combo: "Del mapa!" first, then the names of slots 2, 3, ... up to the first empty
// name and never past slot 20. Item k is slot k + 1.
std::vector<std::string> listedStrategies(const StrategyList& list);

// "Add to list": the working copy (slot 0) goes into the first slot 2..20 whose name is empty,
// named `name`. Returns the slot written, or 0 when every slot is named (nothing changes then).
// The slot is found by the names, not by counting a combo's items, so a combo that was not rebuilt
// after a load never makes an addition overwrite a named strategy.
int addStrategy(StrategyList& list, const std::string& name);

// Why a strategy may not be named `name` when written into slot `slot` (empty when it may): a name
// that is empty, "Sin_Nombre", starts with a blank, is longer than a file's name line may be, or is
// the name of another slot 1..20. Empty names end the list when a file is read back, and two slots
// of one name make the statistics' columns and the chart's legend ambiguous.
std::string strategyNameRefusal(const StrategyList& list, const std::string& name, int slot);

// The first slot named `name` among slots 1..20, or 0 when there is none.
int findStrategy(const StrategyList& list, const std::string& name);

}  // namespace morvane
