// The statistics a simulation keeps of every generation: what the batch run writes, a series per
// named slot that a mid-run change of the slot ends, and the CSV of the whole run.
#include "state/statistics_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "base/rng.h"
#include "core/simulation.h"
#include "io/statistics_csv.h"
#include "state/statistics.h"
#include "support/test_folder.h"

namespace morvane {
namespace {

// collectStatistics remembers the last few strategies it met; on worlds of more strategies than it
// remembers, in random order, its counts equal those of a plain count cell by cell.
TEST(StatisticsHistory, CountsEqualAPlainCountOnWorldsOfManyStrategies) {
    Simulation sim(31);
    World& w = sim.state();
    sim.start();
    const std::vector<int> slots = countedSlots(w);
    std::vector<Genoma> kinds = {deadSquareGenome()};
    for (int s : slots) kinds.push_back(toCellForm(w.ListaEstrategias[s].genoma));
    Rng rng(5);
    for (int k = 0; k < 6; ++k) {  // strategies of no slot, and slot strategies in other colours
        Genoma g = kinds[1 + rng.below(static_cast<int>(kinds.size()) - 1)];
        if (k % 2 == 0)
            g.parte[1].ValIA = static_cast<std::uint8_t>(rng.below(101));
        else
            g.Colores[0] = static_cast<std::uint8_t>(g.Colores[0] + 1);
        kinds.push_back(g);
    }
    for (int round = 0; round < 5; ++round) {
        for (int c = 1; c <= w.NumJugadores; ++c)
            w.genoma(kActual, c) = kinds[rng.below(static_cast<int>(kinds.size()))];
        const GenerationStatistics st = collectStatistics(w, sim.report(), slots);

        GenerationStatistics plain;
        plain.slotCounts.assign(slots.size(), 0);
        std::vector<const Genoma*> distinct;
        for (int c = 1; c <= w.NumJugadores; ++c) {
            const Genoma& g = w.genoma(kActual, c);
            if (isBlankSquare(g)) {
                ++plain.blank;
            } else if (isDeadSquare(g)) {
                ++plain.dead;
            } else {
                ++plain.alive;
                if (std::none_of(distinct.begin(), distinct.end(),
                                 [&](const Genoma* d) { return sameStrategy(*d, g); }))
                    distinct.push_back(&g);
            }
            std::size_t i = 0;
            while (i < slots.size() &&
                   !sameStrategy(g, toCellForm(w.ListaEstrategias[slots[i]].genoma)))
                ++i;
            if (i < slots.size())
                ++plain.slotCounts[i];
            else
                ++plain.other;
        }
        SCOPED_TRACE(round);
        EXPECT_EQ(st.blank, plain.blank);
        EXPECT_EQ(st.dead, plain.dead);
        EXPECT_EQ(st.alive, plain.alive);
        EXPECT_EQ(st.strategies, static_cast<int>(distinct.size()));
        EXPECT_EQ(st.slotCounts, plain.slotCounts);
        EXPECT_EQ(st.other, plain.other);
    }
}

TEST(StatisticsHistory, KeepsEachGenerationAsCountedAndStartsASeriesWhenASlotChanges) {
    Simulation sim(777);
    World& w = sim.state();
    sim.start();
    const std::vector<int> slots = countedSlots(w);
    ASSERT_GE(slots.size(), 4u);
    const int renamed = slots[2], replaced = slots[3], added = 20;
    ASSERT_TRUE(w.ListaEstrategias[added].name.empty());

    // Every row is what collectStatistics counts after that generation.
    sim.prepare();
    std::vector<std::string> rows;
    for (int g = 0; g < 3; ++g) {
        sim.step();
        rows.push_back(csvRow(collectStatistics(w, sim.report(), slots)));
        EXPECT_EQ(csvRow(sim.statistics().latest()), rows.back());
    }

    std::string header = csvHeader(w, slots);
    std::vector<std::string> namesBefore;
    for (int s : slots) namesBefore.push_back(w.ListaEstrategias[s].name);
    // Between generations 3 and 4: a slot renamed, another given a different strategy, one added.
    w.ListaEstrategias[renamed].name = "Renamed";
    w.ListaEstrategias[replaced].genoma.parte[0].Y0 ^= 1;
    w.ListaEstrategias[added].name = "Newcomer";
    w.ListaEstrategias[added].genoma = w.ListaEstrategias[slots[0]].genoma;
    w.ListaEstrategias[added].genoma.parte[1].Y3 ^= 1;
    w.ListaEstrategias[slots[0]].genoma.Colores[0] ^= 1;  // a new colour is the same strategy
    sim.step();
    sim.step();

    const StatisticsHistory& h = sim.statistics();
    ASSERT_EQ(h.size(), 5u);
    const auto& series = h.series();
    // Each series as slot, name, first row and end: the renamed and the replaced slot end after
    // generation 3, and start again with the added one.
    using Span = std::tuple<int, std::string, std::size_t, std::size_t>;
    std::vector<Span> spans, expected;
    for (const auto& s : series) spans.emplace_back(s.slot, s.name, s.firstRow, s.endRow());
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const bool ended = slots[k] == renamed || slots[k] == replaced;
        expected.emplace_back(slots[k], namesBefore[k], 0u, ended ? 3u : 5u);
    }
    expected.emplace_back(renamed, "Renamed", 3u, 5u);
    expected.emplace_back(replaced, w.ListaEstrategias[replaced].name, 3u, 5u);
    expected.emplace_back(added, "Newcomer", 3u, 5u);
    EXPECT_EQ(spans, expected);
    EXPECT_EQ(series[0].genoma.Colores[0],
              toCellForm(w.ListaEstrategias[slots[0]].genoma).Colores[0]);
    // A row still gives the counts in slot order, as the batch run would have written them then.
    const std::vector<int> nowCounted = countedSlots(w);
    EXPECT_EQ(csvRow(h.latest()), csvRow(collectStatistics(w, sim.report(), nowCounted)));

    // The CSV: one column per series in the order they began, empty where a series did not run.
    const std::vector<std::string> lines = testing::lines(historyCsv(h));
    ASSERT_EQ(lines.size(), 6u);
    header.erase(header.size() - std::string(",other\n").size());
    header += ",Renamed," + w.ListaEstrategias[replaced].name + ",Newcomer,other";
    EXPECT_EQ(lines[0], header);
    for (std::size_t r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        std::string expected = rows[r];
        const auto otherAt = expected.rfind(',');
        expected.insert(otherAt, ",,,");
        expected.pop_back();
        EXPECT_EQ(lines[r + 1], expected);
    }
    const std::string last = lines[5];
    const auto fields = std::count(last.begin(), last.end(), ',');
    EXPECT_EQ(fields, 9 + static_cast<long>(slots.size()) + 3);

    // "New", "Start" and "Open" start the statistics again.
    sim.refill(1);
    EXPECT_TRUE(sim.statistics().empty());
    EXPECT_TRUE(sim.statistics().series().empty());
    sim.run(2);
    EXPECT_EQ(sim.statistics().size(), 2u);
    sim.start();
    EXPECT_TRUE(sim.statistics().empty());
}

}  // namespace
}  // namespace morvane
