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

// "Add to list": the working copy (slot 0) goes into the slot after the last combo item, named
// `name`, and the name is appended to the combo. Returns the slot written, or 0 when the combo
// already holds 20 items (nothing changes then). An empty name is stored as it is: the slot then
// looks empty to the next listing and to the scenario file.
int addStrategy(StrategyList& list, std::vector<std::string>& combo, const std::string& name);

// The first slot named `name` among slots 1..20, or 0 when there is none.
int findStrategy(const StrategyList& list, const std::string& name);

}  // namespace morvane
