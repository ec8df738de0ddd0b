// Watching a cell never changes a run: the selected cell's encounters are played on the same path
// as every other, only their rows are kept for the results table.
#include <gtest/gtest.h>

#include "core/simulation.h"
#include "core/startup.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

std::uint64_t digestOfRun(bool successiveMoves, int selected) {
    Simulation sim(77);
    makeBusyWorld(sim.state(), sim.rng(), 9, 7, 12, 3);
    World& w = sim.state();
    w.options.mnuOpcion[4] = successiveMoves;
    recomputeOpciones(w);
    w.options.CiEsExitoMenu = 1;
    sim.clearReport();
    w.CasillaSel = static_cast<std::int16_t>(selected);
    std::uint64_t run = 0;
    sim.run(6, [&](int) {
        run = testing::foldDigest(run,
                                  testing::worldDigest(w, sim.report(), sim.scratch().MuertoHoy));
        // The rows of the watched cell are there, one per encounter it played.
        const GenerationReport& r = sim.report();
        if (selected >= 1 && r.selectedRowsCell == selected) {
            EXPECT_EQ(static_cast<int>(r.selectedRows.size()), r.jugadas(selected, 0));
        }
    });
    return run;
}

TEST(SelectedCell, WatchedAndUnwatchedRunsGiveIdenticalWorlds) {
    for (bool successive : {false, true}) {
        SCOPED_TRACE(successive ? "successive moves" : "simultaneous moves");
        // Cell 0 is no cell of the board: nobody is watched.
        const std::uint64_t unwatched = digestOfRun(successive, 0);
        for (int cell : {1, 5, 32, 63}) {
            SCOPED_TRACE(cell);
            EXPECT_EQ(digestOfRun(successive, cell), unwatched);
        }
    }
}

}  // namespace
}  // namespace morvane
