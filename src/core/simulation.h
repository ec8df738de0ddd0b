#pragma once

#include <cstdint>
#include <string>

#include "base/rng.h"
#include "core/generation_scratch.h"
#include "state/generation_report.h"
#include "state/statistics_history.h"
#include "state/world.h"

namespace morvane {

struct LoadResult;

// One simulation: the world state, the generator that drives its runs, the report of its last
// generation, the scratch the generations work in and the statistics of every generation. It is
// what the windows, the command line, sweeps and tests drive; it touches no global state, so
// several may run at once, one per thread.
//
// The report, the scratch and the statistics belong to the world they were made for: "Start",
// "Open" and "New" clear them, so that old cell numbers never index a new world.
class Simulation {
  public:
    // A generator seeded from a high-resolution clock, or from the seed given.
    Simulation();
    explicit Simulation(std::uint64_t seed);

    World& state() { return state_; }
    const World& state() const { return state_; }
    const GenerationReport& report() const { return report_; }
    GenerationReport& report() { return report_; }
    // The generator of the run: generations, fills and every draw that changes the world.
    Rng& rng() { return rng_; }
    // Replays of past encounters draw from a generator of their own: looking never changes a run.
    Rng& replayRng() { return replayRng_; }

    // The program's start-up settings, with no world (the start-up window when it loads).
    void applyStartupDefaults();
    // "Start": the world for the current size, every cell random, as the world window receives it.
    void start();
    // "Open": the scenario replaces the world as the world window receives it; a file that cannot
    // be read leaves everything as it was.
    LoadResult load(const std::string& path);
    // The world window's load on whatever the state now holds (a world built by hand, a test's).
    void worldLoaded();
    // "New": every cell refilled by `mode` (a fill mode of LlenarMundo), the count back to 0.
    void refill(int mode);

    // The run preparation before a start or a single step.
    void prepare();
    // One generation.
    void step();
    // What a click on the run button with any button but the left one does: prepare, then step.
    void singleStep();
    // Prepares once, then plays n generations; `after` (when given) runs after each of them.
    template <typename After>
    void run(int n, After after) {
        prepare();
        for (int g = 0; g < n; ++g) {
            step();
            after(g + 1);
        }
    }
    void run(int n) {
        run(n, [](int) {});
    }

    // Off: the searches scan the records one by one (the reference the index is checked against).
    void useRecordIndex(bool on) { scratch_.useIndex = on; }
    // Off: no encounter leaves out a search its output cannot depend on (the reference the
    // shortcuts are checked against).
    void useShortcuts(bool on) { scratch_.useShortcuts = on; }
    // The statistics of every generation since the last "Start", "Open" or "New".
    const StatisticsHistory& statistics() const { return statistics_; }

    // What the generations worked in, for tests that digest every last array of a run.
    const GenerationScratch& scratch() const { return scratch_; }

    // Forgets what the last generation left: on a new world, or a refilled one.
    void clearReport();

  private:
    World state_;
    GenerationReport report_;
    GenerationScratch scratch_;
    StatisticsHistory statistics_;
    Rng rng_;
    Rng replayRng_{kReplaySeed};

    static constexpr std::uint64_t kReplaySeed = 0x5EED;
};

}  // namespace morvane
