#pragma once

#include <initializer_list>
#include <string_view>

#include "state/world.h"

namespace morvane::testing {

// A world of `columns` x `rows` cells with the start-up strategy list and limits, cell 0 set up as
// the world window sets it, and cell i (row by row, from 1) carrying the list strategy named
// strategies[i - 1] in both copies. Cells past the names stay all zero.
//   World w = worldOf(3, 2, {"UC", "UD", "Cuadro en blanco"});
World worldOf(int columns, int rows, std::initializer_list<std::string_view> strategies = {});

// The cell form of the list strategy with that name (slots 1..20); throws when there is none.
Genoma genomeOf(const World& w, std::string_view name);

// Puts a genome into both copies of a cell.
void place(World& w, int cell, const Genoma& g);

}  // namespace morvane::testing
