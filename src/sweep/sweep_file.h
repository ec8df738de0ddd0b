#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sweep/run_settings.h"

namespace morvane {

// Which generations' rows a run keeps: every k-th (k = 1: all of them), or the last alone.
struct KeepRule {
    int every = 1;
    bool lastOnly = false;
    bool keeps(int generation, int generations) const {
        return lastOnly ? generation == generations : generation % every == 0;
    }
};

struct SweepPoint {
    RunSettings settings;              // the fixed settings with the point's own over them
    std::vector<std::string> columns;  // one per SweepPlan::columnKeys, as the tables show it
};

// A sweep file read and checked: everything a run needs, nothing left to refuse.
struct SweepPlan {
    std::optional<std::string> scenario;        // absolute; the start-up world when absent
    std::optional<std::string> scenarioSha256;  // as a resolved file records it
    int generations = 100;
    int repetitions = 1;
    std::uint64_t seed = 0;
    bool paired = false;
    KeepRule keep;
    int summaryWindow = 50;
    std::vector<std::string> columnKeys;  // the varied keys, in column order
    std::vector<SweepPoint> points;       // at least one
    std::string settingsToml;             // fixed settings and the points, as the resolved file
                                          // writes them

    std::int64_t runCount() const { return static_cast<std::int64_t>(points.size()) * repetitions; }
};

struct SweepFileError {
    int line = 0;  // 0: the file as a whole
    std::string reason;
};

struct SweepFileResult {
    bool ok = false;
    SweepPlan plan;
    SweepFileError error;
};

// Reads a sweep file; a scenario it names is taken relative to the file's folder.
SweepFileResult readSweepFile(const std::string& path);
// The same on text already read; `folder` stands for the file's folder.
SweepFileResult parseSweepText(std::string_view text, const std::string& folder);

// The file as it runs: every default written out and the base scenario's digest (empty for the
// start-up world). Reading it back gives the same plan, and the same text again.
std::string resolvedSweepText(const SweepPlan& plan, const std::string& scenarioSha256);

// The leading columns of the sweep's tables: point, repetition, seed, then one per varied key.
std::string sweepColumnsHeader(const SweepPlan& plan);

}  // namespace morvane
