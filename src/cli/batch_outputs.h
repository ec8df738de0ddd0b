#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/batch_run.h"
#include "io/atomic_writer.h"
#include "state/statistics.h"
#include "state/world.h"

namespace morvane {

// Checks every output a run names before the run starts: a file name is given, its folder exists
// and can be written, and no two outputs name the same file. The reason when not.
std::optional<std::string> checkBatchOutputs(const BatchOptions& opts);

// The files of one run. The CSV grows a row per generation in its temporary file; at the end the
// scenario and the image are staged beside it and all of them replace their targets together, so
// a run that fails or is interrupted leaves every target as it was.
class BatchOutputs {
  public:
    BatchOutputs(const BatchOptions& opts, std::vector<int> slots);

    // Opens the CSV and writes its header.
    WriteOutcome begin(const World& w);
    // The row of the generation just played, as the simulation counted it.
    WriteOutcome afterGeneration(const GenerationStatistics& st);
    WriteOutcome finish(const World& w);

  private:
    WriteOutcome writeCsv(const std::string& text);

    const BatchOptions& opts_;
    std::vector<int> slots_;
    OutputBatch batch_;
    OutputBatch::Id csv_ = 0;
};

}  // namespace morvane
