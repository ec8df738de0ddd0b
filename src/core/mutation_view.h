#pragma once

#include <array>
#include <string>
#include <string_view>

#include "strategy/genome.h"

namespace morvane {

constexpr int kMutationViewRows = 25;

// The row titles of the mutations view, row 0 "Player" to row 24 "Whom-When".
const std::array<std::string_view, kMutationViewRows>& mutationRowTitles();

// The texts of one mutations view column: the cell and part in row 0 ("123 (1)"), then the genome's
// part `parte` (and its genome-wide fields) in the forms of rows 1 to 24. Used for the recorded
// genome and for the present one the view compares it with.
std::array<std::string, kMutationViewRows> mutationColumnTexts(int cell, int parte,
                                                               const Genoma& g);

}  // namespace morvane
