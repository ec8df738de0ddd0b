// One seeded world with every mechanism on, played for a few hundred generations: its statistics
// must match the stored run line for line, in every build. A difference means a change of results.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/generation.h"
#include "core/neighbourhood_setup.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "games/payoff.h"
#include "io/statistics_csv.h"
#include "state/statistics.h"

namespace morvane {
namespace {

constexpr const char* kGoldenFile = MORVANE_TEST_DATA "/golden_run.csv";

std::string playGoldenRun() {
    Simulation sim(20261206);
    World& w = sim.state();
    w.NumColumnas = 17;
    w.NumFilas = 13;
    startWorld(w, sim.rng());
    // A few blank and dead squares, and some of every predefined strategy.
    for (int c = 1; c <= w.NumJugadores; c += 7)
        w.genoma(kActual, c) = toCellForm(w.ListaEstrategias[2 + c % 6].genoma);
    sim.worldLoaded();
    SelectGame(w.payoffs, 1);    // Gallina: a mixed reference solution
    ChooseNeighbourhood(w, 14);  // fixed and random partners
    w.Iteraciones = 3;
    clickRegla(w, 1);  // Replicator Dynamics
    clickSuma(w, 2);
    w.options.mnuOpcion = {true, false, true, false, true, false, true, false, false, true};
    recomputeOpciones(w);
    w.options.CiEsExitoMenu = 1;
    w.FrecMutacion = 0.05f;
    w.UmbralSupervivencia = 1.0f;
    w.UmbralHoy = 0.2f;

    const auto slots = countedSlots(w);
    std::string csv = csvHeader(w, slots);
    sim.prepare();
    for (int g = 0; g < 300; ++g) {
        if (g == 150) {  // a second start with other settings half way
            clickRegla(w, 0);
            clickOpcion(w, 8);
            sim.prepare();
        }
        sim.step();
        csv += csvRow(collectStatistics(w, sim.report(), slots));
    }
    return csv;
}

TEST(GoldenRun, StatisticsMatchTheStoredRun) {
    const std::string csv = playGoldenRun();
    if (std::getenv("MORVANE_UPDATE_GOLDEN")) {
        std::ofstream(kGoldenFile, std::ios::binary) << csv;
        GTEST_SKIP() << "stored a new golden run in " << kGoldenFile;
    }
    std::ifstream in(kGoldenFile, std::ios::binary);
    ASSERT_TRUE(in) << "missing " << kGoldenFile;
    std::stringstream stored;
    stored << in.rdbuf();

    std::istringstream got(csv), want(stored.str());
    std::string g, e;
    for (int line = 1; std::getline(want, e); ++line) {
        ASSERT_TRUE(std::getline(got, g)) << "the run ended early at line " << line;
        ASSERT_EQ(g, e) << "first difference at line " << line << "; the whole run:\n" << csv;
    }
    EXPECT_FALSE(std::getline(got, g)) << "the run has more lines than the stored one";
}

}  // namespace
}  // namespace morvane
