// Sweep throughput in runs per second on the start-up world, 50 generations a run: one job, every
// core this process may use, and beside them the same runs as independent `morvane-cli run`
// processes, one lane per core. Peak resident memory is reported with each.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sweep/sweep.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace morvane;

constexpr int kRuns = 8;
constexpr const char* kSweep = "generations = 50\nrepetitions = 8\nseed = 1\n";

fs::path scratchFolder(const std::string& name) {
    return fs::temp_directory_path() /
           ("morvane_sweep_bench_" + name + "_" + std::to_string(getpid()));
}

void reportRate(benchmark::State& state) {
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kRuns),
                                                  benchmark::Counter::kIsRate);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["cores"] = availableCpus();
}

void sweepWithJobs(benchmark::State& state, int jobs) {
    PreparedSweep sweep;
    auto read = parseSweepText(kSweep, ".");
    sweep.plan = read.plan;
    loadBaseWorld(sweep.plan, &sweep.base);
    sweep.resolved = resolvedSweepText(sweep.plan, "");
    const fs::path folder = scratchFolder("jobs" + std::to_string(jobs));
    for (auto _ : state) {
        fs::remove_all(folder);
        SweepRequest request;
        request.folder = folder.string();
        request.jobs = jobs;
        const SweepOutcome done = runSweep(sweep, request);
        if (done.exitCode != 0) state.SkipWithError(done.message.c_str());
    }
    fs::remove_all(folder);
    reportRate(state);
}

void BM_SweepOneJob(benchmark::State& state) {
    sweepWithJobs(state, 1);
}
void BM_SweepAllCores(benchmark::State& state) {
    sweepWithJobs(state, availableCpus());
}

#ifdef MORVANE_CLI_PATH
// The same runs as processes: one lane per core, each playing its share of the runs one by one.
void BM_IndependentProcesses(benchmark::State& state) {
    const int lanes = availableCpus();
    const fs::path folder = scratchFolder("processes");
    fs::create_directories(folder);
    for (auto _ : state) {
        std::vector<pid_t> running;
        for (int lane = 0; lane < lanes; ++lane) {
            std::string script;
            for (int run = lane; run < kRuns; run += lanes) {
                script += std::string(MORVANE_CLI_PATH) + " run --generations 50 --quiet --seed " +
                          std::to_string(run) + " --csv " +
                          (folder / std::to_string(run)).string() + ".csv || exit 1\n";
            }
            const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
            pid_t pid = 0;
            posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ);
            running.push_back(pid);
        }
        for (pid_t pid : running) {
            int status = 0;
            waitpid(pid, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                state.SkipWithError("a morvane-cli run failed");
        }
    }
    fs::remove_all(folder);
    reportRate(state);
}
BENCHMARK(BM_IndependentProcesses)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
#endif

BENCHMARK(BM_SweepOneJob)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_SweepAllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
