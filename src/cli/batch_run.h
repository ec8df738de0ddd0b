#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sweep/run_settings.h"

namespace morvane {

// Everything `morvane-cli run` was asked to do, already checked for range.
struct BatchOptions {
    std::optional<std::string> scenario;
    int generations = 100;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> csvPath, savePath, pngPath;  // "-" for the CSV is standard output
    bool quiet = false;
    RunSettings settings;  // what the run changes in the world it starts from
};

struct BatchOutcome {
    int exitCode = 0;     // 0 done, 1 a write failed, 2 bad input
    std::string message;  // for standard error
};

// Progress after each generation: (done, total).
using ProgressFn = std::function<void(int, int)>;

BatchOutcome runBatch(const BatchOptions& opts, const ProgressFn& progress = {});

}  // namespace morvane
