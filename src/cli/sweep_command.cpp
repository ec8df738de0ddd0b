#include "cli/sweep_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "cli/arguments.h"
#include "io/atomic_writer.h"
#include "sweep/merge.h"
#include "sweep/slurm_files.h"

namespace morvane {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxJobs = 120;  // two files in flight per run, within the writer's table
constexpr int kShownPoints = 5;
constexpr double kPlainProgressSeconds = 10;

std::string duration(double seconds) {
    if (!std::isfinite(seconds)) return "?";
    if (seconds < 10) {
        char text[16];
        std::snprintf(text, sizeof text, "%.2g s", seconds);
        return text;
    }
    const auto s = static_cast<long long>(std::llround(seconds));
    char text[48];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%lld h %02lld min", s / 3600, s / 60 % 60);
    else if (s >= 60)
        std::snprintf(text, sizeof text, "%lld min %02lld s", s / 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%lld s", s);
    return text;
}

// A bar redrawn in place on a terminal; a line now and then elsewhere (a Slurm log).
SweepProgressFn progressPrinter(bool terminal) {
    auto lastLine = std::make_shared<double>(-kPlainProgressSeconds);
    return [terminal, lastLine](const SweepProgress& p) {
        const double rate = p.seconds > 0 ? p.done / p.seconds : 0;
        const double left = rate > 0 ? (p.total - p.done) / rate : NAN;
        const bool finished = p.done == p.total;
        if (terminal) {
            const int width = 30;
            const int filled = p.total > 0 ? static_cast<int>(p.done * width / p.total) : width;
            std::fprintf(stderr, "\r[%s%s] %lld/%lld runs, %.2f runs/s, %s left   ",
                         std::string(filled, '#').c_str(), std::string(width - filled, ' ').c_str(),
                         static_cast<long long>(p.done), static_cast<long long>(p.total), rate,
                         duration(left).c_str());
            if (finished) std::fputc('\n', stderr);
        } else if (finished || p.seconds - *lastLine >= kPlainProgressSeconds) {
            *lastLine = p.seconds;
            std::fprintf(stderr, "%lld/%lld runs done, %.2f runs/s, %s left\n",
                         static_cast<long long>(p.done), static_cast<long long>(p.total), rate,
                         duration(left).c_str());
        }
        std::fflush(stderr);
    };
}

std::uint64_t readWhole(const char* name, const std::string& text, std::uint64_t lo,
                        std::uint64_t hi) {
    std::uint64_t v = 0;
    if (auto bad = parsePlainWhole(text, lo, hi, &v)) throw CLI::ValidationError(name, *bad);
    return v;
}

std::string ownBinary() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("morvane-cli") : self.string();
}

bool sbatchOnPath() {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string rest = path;
    for (std::size_t start = 0; start <= rest.size();) {
        const std::size_t colon = std::min(rest.find(':', start), rest.size());
        const std::string dir = rest.substr(start, colon - start);
        if (!dir.empty() && access((dir + "/sbatch").c_str(), X_OK) == 0) return true;
        start = colon + 1;
    }
    return false;
}

std::string pointText(const SweepPlan& plan, std::size_t p) {
    std::string t = "point " + std::to_string(p) + ":";
    for (std::size_t k = 0; k < plan.columnKeys.size(); ++k)
        t += " " + plan.columnKeys[k] + "=" + plan.points[p].columns[k];
    return t;
}

}  // namespace

SweepCommand::SweepCommand(CLI::App& app)
    : sweep_(app.add_subcommand("sweep",
                                "Run every point of a sweep file, each repeated with "
                                "its own seed, on every core or on a Slurm cluster.")),
      merge_(app.add_subcommand(
          "merge", "Join the runs of a sharded sweep into results.csv and summary.csv.")) {
    sweep_->add_option("file", file_, "Sweep file (TOML)")->required();
    sweep_->add_option("--out", folder_, "Folder of the sweep's files")->required();
    sweep_->add_option("--jobs", jobsText_, "Runs at a time (default: the CPUs this process has)");
    sweep_->add_option("--shard", shardText_, "I/N: play the runs whose number mod N is I");
    sweep_->add_flag("--resume", resume_, "Complete the sweep the folder holds");
    sweep_->add_flag("--dry-run", dryRun_, "Print the runs and the time they will take; no files");
    sweep_->add_flag("--quiet", quiet_, "No progress");
    auto* slurm = sweep_->add_flag("--slurm", slurm_, "Write Slurm batch files and submit them");
    sweep_->add_option("--partition", partition_, "Slurm partition")->needs(slurm);
    sweep_->add_option("--time", time_, "Slurm time limit of each array task")->needs(slurm);
    sweep_->add_option("--cpus-per-task", cpusText_, "CPUs of each array task (default 1)")
        ->needs(slurm);
    sweep_->add_option("--array-size", arrayText_, "Array tasks (default: runs, at most 16)")
        ->needs(slurm);
    merge_->add_option("folder", mergeFolder_, "Folder of a sweep")->required();
}

