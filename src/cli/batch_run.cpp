#include "cli/batch_run.h"

#include <memory>

#include "cli/batch_outputs.h"
#include "core/generation.h"
#include "core/rng.h"
#include "core/startup.h"
#include "core/statistics.h"
#include "games/payoff.h"
#include "io/scenario_file.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

void applyOverrides(World& w, const BatchOptions& o) {
    if (o.payoffs) {
        const auto& p = *o.payoffs;
        w.pagos.T[1] = p[0], w.pagos.R[1] = p[1], w.pagos.P[1] = p[2], w.pagos.S[1] = p[3];
        w.pagos.T[2] = p[4], w.pagos.R[2] = p[5], w.pagos.P[2] = p[6], w.pagos.S[2] = p[7];
        UpdatePayoffMatrix(w.pagos);
    }
    if (o.rule) {
        w.opciones.mnuRegla = {false, false, false, false};
        clickRegla(w, *o.rule - 1);
    }
    if (o.neighbourhood) ChooseNeighbourhood(w, *o.neighbourhood);
    if (o.iterations) w.Iteraciones = static_cast<std::uint8_t>(*o.iterations);
    if (o.mutation) {
        w.FrecMutacion = *o.mutation;
        w.opciones.mnuOpcion[0] = *o.mutation > 0.0f;
        recomputeOpciones(w);
    }
}

}  // namespace

BatchOutcome runBatch(const BatchOptions& opts, const ProgressFn& progress) {
    if (auto refused = checkBatchOutputs(opts)) return {2, *refused};
    auto rng = opts.seed ? Rng(*opts.seed) : Rng();
    auto world = std::make_unique<World>();
    World& w = *world;
    applyStartupDefaults(w);
    if (opts.scenario) {
        const auto loaded = CargarEscenario(w, *opts.scenario);
        if (!loaded.ok)
            return {2, *opts.scenario + ":" + std::to_string(loaded.line) + ": " + loaded.reason};
    } else {
        startWorld(w, rng);
    }
    worldWindowLoad(w);
    applyOverrides(w, opts);

    BatchOutputs outputs(opts, countedSlots(w));
    if (auto opened = outputs.begin(w); !opened.ok) return {1, opened.reason};

    PrepararPaso(w);
    for (int g = 0; g < opts.generations; ++g) {
        UnaGeneracion(w, rng);
        if (auto written = outputs.afterGeneration(w); !written.ok) return {1, written.reason};
        if (progress) progress(g + 1, opts.generations);
    }
    if (auto done = outputs.finish(w); !done.ok) return {1, done.reason};
    return {0, {}};
}

}  // namespace morvane
