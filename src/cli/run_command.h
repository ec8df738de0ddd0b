#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/batch_run.h"

namespace morvane {

// `morvane-cli run`: its options as CLI11 reads them, then checked into BatchOptions.
class RunCommand {
  public:
    explicit RunCommand(CLI::App& app);
    CLI::App* app() const { return run_; }
    // Reads the options after parsing; throws CLI::ValidationError naming the option at fault.
    void read();
    int execute();

  private:
    CLI::App* run_;
    BatchOptions opts_;
    std::string scenario_, csv_, save_, png_, payoffs_, rule_, mutation_;
    std::string generations_, seed_, neighbourhood_, iterations_, sumMode_;
    std::string thresholdToday_, thresholdSurvive_, thresholdReproduce_;
    std::vector<std::string> options_;
};

}  // namespace morvane
