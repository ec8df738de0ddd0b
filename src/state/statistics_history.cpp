#include "state/statistics_history.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvane {

namespace {

double kept(const std::optional<double>& v) {
    return v ? *v : std::numeric_limits<double>::quiet_NaN();
}

std::optional<double> given(double v) {
    if (std::isnan(v)) return std::nullopt;
    return v;
}

}  // namespace

void StatisticsHistory::clear() {
    rows_.clear();
    other_.clear();
    series_.clear();
    current_.clear();
}

void StatisticsHistory::followSlots(const World& w, const std::vector<int>& slots) {
    std::vector<std::size_t> next;
    next.reserve(slots.size());
    for (int slot : slots) {
        const StrategySlot& listed = w.ListaEstrategias[static_cast<std::size_t>(slot)];
        const Genoma genoma = toCellForm(listed.genoma);
        const auto same = std::find_if(current_.begin(), current_.end(), [&](std::size_t s) {
            const Series& old = series_[s];
            return old.slot == slot && old.name == listed.name && sameStrategy(old.genoma, genoma);
        });
        if (same != current_.end()) {
            series_[*same].genoma.Colores = genoma.Colores;
            next.push_back(*same);
        } else {
            series_.push_back({slot, listed.name, genoma, rows_.size(), {}});
            next.push_back(series_.size() - 1);
        }
    }
    current_ = std::move(next);
}

void StatisticsHistory::record(const World& w, const GenerationReport& rep) {
    const std::vector<int> slots = countedSlots(w);
    followSlots(w, slots);
    const GenerationStatistics st = collectStatistics(w, rep, slots);
    rows_.push_back({st.generation, st.alive, st.dead, st.blank, st.strategies, kept(st.coopRole1),
                     kept(st.coopRole2), kept(st.coop), kept(st.meanScore)});
    other_.push_back(st.other);
    for (std::size_t k = 0; k < current_.size(); ++k)
        series_[current_[k]].counts.push_back(st.slotCounts[k]);
}

GenerationStatistics StatisticsHistory::row(std::size_t i) const {
    const Row& r = rows_[i];
    GenerationStatistics st;
    st.generation = r.generation;
    st.coopRole1 = given(r.coopRole1);
    st.coopRole2 = given(r.coopRole2);
    st.coop = given(r.coop);
    st.meanScore = given(r.meanScore);
    st.alive = r.alive;
    st.dead = r.dead;
    st.blank = r.blank;
    st.strategies = r.strategies;
    st.other = other_[i];
    // One series per slot covers a row; the slots come in order.
    std::vector<const Series*> covering;
    for (const Series& s : series_)
        if (s.covers(i)) covering.push_back(&s);
    std::sort(covering.begin(), covering.end(),
              [](const Series* a, const Series* b) { return a->slot < b->slot; });
    for (const Series* s : covering) st.slotCounts.push_back(s->counts[i - s->firstRow]);
    return st;
}

}  // namespace morvane
