#pragma once

#include <optional>
#include <string>

namespace morvane {

// What `sweep --slurm` submits: an array job whose tasks each play one shard, and a merge that
// runs once every task has succeeded.
struct SlurmRequest {
    std::string binary;     // absolute
    std::string sweepFile;  // absolute
    std::string folder;     // absolute, on a file system every node sees
    std::optional<std::string> partition, time;
    int cpusPerTask = 1;
    int arraySize = 1;
};

struct SlurmFiles {
    std::string sweepBatch;  // sweep.sbatch
    std::string mergeBatch;  // merge.sbatch
    std::string submit;      // submit.sh
};

// A path or value Slurm's directives cannot carry (blanks, quotes, line breaks), or nothing.
std::optional<std::string> slurmUnsafe(const std::string& what, const std::string& text);

SlurmFiles slurmFiles(const SlurmRequest& request);

}  // namespace morvane
