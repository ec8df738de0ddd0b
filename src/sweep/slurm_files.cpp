#include "sweep/slurm_files.h"

namespace morvane {

namespace {

std::string common(const SlurmRequest& r) {
    std::string t = "#SBATCH --chdir=" + r.folder + "\n";
    if (r.partition) t += "#SBATCH --partition=" + *r.partition + "\n";
    if (r.time) t += "#SBATCH --time=" + *r.time + "\n";
    return t;
}

}  // namespace

std::optional<std::string> slurmUnsafe(const std::string& what, const std::string& text) {
    if (text.empty()) return what + " is empty";
    if (text.find_first_of(" \t\r\n'\"\\$`") != std::string::npos)
        return what + " " + text +
               " holds a blank, quote, backslash, $ or ` that a Slurm batch file cannot carry";
    return std::nullopt;
}

SlurmFiles slurmFiles(const SlurmRequest& r) {
    SlurmFiles f;
    f.sweepBatch =
        "#!/bin/bash\n"
        "#SBATCH --job-name=morvane-sweep\n"
        "#SBATCH --array=0-" +
        std::to_string(r.arraySize - 1) + "\n" +
        "#SBATCH --cpus-per-task=" + std::to_string(r.cpusPerTask) + "\n" + common(r) +
        "#SBATCH --output=" + r.folder + "/logs/sweep-%A_%a.out\n" +
        "# Each array task plays its shard of the runs on the CPUs it was given; a task\n"
        "# that is requeued or resubmitted skips the runs its shard already finished.\n"
        "exec " +
        r.binary + " sweep " + r.sweepFile + " --out " + r.folder +
        " --jobs \"$SLURM_CPUS_PER_TASK\""
        " --shard \"$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT\"\n";
    f.mergeBatch =
        "#!/bin/bash\n"
        "#SBATCH --job-name=morvane-merge\n"
        "#SBATCH --cpus-per-task=1\n" +
        common(r) + "#SBATCH --output=" + r.folder + "/logs/merge-%j.out\n" + "exec " + r.binary +
        " merge " + r.folder + "\n";
    f.submit =
        "#!/bin/sh\n"
        "# Submits the sweep as an array job, then the merge to run once every task has\n"
        "# succeeded. A failed task cancels the merge (--kill-on-invalid-dep) instead of\n"
        "# leaving it pending for ever.\n"
        "set -eu\n"
        "cd " +
        r.folder +
        "\n"
        "A=$(sbatch --parsable sweep.sbatch)\n"
        "A=${A%%;*}\n"
        "B=$(sbatch --parsable --dependency=afterok:$A --kill-on-invalid-dep=yes "
        "merge.sbatch)\n"
        "B=${B%%;*}\n"
        "echo \"sweep job $A, merge job $B\"\n";
    return f;
}

}  // namespace morvane
