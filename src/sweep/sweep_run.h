#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/simulation.h"
#include "io/atomic_writer.h"
#include "io/scenario_file.h"
#include "sweep/sweep_file.h"

namespace morvane {

// One run of a sweep: a repetition of a point. Runs are numbered point by point, repetitions
// fastest; shards take the runs whose number leaves their remainder.
struct RunId {
    int point = 0;
    int repetition = 0;
    std::int64_t index = 0;
};

RunId runAt(const SweepPlan& plan, std::int64_t index);
std::uint64_t seedOf(const SweepPlan& plan, const RunId& run);

// The files a finished run leaves in the sweep's folder, relative to it: its kept rows and its
// summary row, each a CSV with its header.
std::string rowsFileOf(const RunId& run);
std::string summaryFileOf(const RunId& run);

// The world every run of a sweep starts from: the base scenario read once (so every run sees the
// same bytes, whose digest the resolved file records), or none for the start-up world.
struct BaseWorld {
    std::optional<World> scenario;
    std::string sha256;                  // of the scenario's bytes; empty without one
    std::vector<std::string> slotNames;  // the named slots the tables count, in column order
};

// Reads the plan's scenario; the reader's refusal (line and reason) when it cannot.
LoadResult loadBaseWorld(const SweepPlan& plan, BaseWorld* base);

// A slot name that would repeat one of the leading columns of the tables, or nothing.
std::optional<std::string> slotNameClash(const SweepPlan& plan, const BaseWorld& base);

// The run's world, settings applied, ready to be prepared.
Simulation startRun(const SweepPlan& plan, const BaseWorld& base, const RunId& run);

// Plays one run and writes its two files atomically. `stop` abandons it between generations
// (another run failed or the user asked): nothing of it is left behind then. The outcome names
// the file that could not be written.
WriteOutcome playRun(const SweepPlan& plan, const BaseWorld& base, const std::string& folder,
                     const RunId& run, const std::atomic<bool>& stop);

}  // namespace morvane
