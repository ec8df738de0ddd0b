#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "state/generation_report.h"
#include "state/statistics.h"
#include "state/world.h"
#include "strategy/genome.h"

namespace morvane {

// The statistics of every generation of a run, kept whether anybody looks or not: the share chart
// draws them and saves them as the command line's CSV, and the command line and the sweeps write
// their rows from here, so a generation is counted once.
//
// A named slot's counts form a series. A slot that is added, renamed or given another strategy in
// the middle of a run starts a new series; the old one simply ends, so no line joins the counts of
// two different strategies.
class StatisticsHistory {
  public:
    struct Series {
        int slot = 0;  // 2..20
        std::string name;
        Genoma genoma;  // the strategy counted, in cell form; its colours follow the slot's
        std::size_t firstRow = 0;
        std::vector<std::int32_t> counts;  // one per row from firstRow on, while the slot lasted

        std::size_t endRow() const { return firstRow + counts.size(); }
        bool covers(std::size_t row) const { return row >= firstRow && row < endRow(); }
    };

    // Counts the generation just played and keeps its statistics.
    void record(const World& w, const GenerationReport& rep);
    void clear();

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    std::int32_t generationOf(std::size_t row) const { return rows_[row].generation; }
    // The number of cells the counts of a row add up to.
    int cellsOf(std::size_t row) const {
        return rows_[row].alive + rows_[row].dead + rows_[row].blank;
    }
    // The statistics of a row as collectStatistics gave them, slot counts in slot order.
    GenerationStatistics row(std::size_t row) const;
    GenerationStatistics latest() const { return row(rows_.size() - 1); }

    // Every series in the order it began.
    const std::vector<Series>& series() const { return series_; }
    // The cells of each row that matched no named slot.
    const std::vector<std::int32_t>& other() const { return other_; }

  private:
    // The scalars of a row; an empty mean is kept as NaN.
    struct Row {
        std::int32_t generation = 0;
        std::int32_t alive = 0, dead = 0, blank = 0, strategies = 0;
        double coopRole1 = 0, coopRole2 = 0, coop = 0, meanScore = 0;
    };

    // Continues the series whose slot still holds the same name and strategy; starts the others.
    void followSlots(const World& w, const std::vector<int>& slots);

    std::vector<Row> rows_;
    std::vector<std::int32_t> other_;
    std::vector<Series> series_;
    std::vector<std::size_t> current_;  // the series of the last row, in slot order
};

}  // namespace morvane
