#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "sweep/sweep.h"

namespace morvane {

// `morvane-cli sweep` and `morvane-cli merge`.
class SweepCommand {
  public:
    explicit SweepCommand(CLI::App& app);
    CLI::App* sweepApp() const { return sweep_; }
    CLI::App* mergeApp() const { return merge_; }
    // Reads the options after parsing; throws CLI::ValidationError naming the option at fault.
    void read();
    int executeSweep();
    int executeMerge();

  private:
    int dryRun(const PreparedSweep& sweep);
    int submitToSlurm(const PreparedSweep& sweep);

    CLI::App* sweep_;
    CLI::App* merge_;
    std::string file_, folder_, jobsText_, shardText_, mergeFolder_;
    std::string partition_, time_, cpusText_, arrayText_;
    bool resume_ = false, dryRun_ = false, slurm_ = false, quiet_ = false;
    SweepRequest request_;
    int cpusPerTask_ = 1;
    std::optional<int> arraySize_;
};

}  // namespace morvane
