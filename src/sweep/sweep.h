#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sweep/sweep_folder.h"

namespace morvane {

// A sweep file read, its base scenario loaded, and the resolved text every shard compares.
struct PreparedSweep {
    std::string file;
    SweepPlan plan;
    BaseWorld base;
    std::string resolved;
};

// Reads and checks everything before any work: the file (line and reason), the base scenario
// (its reader's line and reason), the digest it records, slot names that would clash. Exit 2.
SweepOutcome prepareSweep(const std::string& file, PreparedSweep* out);

struct SweepRequest {
    std::string folder;
    int jobs = 1;
    Shard shard;          // {0, 1}: the whole sweep
    bool resume = false;  // an unsharded sweep completes what the folder holds
};

struct SweepProgress {
    std::int64_t done = 0;   // runs finished by this process
    std::int64_t total = 0;  // runs this process has to play
    double seconds = 0;      // since the first run started
};
using SweepProgressFn = std::function<void(const SweepProgress&)>;

// Plays the runs of the request's shard that are not finished yet, `jobs` at a time, each in a
// Simulation of its own; an unsharded sweep then writes results.csv and summary.csv. A failed
// write stops every run (exit 1, the file named); finished runs stay.
SweepOutcome runSweep(const PreparedSweep& sweep, const SweepRequest& request,
                      const SweepProgressFn& progress = {});

// The seconds one run takes, measured on a few generations of the first point.
double secondsPerRun(const PreparedSweep& sweep);

// The CPUs this process may run on (its affinity mask, which a Slurm allocation narrows).
int availableCpus();

}  // namespace morvane
