#pragma once

namespace morvane {

// Genome copies: Previo is the snapshot taken before each transition (parents are read from it),
// Actual the live genome. Two-copy settings use the same numbers: 0 committed, 1 live.
constexpr int kPrevio = 0;
constexpr int kActual = 1;

}  // namespace morvane
