// A generation in which no playing genome's output can depend on the records reads none and keeps
// no index. These runs compare it, generation by generation and on everything a generation leaves
// behind, with the general path that searches every time.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>

#include "base/rng.h"
#include "core/generation.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "encounter/move_decision.h"
#include "games/payoff.h"
#include "strategy/behaviour.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

// Makes every genome half's output independent of the records: a flat curve at its own Y0 and a
// trigger range that is empty.
void makeHistoryBlind(World& w) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        for (auto* g : {&w.genoma(kActual, c), &w.genoma(kPrevio, c)}) {
            if (!isMutable(*g)) continue;
            for (GenomePart& p : g->parte) {
                p.Y1 = p.Y2 = p.Y3 = p.Y0;
                p.TriggerMin = 100;
                p.TriggerMax = 0;
            }
        }
    }
}

struct Case {
    int type, iterations, rule, sumMode;
    bool successiveMoves, crossover;
    float mutation;
    int selected;  // 0: no cell watched
    int adHoc = 0;
    bool ciEsExito = false, cakeCutting = false;
    int columns = 9, rows = 7;
};

// Which kinds of generation a run with the shortcuts met.
struct Seen {
    bool reading = false;      // some half reads the records
    bool classes = false;      // none does, and the cells fall into few classes of outputs
    bool manyOutputs = false;  // none does, in more classes of outputs than are tabled
};

std::uint64_t digestAfter(const Case& c, bool shortcuts, int generation, std::uint64_t seed,
                          Seen& seen) {
    Simulation sim(seed);
    World& w = sim.state();
    makeBusyWorld(w, sim.rng(), c.columns, c.rows, c.type, c.iterations);
    makeHistoryBlind(w);
    w.options.mnuOpcion[4] = c.successiveMoves;
    w.options.mnuOpcion[8] = !c.crossover;
    w.options.mnuOpcion[0] = c.mutation > 0;
    recomputeOpciones(w);
    clickRegla(w, c.rule);
    clickSuma(w, c.sumMode);
    w.FrecMutacion = c.mutation;
    if (c.selected > 0) w.CasillaSel = static_cast<std::int16_t>(c.selected);
    // Every other run on a random game: mixed reference probabilities that differ by role.
    if (seed % 2 == 1) randomPayoffs(w.payoffs, sim.rng());
    w.options.hsbAdHoc = c.adHoc;
    w.options.CiEsExito = c.ciEsExito ? 1 : 0;
    w.options.chkPartirTarta = c.cakeCutting;
    sim.clearReport();
    sim.useShortcuts(shortcuts);
    sim.prepare();
    std::uint64_t run = 0;
    for (int g = 0; g < generation; ++g) {
        sim.step();
        if (shortcuts) {
            const GenerationCards& cards = *sim.scratch().cards;
            (cards.anyReadsHistory     ? seen.reading
             : cards.outputClasses > 0 ? seen.classes
                                       : seen.manyOutputs) = true;
        }
        run = testing::foldDigest(run,
                                  testing::worldDigest(w, sim.report(), sim.scratch().MuertoHoy));
        // And the sums the statistics read, which the world's digest leaves out.
        const GenerationReport& r = sim.report();
        for (int role = 0; role < 2; ++role) {
            run = testing::foldDigest(run, std::bit_cast<std::uint64_t>(r.statCoopSum[role]));
            run = testing::foldDigest(run, static_cast<std::uint64_t>(r.statCoopCount[role]));
        }
    }
    return run;
}

TEST(Shortcuts, HistoryBlindGenerationsEqualTheGeneralPath) {
    // Mutation turns blind genomes into reading ones as the run goes on: both kinds of generation
    // come up in one run.
    const Case cases[] = {
        {2, 1, 0, 0, false, false, 0.0f, 0},
        {12, 3, 1, 1, true, true, 0.02f, 0},
        {0, 2, 2, 2, false, true, 0.05f, 5},
        {13, 2, 3, 0, true, false, 0.02f, 0},
        {7, 4, 1, 2, true, true, 0.1f, 17},
        {14, 2, 0, 1, false, false, 0.05f, 0},
        {4, 3, 2, 0, true, true, 0.02f, 30},
        {10, 1, 3, 2, false, true, 0.0f, 0},
        // The ad-hoc settings replace or draw outputs, so their generations decide as the
        // general path does; success as cooperation and cake cutting change what is summed.
        {2, 2, 1, 0, true, false, 0.05f, 0, 1},
        {2, 2, 2, 1, false, true, 0.02f, 9, 2},
        {8, 1, 0, 2, true, false, 0.0f, 0, 4},
        {2, 1, 1, 0, false, false, 0.02f, 0, 0, true},
        {12, 2, 0, 1, true, true, 0.05f, 0, 0, true, true},
        // Narrow worlds, where a cell meets one neighbour at two positions, with a cell watched.
        {2, 2, 1, 0, false, false, 0.02f, 3, 0, false, false, 1, 9},
        {12, 3, 0, 1, true, true, 0.05f, 4, 0, false, false, 2, 5},
    };
    Seen seen;
    std::uint64_t seed = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "type " << c.type << ", rule " << c.rule << ", successive "
                     << c.successiveMoves << ", mutation " << c.mutation);
        ++seed;
        Seen unused;
        EXPECT_EQ(digestAfter(c, true, 20, seed, seen), digestAfter(c, false, 20, seed, unused));
    }
    EXPECT_TRUE(seen.reading);
    EXPECT_TRUE(seen.classes);
    EXPECT_TRUE(seen.manyOutputs);
}

