#include "core/generation.h"

#include <gtest/gtest.h>

#include <array>

#include "support/worlds.h"

namespace morvane {
namespace {

using testing::worldOf;
using testing::WorldRun;

// The pending settings a start commits: rounds (held to 1..10), the moves they give, the
// sensibility mask, the neighbourhood type, option 7; the table is rebuilt when the type changed or
// option 7 is ticked, and only then.
TEST(RunPreparation, CommitsThePendingSettingsAndRebuildsTheTableOnlyWhenItMustBe) {
    struct Row {
        const char* name;
        int iteraciones, repes;
        std::uint8_t chosen;
        bool option7;
        int committed, movPosibles;
        bool rebuilt;
    };
    const Row rows[] = {
        {"four rounds", 4, 24, 2, false, 4, 96, false},
        {"no rounds", 0, 24, 2, false, 1, 24, false},
        {"twelve rounds", 12, 24, 2, false, 10, 240, false},
        {"four partners", 10, 4, 2, false, 10, 40, false},
        {"new type", 4, 24, 0, false, 4, 96, true},
        {"option 7", 4, 24, 2, true, 4, 96, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(4, 4, 2);
        w.Iteraciones = static_cast<std::uint8_t>(row.iteraciones);
        w.neighbourhood.Repes = static_cast<std::uint8_t>(row.repes);
        // The other pending settings committed here play in the seeded runs' digests.
        w.options.chkSen = {true, false, true};
        w.vecino(1, 0) = 3;  // as random partners would have left it
        w.neighbourhood.CodVecin[kActual] = row.chosen;
        w.options.mnuOpcion[7] = row.option7;
        PrepararPaso(w);
        EXPECT_EQ(w.IteracionesComprometidas, row.committed);
        EXPECT_EQ(w.MovPosibles, row.movPosibles);
        EXPECT_EQ(w.options.SenMask, 5);
        EXPECT_EQ(w.neighbourhood.CodVecin[kPrevio], row.chosen);
        EXPECT_EQ(w.options.MismosVecinos, row.option7);
        EXPECT_EQ(w.vecino(1, 0), row.rebuilt ? 13 : 3);
    }
}

TEST(RunPreparation, LeavesTheLastGenerationReadableWhenTheMovesChange) {
    WorldRun run(worldOf(3, 3, 1, 2));  // 8 potential moves
    Rng rng(5);
    run.generation(rng);
    const GenerationReport before = run.r;
    ASSERT_EQ(before.slotsPerCell, 9u);
    run.w.Iteraciones = 3;
    PrepararPaso(run.w);
    ASSERT_EQ(run.w.MovPosibles, 12);
    // The records stay in the layout they were written in until the next generation.
    EXPECT_EQ(run.r.Jugadas, before.Jugadas);
    EXPECT_TRUE(recordsReadable(run.w, run.r));
    run.generation(rng);
    EXPECT_EQ(run.r.slotsPerCell, 13u);
    EXPECT_EQ(run.r.Jugadas.size(), 10u * 13);
}

TEST(Generation, SamplesTheHistoryEveryPasoCoopGenerationsUpToAHundredSamples) {
    WorldRun run(worldOf(2, 2, 1));
    World& w = run.w;
    w.options.Regla = 1;
    w.options.Opciones[kActual] = 256;
    ASSERT_EQ(w.PasoCoop, 10);
    Rng rng(12);
    // The role averages of each sampling generation, as its encounters summed them.
    std::array<std::array<float, 2>, 102> expected{};
    for (int g = 1; g <= 1010; ++g) {
        run.generation(rng);
        const int s = g / 10;
        if (g % 10 != 0 || s > 100) continue;
        ASSERT_GT(run.r.CuentaCoop[0], 0) << "generation " << g;
        for (int role = 0; role < 2; ++role)
            expected[s][role] = run.r.SumaCoop[role] / static_cast<float>(run.r.CuentaCoop[role]);
    }
    EXPECT_EQ(w.Generacion, 1010);
    for (int s = 0; s <= 100; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(w.HistoriaCoop[s][0], expected[s][0]);
        EXPECT_EQ(w.HistoriaCoop[s][1], expected[s][1]);
    }
    const auto after1010 = w.HistoriaCoop;
    w.PasoCoop = 0;  // a step below 1 samples nothing
    run.generation(rng);
    EXPECT_EQ(w.HistoriaCoop, after1010);
}

}  // namespace
}  // namespace morvane