void SweepCommand::read() {
    request_.folder = folder_;
    request_.resume = resume_;
    request_.jobs = sweep_->count("--jobs")
                        ? static_cast<int>(readWhole("--jobs", jobsText_, 1, kMaxJobs))
                        : std::min(availableCpus(), kMaxJobs);
    if (sweep_->count("--shard")) {
        const auto slash = shardText_.find('/');
        if (slash == std::string::npos)
            throw CLI::ValidationError("--shard", "expects I/N, as in 0/4");
        const auto count = readWhole("--shard", shardText_.substr(slash + 1), 1, 1'000'000);
        const auto index = readWhole("--shard", shardText_.substr(0, slash), 0, count - 1);
        request_.shard = {static_cast<int>(index), static_cast<int>(count)};
        if (slurm_) throw CLI::ValidationError("--shard", "--slurm makes the shards itself");
    }
    if (sweep_->count("--cpus-per-task"))
        cpusPerTask_ = static_cast<int>(readWhole("--cpus-per-task", cpusText_, 1, kMaxJobs));
    if (sweep_->count("--array-size"))
        arraySize_ = static_cast<int>(readWhole("--array-size", arrayText_, 1, 1'000'000));
    for (const auto& [name, text] : {std::pair{"--partition", &partition_}, {"--time", &time_}}) {
        if (sweep_->count(name) == 0) continue;
        if (auto bad = slurmUnsafe(name, *text)) throw CLI::ValidationError(name, *bad);
    }
}

int SweepCommand::dryRun(const PreparedSweep& sweep) {
    const SweepPlan& plan = sweep.plan;
    const double perRun = secondsPerRun(sweep);
    const int jobs = request_.jobs;
    const double runs = std::ceil(static_cast<double>(plan.runCount()) / request_.shard.count);
    std::printf("%.0f runs: %zu points x %d repetitions, %d generations each\n", runs,
                plan.points.size(), plan.repetitions, plan.generations);
    std::printf("about %s on %d jobs (one run takes about %s)\n",
                duration(perRun * std::ceil(runs / jobs)).c_str(), jobs, duration(perRun).c_str());
    for (std::size_t p = 0; p < plan.points.size() && p < kShownPoints; ++p)
        std::printf("%s\n", pointText(plan, p).c_str());
    if (plan.points.size() > kShownPoints)
        std::printf("... and %zu more points\n", plan.points.size() - kShownPoints);
    return 0;
}

int SweepCommand::submitToSlurm(const PreparedSweep& sweep) {
    std::error_code ec;
    const std::string folder = fs::weakly_canonical(fs::absolute(folder_), ec).string();
    SlurmRequest r;
    r.binary = ownBinary();
    r.sweepFile = fs::weakly_canonical(fs::absolute(sweep.file), ec).string();
    r.folder = folder;
    if (!partition_.empty()) r.partition = partition_;
    if (!time_.empty()) r.time = time_;
    r.cpusPerTask = cpusPerTask_;
    const auto runs = sweep.plan.runCount();
    r.arraySize = static_cast<int>(std::min<std::int64_t>(arraySize_.value_or(16), runs));
    for (const auto& [what, path] : {std::pair{"the program", &r.binary},
                                     {"the sweep file", &r.sweepFile},
                                     {"the folder", &r.folder}}) {
        if (auto bad = slurmUnsafe(what, *path)) {
            std::cerr << "morvane-cli: " << *bad << "\n";
            return 2;
        }
    }
    if (auto claimed = claimSweepFolder(folder, sweep.resolved, FolderClaim::kShare);
        claimed.exitCode != 0) {
        std::cerr << "morvane-cli: " << claimed.message << "\n";
        return claimed.exitCode;
    }
    fs::create_directories(folder + "/logs", ec);
    const SlurmFiles files = slurmFiles(r);
    for (const auto& [name, text] : {std::pair{"/sweep.sbatch", &files.sweepBatch},
                                     {"/merge.sbatch", &files.mergeBatch},
                                     {"/submit.sh", &files.submit}}) {
        if (auto written = writeFileAtomically(folder + name, *text); !written.ok) {
            std::cerr << "morvane-cli: " << written.reason << "\n";
            return 1;
        }
    }
    chmod((folder + "/submit.sh").c_str(), 0755);
    std::printf("%lld runs in %d array tasks of %d CPUs; files in %s\n",
                static_cast<long long>(runs), r.arraySize, r.cpusPerTask, folder.c_str());
    if (!sbatchOnPath()) {
        std::printf(
            "sbatch is not on the PATH here. On the cluster's login node, with %s on a\n"
            "file system every node sees, submit with:\n  sh %s/submit.sh\n",
            folder.c_str(), folder.c_str());
        return 0;
    }
    std::fflush(stdout);
    const int status = std::system(("sh " + folder + "/submit.sh").c_str());
    if (status != 0) {
        std::cerr << "morvane-cli: sbatch refused the jobs (see above); the files stay in "
                  << folder << "\n";
        return 1;
    }
    return 0;
}

int SweepCommand::executeSweep() {
    PreparedSweep sweep;
    if (auto prepared = prepareSweep(file_, &sweep); prepared.exitCode != 0) {
        std::cerr << "morvane-cli: " << prepared.message << "\n";
        return prepared.exitCode;
    }
    if (dryRun_) return dryRun(sweep);
    if (slurm_) return submitToSlurm(sweep);
    const SweepProgressFn progress =
        quiet_ ? SweepProgressFn() : progressPrinter(isatty(STDERR_FILENO) != 0);
    const SweepOutcome outcome = runSweep(sweep, request_, progress);
    if (!outcome.message.empty()) std::cerr << "morvane-cli: " << outcome.message << "\n";
    return outcome.exitCode;
}

int SweepCommand::executeMerge() {
    const SweepOutcome outcome = mergeSweepFolder(mergeFolder_);
    if (!outcome.message.empty()) std::cerr << "morvane-cli: " << outcome.message << "\n";
    return outcome.exitCode;
}

}  // namespace morvane
