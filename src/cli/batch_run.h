#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace morvane {

// Everything `morvane-cli run` was asked to do, already checked for range.
struct BatchOptions {
    std::optional<std::string> scenario;
    int generations = 100;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> csvPath, savePath, pngPath;  // "-" for the CSV is standard output
    bool quiet = false;
    std::optional<std::array<float, 8>> payoffs;  // T1, R1, P1, S1, T2, R2, P2, S2
    std::optional<int> rule;                      // 1..4
    std::optional<int> neighbourhood;             // 0..14
    std::optional<int> iterations;                // 1..10
    std::optional<float> mutation;                // 0..1
};

struct BatchOutcome {
    int exitCode = 0;     // 0 done, 1 a write failed, 2 bad input
    std::string message;  // for standard error
};

// Progress after each generation: (done, total).
using ProgressFn = std::function<void(int, int)>;

BatchOutcome runBatch(const BatchOptions& opts, const ProgressFn& progress = {});

}  // namespace morvane
