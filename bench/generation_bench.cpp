// Generations per second on the worlds researchers run most: the largest world the start-up window
// makes and the start-up world itself, each with the record index the searches read and with the
// record-by-record scan the index replaces (the straightforward search, for the speed-up).
#include <benchmark/benchmark.h>

#include "core/simulation.h"
#include "core/startup.h"

namespace {

using namespace morvane;

void runGenerations(benchmark::State& state, int columns, int rows, int type, int iterations,
                    bool recordIndex) {
    Simulation sim(12345);
    makeBusyWorld(sim.state(), sim.rng(), columns, rows, type, iterations);
    sim.clearReport();
    sim.useRecordIndex(recordIndex);
    sim.prepare();
    for (auto _ : state) sim.step();
    state.counters["generations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// 40 columns x 50 rows, type 12 (24 partners), 10 iterations.
void BM_LargestWorld(benchmark::State& state) {
    runGenerations(state, 40, 50, 12, 10, true);
}
void BM_LargestWorldPlainScan(benchmark::State& state) {
    runGenerations(state, 40, 50, 12, 10, false);
}
// 25 columns x 40 rows, type 12, 4 iterations.
void BM_StartupWorld(benchmark::State& state) {
    runGenerations(state, 25, 40, 12, 4, true);
}
void BM_StartupWorldPlainScan(benchmark::State& state) {
    runGenerations(state, 25, 40, 12, 4, false);
}

BENCHMARK(BM_LargestWorld)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_LargestWorldPlainScan)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_StartupWorld)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_StartupWorldPlainScan)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
