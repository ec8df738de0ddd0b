#include "sweep/sweep.h"

#include <pthread.h>
#include <sched.h>
#include <signal.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sweep/merge.h"

namespace morvane {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kManifestEvery = std::chrono::seconds(10);
constexpr auto kProgressEvery = std::chrono::milliseconds(200);
constexpr int kCalibrationGenerations = 5;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The runs are handed out in order; a failure stops the hand-out and the runs in flight.
class RunQueue {
  public:
    RunQueue(const PreparedSweep& sweep, const std::string& folder, std::vector<RunId> runs,
             Manifest& manifest)
        : sweep_(sweep), folder_(folder), runs_(std::move(runs)), manifest_(manifest) {}

    void work() {
        for (;;) {
            const std::size_t at = next_.fetch_add(1);
            if (at >= runs_.size() || stop_.load()) return;
            const RunId& run = runs_[at];
            const auto started = Clock::now();
            const WriteOutcome played = playRun(sweep_.plan, sweep_.base, folder_, run, stop_);
            std::lock_guard lock(mutex_);
            if (played.ok) {
                manifest_.finished(run, seedOf(sweep_.plan, run), secondsSince(started));
                ++done_;
            } else if (!played.reason.empty() && failure_.empty()) {
                failure_ = played.reason;
                stop_ = true;
            }
            changed_.notify_all();
        }
    }

    // Waits a little for a run to finish; the runs done so far.
    std::int64_t wait(std::chrono::milliseconds upTo) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, upTo);
        return done_;
    }

    std::int64_t done() {
        std::lock_guard lock(mutex_);
        return done_;
    }
    std::string failure() {
        std::lock_guard lock(mutex_);
        return failure_;
    }
    std::mutex& mutex() { return mutex_; }

  private:
    const PreparedSweep& sweep_;
    const std::string& folder_;
    const std::vector<RunId> runs_;
    Manifest& manifest_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t done_ = 0;
    std::string failure_;
};

// Interrupts are taken by the thread that started the runs: the workers hold them back, so a
// signal never lands in the middle of a worker's rename.
std::vector<std::thread> startWorkers(RunQueue& queue, int jobs) {
    sigset_t interrupts, previous;
    sigemptyset(&interrupts);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&interrupts, s);
    pthread_sigmask(SIG_BLOCK, &interrupts, &previous);
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j) workers.emplace_back([&queue] { queue.work(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return workers;
}

std::vector<RunId> pendingRuns(const PreparedSweep& sweep, const SweepRequest& request) {
    const auto files = filesInRuns(request.folder);
    std::vector<RunId> runs;
    for (std::int64_t i = request.shard.index; i < sweep.plan.runCount();
         i += request.shard.count) {
        const RunId run = runAt(sweep.plan, i);
        if (!runFinished(files, run)) runs.push_back(run);
    }
    return runs;
}

}  // namespace

SweepOutcome prepareSweep(const std::string& file, PreparedSweep* out) {
    out->file = file;
    const SweepFileResult read = readSweepFile(file);
    if (!read.ok) {
        return {2, file + (read.error.line ? ":" + std::to_string(read.error.line) : "") + ": " +
                       read.error.reason};
    }
    out->plan = read.plan;
    const LoadResult loaded = loadBaseWorld(out->plan, &out->base);
    if (!loaded.ok) {
        return {2, *out->plan.scenario +
                       (loaded.line ? ":" + std::to_string(loaded.line) : std::string()) + ": " +
                       loaded.reason};
    }
    if (out->plan.scenarioSha256 && *out->plan.scenarioSha256 != out->base.sha256) {
        return {2, file + ": the base scenario " + *out->plan.scenario +
                       " has changed since this sweep was resolved (its SHA-256 differs)"};
    }
    if (auto clash = slotNameClash(out->plan, out->base)) return {2, *clash};
    out->resolved = resolvedSweepText(out->plan, out->base.sha256);
    return {};
}

SweepOutcome runSweep(const PreparedSweep& sweep, const SweepRequest& request,
                      const SweepProgressFn& progress) {
    const bool whole = request.shard.count == 1;
    const FolderClaim claim = !whole           ? FolderClaim::kShare
                              : request.resume ? FolderClaim::kResume
                                               : FolderClaim::kFresh;
    if (auto claimed = claimSweepFolder(request.folder, sweep.resolved, claim);
        claimed.exitCode != 0)
        return claimed;
    removeLeftovers(request.folder, sweep.plan, request.shard);

    Manifest manifest(request.folder, request.shard);
    std::vector<RunId> runs = pendingRuns(sweep, request);
    const auto total = static_cast<std::int64_t>(runs.size());
    RunQueue queue(sweep, request.folder, std::move(runs), manifest);
    const auto started = Clock::now();
    auto lastManifest = started;
    std::vector<std::thread> workers =
        startWorkers(queue, static_cast<int>(std::min<std::int64_t>(request.jobs, total)));
    for (std::int64_t done = 0; done < total && queue.failure().empty();) {
        done = queue.wait(kProgressEvery);
        if (progress && queue.failure().empty()) progress({done, total, secondsSince(started)});
        if (Clock::now() - lastManifest >= kManifestEvery) {
            std::lock_guard lock(queue.mutex());
            manifest.write(false);
            lastManifest = Clock::now();
        }
    }
    for (auto& w : workers) w.join();

    const WriteOutcome recorded = manifest.write(true);
    if (const std::string failed = queue.failure(); !failed.empty()) return {1, failed};
    if (!recorded.ok) return {1, recorded.reason};
    if (whole) return mergeRuns(request.folder, sweep.plan);
    return {};
}

double secondsPerRun(const PreparedSweep& sweep) {
    const int generations = std::min(sweep.plan.generations, kCalibrationGenerations);
    const auto started = Clock::now();
    Simulation sim = startRun(sweep.plan, sweep.base, {});
    sim.run(generations);
    const double measured = secondsSince(started);
    return measured * sweep.plan.generations / generations;
}

int availableCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return std::max(1, CPU_COUNT(&set));
}

}  // namespace morvane
