#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "sweep/sweep_run.h"

namespace morvane {

// What a sweep, a merge or a check came to: an exit status for the command line and a message.
struct SweepOutcome {
    int exitCode = 0;  // 0 done, 1 a write failed or runs are missing, 2 refused before any work
    std::string message;
};

// A slice of the runs: those whose number leaves `index` when divided by `count`.
struct Shard {
    int index = 0;
    int count = 1;
    bool holds(std::int64_t run) const { return run % count == index; }
};

// How a command may find the folder it writes into.
enum class FolderClaim {
    kFresh,   // an unsharded sweep: the folder is empty or absent
    kResume,  // an unsharded sweep with --resume: the same sweep, or empty
    kShare,   // a shard or --slurm: empty, or the same sweep; the first to come writes sweep.toml
};

// Creates the folder when absent and makes sure it holds this sweep: writes `resolved` as
// sweep.toml (atomically and without replacing one that arrived meanwhile), or compares it with
// the one there. Exit 2 with the reason when the folder holds something else.
SweepOutcome claimSweepFolder(const std::string& folder, const std::string& resolved,
                              FolderClaim claim);

// The names of the files in `folder`/runs, read once.
std::unordered_set<std::string> filesInRuns(const std::string& folder);
bool runFinished(const std::unordered_set<std::string>& files, const RunId& run);

// Removes the temporary files an interrupted writer left for the runs of `shard`, and for the
// tables when the shard is the whole sweep. Other shards' files in flight are never touched.
void removeLeftovers(const std::string& folder, const SweepPlan& plan, const Shard& shard);

// The shard's record of what it ran: version, revision, host, start and end, one line per
// finished run. Rewritten whole through the writer as runs finish.
class Manifest {
  public:
    Manifest(std::string folder, const Shard& shard);
    void finished(const RunId& run, std::uint64_t seed, double seconds);
    WriteOutcome write(bool ended);

  private:
    std::string path_;
    std::string shard_;
    std::string host_;
    std::string start_;
    std::vector<std::string> lines_;
};

}  // namespace morvane
