#pragma once

#include <array>
#include <string>

#include "io/line_reader.h"
#include "state/world.h"

namespace morvane {

using StrategyList = std::array<StrategySlot, kNumListSlots>;

// The name a file holds for a slot with an empty name.
inline constexpr std::string_view kUnnamedSlotText = "Sin_Nombre";

// Appends the "[Rangos]" section (the limits of both parts) and the "[Estrategias]" section (slots
// 2 to 20 of the list, every one in full, named or not).
void writeStrategySections(std::string& out, const Rangos& strategyLimits,
                           const StrategyList& list);

// How strictly the sections are read. A scenario keeps its list when another section follows the
// limits, and reads every block whatever the names. A strategy file exists only to carry a list, so
// there another header, or a named block after an unnamed one (a list with a hole, which the
// editor's listing would end at the hole), is an error on its line.
enum class StrategyReading { Scenario, StrategyFile };

// Reads the two sections into limits and list. Every one of the 19 blocks is read: a slot named
// "Sin_Nombre" gets an empty name and the values of its block, and the slots after it are read
// too. A name is its whole line, commas and leading blanks included. When the header after the
// limits is some text other than "[Estrategias]" the list is left as it was; an empty header, or
// none, is an error. A name longer than maxNameLength characters, and anything but blank lines
// after the last block, are errors too. Stops at the first error, which the reader then holds.
void readStrategySections(LineReader& in, Rangos& strategyLimits, StrategyList& list,
                          std::size_t maxNameLength = kMaxStrategyNameLength,
                          StrategyReading mode = StrategyReading::Scenario);

}  // namespace morvane
