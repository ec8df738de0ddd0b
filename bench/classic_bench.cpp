// The classic spatial prisoner's dilemma on the engine, beside the plain loop a researcher writes
// for it in an afternoon: 40 columns x 50 rows, every cell unconditional cooperator (90 %) or
// unconditional defector, T = 1.75, R = 1, P = S = 0 for both roles, the 8 inner neighbours,
// imitation of the best-scoring cell among the same neighbours, total pay-off, one round, no
// mutation. The engine's time per generation over the loop's is the price of its generality.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/rng.h"
#include "core/neighbourhood_setup.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "games/payoff.h"
#include "strategy/genome.h"

namespace {

using namespace morvane;

constexpr int kColumns = 40, kRows = 50;
constexpr float kTemptation = 1.75f;
constexpr std::uint64_t kSeed = 2026;

int slotNamed(const World& w, std::string_view name) {
    for (int s = 0; s < static_cast<int>(w.ListaEstrategias.size()); ++s)
        if (w.ListaEstrategias[s].name == name) return s;
    return -1;
}

// The classic world as a scenario file would hold it, ready to step. `cooperators` receives each
// cell's strategy for the loop.
void makeClassicWorld(Simulation& sim, std::vector<std::uint8_t>& cooperators) {
    World& w = sim.state();
    applyStartupDefaults(w);
    w.NumColumnas = kColumns;
    w.NumFilas = kRows;
    startWorld(w, sim.rng());
    const Genoma uc = toCellForm(w.ListaEstrategias[slotNamed(w, "UC")].genoma);
    const Genoma ud = toCellForm(w.ListaEstrategias[slotNamed(w, "UD")].genoma);
    Rng draw(kSeed);
    cooperators.assign(static_cast<std::size_t>(w.NumJugadores) + 1, 0);
    for (int c = 1; c <= w.NumJugadores; ++c) {
        cooperators[c] = draw.uniform() < 0.9f;
        w.genoma(kActual, c) = w.genoma(kPrevio, c) = cooperators[c] ? uc : ud;
    }
    sim.worldLoaded();
    setPayoffs(w.payoffs, {kTemptation, kTemptation, 1, 1, 0, 0, 0, 0});
    w.options.mnuOpcion = {false, false, false, false, false, false, false, true, true, false};
    recomputeOpciones(w);
    ChooseNeighbourhood(w, 2);  // the 8 inner neighbours
    w.Iteraciones = 1;
    clickRegla(w, 0);  // Maxi Max
    clickSuma(w, 0);   // total pay-off
    sim.prepare();
}

// The plain loop: a neighbour table, float scores, two passes per generation.
class ReferenceLoop {
  public:
    explicit ReferenceLoop(const std::vector<std::uint8_t>& cooperators)
        : cooperate_(cooperators.begin() + 1, cooperators.end()),
          next_(cooperate_.size()),
          score_(cooperate_.size()),
          neighbours_(cooperate_.size()) {
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                int k = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        if (dr == 0 && dc == 0) continue;
                        const int rr = (r + dr + kRows) % kRows,
                                  cc = (c + dc + kColumns) % kColumns;
                        neighbours_[r * kColumns + c][k++] = rr * kColumns + cc;
                    }
            }
    }

    // Kept out of line, so that callgrind can count one generation's instructions.
    [[gnu::noinline]] void generation() {
        const std::size_t n = cooperate_.size();
        for (std::size_t i = 0; i < n; ++i) {
            float s = 0;
            for (int j : neighbours_[i]) {
                if (!cooperate_[j]) continue;  // P = S = 0
                s += cooperate_[i] ? 1.0f : kTemptation;
            }
            score_[i] = s;
        }
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t best = i;
            for (int j : neighbours_[i])
                if (score_[j] > score_[best]) best = static_cast<std::size_t>(j);
            next_[i] = cooperate_[best];
        }
        cooperate_.swap(next_);
    }

    int cooperators() const {
        int n = 0;
        for (auto c : cooperate_) n += c;
        return n;
    }

  private:
    std::vector<std::uint8_t> cooperate_, next_;
    std::vector<float> score_;
    std::vector<std::array<int, 8>> neighbours_;
};

void BM_ClassicWorldEngine(benchmark::State& state) {
    Simulation sim(kSeed);
    std::vector<std::uint8_t> cooperators;
    makeClassicWorld(sim, cooperators);
    for (auto _ : state) sim.step();
    state.counters["generations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ClassicWorldReferenceLoop(benchmark::State& state) {
    Simulation sim(kSeed);
    std::vector<std::uint8_t> cooperators;
    makeClassicWorld(sim, cooperators);
    ReferenceLoop loop(cooperators);
    for (auto _ : state) {
        loop.generation();
        benchmark::DoNotOptimize(loop);
    }
    state.counters["generations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cooperators"] = loop.cooperators();
}

BENCHMARK(BM_ClassicWorldEngine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ClassicWorldReferenceLoop)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The console's report, keeping each benchmark's CPU time per generation for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds_[run.run_name.function_name] =
                    run.cpu_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio() const {
        const auto engine = seconds_.find("BM_ClassicWorldEngine");
        const auto loop = seconds_.find("BM_ClassicWorldReferenceLoop");
        if (engine == seconds_.end() || loop == seconds_.end()) return;
        std::printf("engine %.3f ms, reference loop %.4f ms a generation: %.1fx\n",
                    engine->second * 1e3, loop->second * 1e3, engine->second / loop->second);
    }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.printRatio();
    return 0;
}
