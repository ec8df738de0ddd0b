#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

// What a batch run reports after each generation.
struct GenerationStatistics {
    std::int32_t generation = 0;
    std::optional<double> coopRole1, coopRole2, coop;  // empty when nobody played
    std::optional<double> meanScore;                   // empty when no ordinary bug played
    int alive = 0, dead = 0, blank = 0;                // add up to the number of cells
    int strategies = 0;                                // distinct strategies among live bugs
    std::vector<int> slotCounts;                       // per named slot 2..20, in slot order
    int other = 0;                                     // cells matching no named slot
};

// The named slots 2..20 whose cells are counted, in slot order.
std::vector<int> countedSlots(const World& w);

// Statistics of the generation just played; `slots` as countedSlots gave them at the start.
GenerationStatistics collectStatistics(const World& w, const GenerationReport& rep,
                                       const std::vector<int>& slots);

}  // namespace morvane
