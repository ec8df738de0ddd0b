// Many small worlds under every combination of settings, checked after every generation for the
// invariants a run must never break. Run under AddressSanitizer and UBSan by the CI as well.
#include <gtest/gtest.h>

#include <iostream>
#include <vector>

#include "base/rng.h"
#include "core/generation.h"
#include "core/neighbourhood_setup.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "encounter/history.h"

namespace morvane {
namespace {

struct Settings {
    int columns, rows;
    int rule;  // 0..3
    bool imitation;
    int sumMode;  // 0..2
    int type;     // 0..14
    bool successive;
    bool completeMutation;
    int iterations;
};

std::string describe(const Settings& s) {
    return std::to_string(s.columns) + "x" + std::to_string(s.rows) + " rule " +
           std::to_string(s.rule) + (s.imitation ? " imitation" : " crossover") + " sum " +
           std::to_string(s.sumMode) + " type " + std::to_string(s.type) +
           (s.successive ? " successive" : "") + (s.completeMutation ? " complete" : " gradual") +
           " iterations " + std::to_string(s.iterations);
}

World makeWorld(const Settings& s, Rng& rng) {
    World w;
    applyStartupDefaults(w);
    w.NumColumnas = static_cast<std::int16_t>(s.columns);
    w.NumFilas = static_cast<std::int16_t>(s.rows);
    startWorld(w, rng);
    // One blank square and, where there is room, one dead square.
    w.genoma(kActual, 1) = toCellForm(w.ListaEstrategias[3].genoma);
    if (w.NumJugadores > 2) w.genoma(kActual, 2) = toCellForm(w.ListaEstrategias[2].genoma);
    worldWindowLoad(w);
    clickRegla(w, s.rule);
    clickSuma(w, s.sumMode);
    ChooseNeighbourhood(w, s.type);
    w.Iteraciones = static_cast<std::uint8_t>(s.iterations);
    w.options.mnuOpcion = {true,  s.completeMutation, false, false, s.successive, false, false,
                           false, s.imitation,        false};
    recomputeOpciones(w);
    w.options.mnuVerMutaciones = true;
    w.FrecMutacion = 0.3f;
    w.UmbralSupervivencia = 2.0f;  // some bugs die, so dead squares come and go
    return w;
}

int senSum(const GenomePart& p) {
    return p.SenIC + p.SenIA + p.SenIP;
}

// Returns the first broken invariant, or an empty string.
std::string check(const World& w, const GenerationReport& rep,
                  const std::vector<Genoma>& blanksBefore) {
    const int n = w.NumJugadores;
    for (int c = 1; c <= n; ++c) {
        const std::string at = " at cell " + std::to_string(c);
        const int count = rep.jugadas(c, 0);
        if (count < 0 || count > w.MovPosibles) return "record count beyond MovPosibles" + at;
        for (int k = 1; k <= count; ++k) {
            const auto r = rep.jugadas(c, k);
            const int p = moveRecord::partner(r), ps = moveRecord::partnerSlot(r);
            if (p < 1 || p > n) return "record partner outside the world" + at;
            if (p == c) return "a cell played itself" + at;
            if (ps < 1 || ps > rep.jugadas(p, 0)) return "partner slot outside its records" + at;
            if (moveRecord::partner(rep.jugadas(p, ps)) != c) return "records do not pair up" + at;
        }
        for (int j = 0; j < kNumPositions; ++j) {
            const int v = w.vecino(c, j);
            if (v != kNoPartner && (v < 1 || v > n)) return "neighbour outside the world" + at;
            if (v == c) return "a cell is its own neighbour" + at;
        }
        for (int p = 0; p < 2; ++p)
            if (w.Padres[c][p] < -1 || w.Padres[c][p] > n) return "parent outside the world" + at;
        const Genoma& g = w.genoma(kActual, c);
        if (isBlankSquare(blanksBefore[c]) && !(g == blanksBefore[c]))
            return "a blank square changed" + at;
        for (const auto& part : g.parte) {
            if (senSum(part) != 100) return "sensibilities no longer add to 100" + at;
            if (isMutable(g) && !(1 <= part.X1 && part.X1 < part.X2 && part.X2 <= 99))
                return "curve inputs out of order" + at;
        }
    }
    // Every mutation is recorded with the genome as it was after the copy: it must have been an
    // ordinary bug.
    for (const auto& m : rep.mutationRecords) {
        if (!isMutable(m.before)) return "a square mutated at cell " + std::to_string(m.cell);
        for (int k = 0; k < 6; ++k)
            if (m.coloursAfter[k] != m.before.Colores[k] &&
                (m.coloursAfter[k] < 1 || m.coloursAfter[k] > 254))
                return "a mutated colour left 1..254 at cell " + std::to_string(m.cell);
    }
    return {};
}

TEST(Soak, SmallWorldsKeepEveryInvariantUnderEverySetting) {
    const int sizes[][2] = {{1, 1}, {1, 5}, {2, 2}, {3, 4}};
    std::uint64_t seed = 1;
    int runs = 0;
    long mutations = 0, deadSquares = 0;
    for (int rule = 0; rule < 4; ++rule)
        for (bool imitation : {true, false})
            for (int sum = 0; sum < 3; ++sum)
                for (int type = 0; type < 15; ++type)
                    for (bool successive : {false, true})
                        for (bool complete : {false, true})
                            for (const auto& size : sizes) {
                                const Settings s{size[0], size[1],    rule,     imitation,     sum,
                                                 type,    successive, complete, 1 + (runs % 3)};
                                Simulation sim(seed++);
                                World& w = sim.state();
                                w = makeWorld(s, sim.rng());
                                sim.clearReport();
                                sim.prepare();
                                for (int g = 0; g < 3; ++g) {
                                    std::vector<Genoma> before(w.genomes[kActual]);
                                    sim.step();
                                    const auto broken = check(w, sim.report(), before);
                                    ASSERT_TRUE(broken.empty())
                                        << broken << " after generation " << w.Generacion << " ("
                                        << describe(s) << ", seed " << seed - 1 << ")";
                                    mutations +=
                                        static_cast<long>(sim.report().mutationRecords.size());
                                    for (int c = 1; c <= w.NumJugadores; ++c)
                                        deadSquares += isDeadSquare(w.genoma(kActual, c)) ? 1 : 0;
                                }
                                ++runs;
                            }
    EXPECT_EQ(runs, 4 * 2 * 3 * 15 * 2 * 2 * 4);
    // The settings really exercised mutation and death.
    EXPECT_GT(mutations, 1000);
    EXPECT_GT(deadSquares, 500);
    std::cout << "soak: " << runs << " runs, " << mutations << " mutations, " << deadSquares
              << " dead squares seen\n";
}

}  // namespace
}  // namespace morvane
