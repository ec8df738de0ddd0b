#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "core/neighbourhood_setup.h"
#include "core/seeding.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "games/payoff.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

// Seeded runs digested after every generation. Any change to what a generation computes or to the
// order and number of its draws, down to the last bit of a score, changes a digest; work that only
// makes the generation faster must leave them as they are. Short enough to run under the sanitizers
// as well; the golden CSV run covers the long haul.

// The largest world the start-up window makes with every mechanism of the busy world on (24
// partners, 10 iterations, Replicator Dynamics, crossover, mutation) and the start-up world itself.
std::uint64_t digestOfBenchmarkWorld(bool busy) {
    Simulation sim(2024);
    if (busy)
        makeBusyWorld(sim.state(), sim.rng(), 40, 50, 12, 10);
    else
        makeStartupWorld(sim.state(), sim.rng());
    sim.clearReport();
    std::uint64_t run = 0;
    sim.run(25, [&](int) {
        run = testing::foldDigest(
            run, testing::worldDigest(sim.state(), sim.report(), sim.scratch().MuertoHoy));
    });
    return run;
}

TEST(GoldenHash, SeededRunsOfTheBusyAndTheStartupWorld) {
    struct Row {
        const char* name;
        bool busy;
        std::uint64_t expected;
    };
    const Row rows[] = {
        {"busy world 40 x 50", true, 0x4f9bd09a6b47b3bfULL},
        {"start-up world 25 x 40", false, 0x7169da25d9815512ULL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::uint64_t digest = digestOfBenchmarkWorld(r.busy);
        EXPECT_EQ(digest, r.expected) << std::hex << "0x" << digest;
    }
}

// One setting of every kind a scenario holds: each of the fifteen neighbourhood types, each game
// of the catalogue, each rule and sum mode, both fills, and the options that change what an
// encounter, a copy or a mutation draws.
struct Setting {
    int type, game, rule, sumMode, iterations, fill;
    std::array<bool, 10> options;
    bool ciEsExito, cakeCutting;
    float mutation, thresholdToday;
    std::uint64_t expected;
};

std::uint64_t digestOfSetting(const Setting& s, std::uint64_t seed) {
    Simulation sim(seed);
    World& w = sim.state();
    applyStartupDefaults(w);
    w.NumColumnas = 12;
    w.NumFilas = 9;
    startWorld(w, sim.rng());
    if (s.fill == kFillByDistribution) LlenarMundo(w, sim.rng(), kFillByDistribution);
    sim.worldLoaded();
    SelectGame(w.payoffs, s.game);
    w.options.mnuOpcion = s.options;
    recomputeOpciones(w);
    ChooseNeighbourhood(w, s.type);
    w.Iteraciones = static_cast<std::uint8_t>(s.iterations);
    clickRegla(w, s.rule);
    clickSuma(w, s.sumMode);
    w.options.CiEsExitoMenu = s.ciEsExito ? 1 : 0;
    w.options.chkPartirTarta = s.cakeCutting;
    w.FrecMutacion = s.mutation;
    w.UmbralHoy = s.thresholdToday;
    std::uint64_t run = 0;
    sim.prepare();
    for (int g = 0; g < 12; ++g) {
        sim.step();
        run = testing::foldDigest(run,
                                  testing::worldDigest(w, sim.report(), sim.scratch().MuertoHoy));
    }
    return run;
}

TEST(GoldenHash, EveryKindOfSettingPlaysAsItAlwaysDid) {
    constexpr bool o = true, _ = false;
    // type, game, rule, sum mode, iterations, fill, options [0]..[9], CiEsExito, cake cutting,
    // mutation frequency, survive-today threshold, digest
    // clang-format off
    const Setting rows[] = {
        {0, 0, 0, 0, 1, kFillAtRandom, {o, _, _, _, _, _, _, _, o, _}, _, _, 0.0f, 0.0f, 0x36e84447bf6d8b8bULL},
        {1, 1, 1, 1, 2, kFillByDistribution, {o, o, _, _, _, _, _, _, _, _}, _, _, 0.2f, 0.0f, 0xdd2a28fd2b21ea01ULL},
        {2, 2, 2, 2, 3, kFillAtRandom, {o, _, o, _, o, _, _, _, _, _}, o, _, 0.1f, 0.0f, 0x496fb1d428a63fd1ULL},
        {3, 3, 3, 0, 1, kFillByDistribution, {o, _, _, _, o, o, _, _, o, o}, _, _, 0.3f, 0.0f, 0x4331558364bac57bULL},
        {4, 4, 0, 1, 2, kFillAtRandom, {_, _, _, _, _, _, _, _, _, _}, _, _, 0.0f, 0.0f, 0x97878ea1dcccc661ULL},
        {5, 5, 1, 2, 2, kFillAtRandom, {o, _, _, _, _, _, o, _, _, _}, _, _, 0.1f, 0.0f, 0x238c69940370aa13ULL},
        {6, 6, 2, 0, 4, kFillByDistribution, {o, _, _, _, o, _, _, o, _, o}, o, _, 0.05f, 0.3f, 0x35fd8af4ad38ddf6ULL},
        {7, 7, 3, 1, 2, kFillAtRandom, {o, o, o, _, _, o, _, _, _, _}, _, o, 0.1f, 0.0f, 0xcff7aeb4baf89435ULL},
        {8, 0, 1, 2, 3, kFillAtRandom, {o, _, _, _, o, _, _, _, o, _}, o, _, 0.1f, 0.0f, 0x3daf6140dace8d0ULL},
        {9, 1, 0, 0, 2, kFillByDistribution, {o, _, _, _, _, _, _, o, o, _}, _, _, 0.0f, 0.1f, 0xcb454c6604e751deULL},
        {10, 2, 3, 1, 1, kFillAtRandom, {o, _, o, _, o, _, _, _, _, o}, _, _, 0.2f, 0.0f, 0xfd68bbf1a76c2479ULL},
        {11, 3, 2, 2, 2, kFillAtRandom, {o, _, _, _, _, o, o, _, _, _}, o, o, 0.1f, 0.0f, 0x76e3fd1c545edfb1ULL},
        {12, 4, 1, 0, 3, kFillByDistribution, {o, o, _, _, o, _, _, _, _, _}, _, _, 0.1f, 0.0f, 0x4bbd78416d31e0b7ULL},
        {13, 5, 0, 1, 2, kFillAtRandom, {o, _, _, _, _, _, _, o, o, o}, _, _, 0.05f, 0.0f, 0x35d6ddea0bb31077ULL},
        {14, 6, 3, 2, 2, kFillAtRandom, {o, _, o, _, o, o, _, _, _, _}, o, _, 0.1f, 0.2f, 0x79dccf9cf3f85d59ULL},
    };
    // clang-format on
    std::uint64_t seed = 7000;
    for (const Setting& s : rows) {
        SCOPED_TRACE(::testing::Message() << "type " << s.type << ", game " << s.game << ", rule "
                                          << s.rule << ", sum mode " << s.sumMode);
        const std::uint64_t digest = digestOfSetting(s, ++seed);
        EXPECT_EQ(digest, s.expected) << std::hex << "0x" << digest;
    }
}

}  // namespace
}  // namespace morvane
