#pragma once

#include <string>

#include "sweep/sweep_folder.h"

namespace morvane {

// Joins every run's files into results.csv and summary.csv, in run order, streaming each file
// through: the tables are the same bytes whether the runs came from one process or a hundred.
// Refuses (exit 1, the missing runs listed) while any run is missing; writes nothing then.
SweepOutcome mergeRuns(const std::string& folder, const SweepPlan& plan);

// `morvane-cli merge DIR`: the same, for the sweep DIR/sweep.toml describes.
SweepOutcome mergeSweepFolder(const std::string& folder);

}  // namespace morvane