// The cards of a generation are made anew only for genomes that changed since the last one: runs
// whose cards are all made anew every generation must give the same worlds, across a change of the
// sensibility mask and genomes changed by hand between generations.
TEST(Shortcuts, CardsKeptFromTheLastGenerationEqualCardsMadeAnew) {
    struct Run {
        World w;
        GenerationReport r;
        GenerationScratch s;
        Rng rng{0};
    };
    Run kept, fresh;
    Rng seeding(77);
    makeBusyWorld(kept.w, seeding, 8, 6, 12, 3);
    // Maxi Max imitation without mutation: most cells keep their genomes, and their cards with
    // them.
    clickRegla(kept.w, 0);
    kept.w.options.mnuOpcion[0] = false;
    kept.w.options.mnuOpcion[8] = true;
    recomputeOpciones(kept.w);
    PrepararPaso(kept.w);
    fresh.w = kept.w;
    clearReport(kept.w, kept.r);
    clearReport(fresh.w, fresh.r);
    kept.rng = fresh.rng = Rng(78);
    for (int g = 1; g <= 12; ++g) {
        for (Run* run : {&kept, &fresh}) {
            if (g == 5) {
                run->w.options.chkSen[1] = false;
                PrepararPaso(run->w);
            }
            if (g == 8) run->w.genoma(kActual, 3) = run->w.genoma(kActual, 7);
        }
        UnaGeneracion(kept.w, kept.r, kept.s, kept.rng);
        fresh.s.cards.reset();
        UnaGeneracion(fresh.w, fresh.r, fresh.s, fresh.rng);
        ASSERT_EQ(testing::worldDigest(kept.w, kept.r, kept.s.MuertoHoy),
                  testing::worldDigest(fresh.w, fresh.r, fresh.s.MuertoHoy))
            << "generation " << g;
    }
}

TEST(Shortcuts, OnlyAFlatCurveWithAnEmptyTriggerRangeIsBlind) {
    GenomePart p;
    p.Y0 = p.Y1 = p.Y2 = p.Y3 = 40;
    p.TriggerMin = 60;
    p.TriggerMax = 59;
    EXPECT_FALSE(halfReadsHistory(p));
    p.TriggerMax = 60;  // a range of one value can fire
    EXPECT_TRUE(halfReadsHistory(p));
    p.TriggerMax = 59;
    p.Y2 = 41;  // the output follows the input
    EXPECT_TRUE(halfReadsHistory(p));
}

// A blind half's encounters take the output its curve gives at 0 for whatever input they meet:
// every flat curve, regular or folded, cubic or with coinciding inputs, gives it for all inputs.
TEST(Shortcuts, AFlatCurveGivesTheSameOutputForEveryInput) {
    Rng rng(11);
    for (int n = 0; n < 2000; ++n) {
        GenomePart p;
        p.Y0 = p.Y1 = p.Y2 = p.Y3 = static_cast<std::uint8_t>(rng.below(101));
        p.X1 = static_cast<std::uint8_t>(rng.below(101));
        p.X2 = n % 4 == 0 ? p.X1 : static_cast<std::uint8_t>(rng.below(101));
        p.Irregular = static_cast<std::uint8_t>(rng.below(2));
        const NewtonCurve curve = newtonCurve01(p);
        const float atZero = evalNewtonCurve01(curve, p, 0.0f);
        for (const float x : {rng.uniform(), rng.uniform() * 3.0f, 1.0f, -0.0f}) {
            const float f = evalNewtonCurve01(curve, p, x);
            ASSERT_EQ(std::memcmp(&f, &atZero, sizeof f), 0)
                << "Y " << int{p.Y0} << " X1 " << int{p.X1} << " X2 " << int{p.X2} << " x " << x;
        }
    }
}

}  // namespace
}  // namespace morvane
