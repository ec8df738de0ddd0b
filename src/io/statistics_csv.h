#pragma once

#include <string>
#include <vector>

#include "state/statistics.h"
#include "state/statistics_history.h"

namespace morvane {

// The CSV a batch run writes: a header, then one row per generation.
// Columns: generation, coop_role1, coop_role2, coop, mean_score, alive, dead, blank, strategies,
// one column per named list slot (headed by its name), other.
std::string csvHeader(const World& w, const std::vector<int>& slots);
std::string csvHeader(const std::vector<std::string>& slotNames);
std::string csvRow(const GenerationStatistics& st);
// A row whose slot columns may be empty: a slot that did not hold that strategy at the time.
std::string csvRow(const GenerationStatistics& st, const std::vector<std::optional<int>>& counts);

// A run's statistics as the batch run writes them: a column per series in the order they began,
// empty before a series began and after it ended. A run whose slots never changed gives the
// batch run's file byte for byte.
std::string historyCsv(const StatisticsHistory& history);

// A float in its shortest form that reads back to the same float32, with a full stop.
std::string shortestFloat(float v);
// A field quoted as CSV quotes it: in double quotes, inner quotes doubled, when it holds a comma,
// a quote, a line break or leading or trailing blanks.
std::string csvField(const std::string& text);

}  // namespace morvane
