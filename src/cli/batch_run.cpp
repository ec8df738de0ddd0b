#include "cli/batch_run.h"

#include <memory>

#include "cli/batch_outputs.h"
#include "core/neighbourhood_setup.h"
#include "core/simulation.h"
#include "games/payoff.h"
#include "io/scenario_file.h"
#include "state/statistics.h"

namespace morvane {

namespace {

void applyOverrides(World& w, const BatchOptions& o) {
    if (o.payoffs) {
        const auto& p = *o.payoffs;
        w.payoffs.T[1] = p[0], w.payoffs.R[1] = p[1], w.payoffs.P[1] = p[2], w.payoffs.S[1] = p[3];
        w.payoffs.T[2] = p[4], w.payoffs.R[2] = p[5], w.payoffs.P[2] = p[6], w.payoffs.S[2] = p[7];
        UpdatePayoffMatrix(w.payoffs);
    }
    if (o.rule) {
        w.options.mnuRegla = {false, false, false, false};
        clickRegla(w, *o.rule - 1);
    }
    if (o.neighbourhood) ChooseNeighbourhood(w, *o.neighbourhood);
    if (o.iterations) w.Iteraciones = static_cast<std::uint8_t>(*o.iterations);
    if (o.mutation) {
        w.FrecMutacion = *o.mutation;
        w.options.mnuOpcion[0] = *o.mutation > 0.0f;
        recomputeOpciones(w);
    }
}

}  // namespace

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
    applyOverrides(w, opts);

    BatchOutputs outputs(opts, countedSlots(w));
    if (auto opened = outputs.begin(w); !opened.ok) return {1, opened.reason};

    sim->prepare();
    for (int g = 0; g < opts.generations; ++g) {
        sim->step();
        if (auto written = outputs.afterGeneration(w, sim->report()); !written.ok)
            return {1, written.reason};
        if (progress) progress(g + 1, opts.generations);
    }
    if (auto done = outputs.finish(w); !done.ok) return {1, done.reason};
    return {0, {}};
}

}  // namespace morvane
