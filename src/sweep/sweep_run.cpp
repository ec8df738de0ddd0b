#include "sweep/sweep_run.h"

#include <cstdio>
#include <deque>

#include "core/startup.h"
#include "io/bounded_read.h"
#include "io/statistics_csv.h"
#include "state/statistics.h"
#include "sweep/seeds.h"
#include "sweep/sha256.h"

namespace morvane {

namespace {

std::string runStem(const RunId& run) {
    char name[64];
    std::snprintf(name, sizeof name, "runs/point-%06d-rep-%06d", run.point, run.repetition);
    return name;
}

// What a run's summary needs of every generation, kept or not.
class SummaryAccumulator {
  public:
    explicit SummaryAccumulator(int window) : window_(static_cast<std::size_t>(window)) {}

    void add(const GenerationStatistics& st) {
        recentCoop_.push_back(st.coop);
        if (recentCoop_.size() > window_) recentCoop_.pop_front();
        if (!fixation_ && st.strategies == 1) fixation_ = st.generation;
        last_ = st;
    }

    std::string row() const {
        double sum = 0;
        int count = 0;
        for (const auto& c : recentCoop_) {
            if (!c) continue;
            sum += *c;
            ++count;
        }
        std::string r = count ? shortestFloat(static_cast<float>(sum / count)) : std::string();
        r += "," + std::to_string(last_.alive);
        const int cells = last_.alive + last_.dead + last_.blank;
        for (int n : last_.slotCounts) {
            const double share = cells ? static_cast<double>(n) / cells : 0.0;
            r += "," + shortestFloat(static_cast<float>(share));
        }
        r += "," + (fixation_ ? std::to_string(*fixation_) : std::string());
        return r + "\n";
    }

  private:
    std::size_t window_;
    std::deque<std::optional<double>> recentCoop_;
    std::optional<std::int32_t> fixation_;
    GenerationStatistics last_;
};

std::string summaryHeader(const SweepPlan& plan, const BaseWorld& base) {
    std::string h = sweepColumnsHeader(plan) + ",mean_coop,final_alive";
    for (const auto& name : base.slotNames) h += "," + csvField("share:" + name);
    return h + ",fixation_generation\n";
}

}  // namespace

RunId runAt(const SweepPlan& plan, std::int64_t index) {
    return {static_cast<int>(index / plan.repetitions), static_cast<int>(index % plan.repetitions),
            index};
}

std::uint64_t seedOf(const SweepPlan& plan, const RunId& run) {
    return runSeed(plan.seed, static_cast<std::uint64_t>(run.point),
                   static_cast<std::uint64_t>(run.repetition), plan.paired);
}

std::string rowsFileOf(const RunId& run) {
    return runStem(run) + ".csv";
}

std::string summaryFileOf(const RunId& run) {
    return runStem(run) + ".summary.csv";
}

LoadResult loadBaseWorld(const SweepPlan& plan, BaseWorld* base) {
    World w;
    if (plan.scenario) {
        std::string text;
        if (auto refused = readRegularFile(*plan.scenario, ReadLimits{}.maxBytes, &text))
            return {false, 0, "cannot open " + *plan.scenario + ": " + *refused};
        applyStartupDefaults(w);
        const LoadResult loaded = readScenarioText(w, text);
        if (!loaded.ok) return loaded;
        base->sha256 = sha256Hex(text);
        base->scenario = w;
    }
    const Simulation sim = startRun(plan, *base, {});
    base->slotNames.clear();
    for (int slot : countedSlots(sim.state()))
        base->slotNames.push_back(sim.state().ListaEstrategias[slot].name);
    return {};
}

std::optional<std::string> slotNameClash(const SweepPlan& plan, const BaseWorld& base) {
    std::vector<std::string> leading = {"point", "repetition", "seed"};
    leading.insert(leading.end(), plan.columnKeys.begin(), plan.columnKeys.end());
    for (const auto& name : base.slotNames) {
        for (const auto& column : leading) {
            if (name == column)
                return "the strategy slot named " + name +
                       " would repeat a column of the sweep's tables: rename the slot";
        }
    }
    return std::nullopt;
}

Simulation startRun(const SweepPlan& plan, const BaseWorld& base, const RunId& run) {
    Simulation sim(seedOf(plan, run));
    if (base.scenario) {
        sim.state() = *base.scenario;
        sim.worldLoaded();
    } else {
        sim.start();
    }
    applyRunSettings(sim.state(), plan.points[static_cast<std::size_t>(run.point)].settings);
    return sim;
}

WriteOutcome playRun(const SweepPlan& plan, const BaseWorld& base, const std::string& folder,
                     const RunId& run, const std::atomic<bool>& stop) {
    Simulation sim = startRun(plan, base, run);
    const World& w = sim.state();
    const std::vector<int> slots = countedSlots(w);

    std::string prefix = std::to_string(run.point) + "," + std::to_string(run.repetition) + "," +
                         std::to_string(seedOf(plan, run));
    for (const auto& column : plan.points[static_cast<std::size_t>(run.point)].columns)
        prefix += "," + csvField(column);
    prefix += ",";

    OutputBatch batch;
    OutputBatch::Id rows = 0;
    if (auto opened = batch.open(folder + "/" + rowsFileOf(run), &rows); !opened.ok) return opened;
    if (auto written = batch.append(rows, sweepColumnsHeader(plan) + "," + csvHeader(w, slots));
        !written.ok)
        return written;

    SummaryAccumulator summary(plan.summaryWindow);
    sim.prepare();
    for (int g = 1; g <= plan.generations; ++g) {
        if (stop.load(std::memory_order_relaxed)) return {false, {}};
        sim.step();
        const GenerationStatistics st = sim.statistics().latest();
        summary.add(st);
        if (!plan.keep.keeps(g, plan.generations)) continue;
        if (auto written = batch.append(rows, prefix + csvRow(st)); !written.ok) return written;
    }
    const std::string summaryText = summaryHeader(plan, base) + prefix + summary.row();
    if (auto staged = batch.stage(folder + "/" + summaryFileOf(run), summaryText); !staged.ok)
        return staged;
    return batch.commit();
}

}  // namespace morvane
