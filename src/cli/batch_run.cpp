#include "cli/batch_run.h"

#include <memory>

#include "cli/batch_outputs.h"
#include "core/simulation.h"
#include "io/scenario_file.h"
#include "state/statistics.h"

namespace morvane {

BatchOutcome runBatch(const BatchOptions& opts, const ProgressFn& progress) {
    if (auto refused = checkBatchOutputs(opts)) return {2, *refused};
    auto sim =
        opts.seed ? std::make_unique<Simulation>(*opts.seed) : std::make_unique<Simulation>();
    if (opts.scenario) {
        const auto loaded = sim->load(*opts.scenario);
        if (!loaded.ok)
            return {2, *opts.scenario + ":" + std::to_string(loaded.line) + ": " + loaded.reason};
    } else {
        sim->start();
    }
    World& w = sim->state();
    applyRunSettings(w, opts.settings);

    BatchOutputs outputs(opts, countedSlots(w));
    if (auto opened = outputs.begin(w); !opened.ok) return {1, opened.reason};

    sim->prepare();
    for (int g = 0; g < opts.generations; ++g) {
        sim->step();
        if (auto written = outputs.afterGeneration(sim->statistics().latest()); !written.ok)
            return {1, written.reason};
        if (progress) progress(g + 1, opts.generations);
    }
    if (auto done = outputs.finish(w); !done.ok) return {1, done.reason};
    return {0, {}};
}

}  // namespace morvane
