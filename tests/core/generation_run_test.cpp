#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/generation.h"
#include "core/simulation.h"
#include "games/payoff.h"
#include "support/worlds.h"

namespace morvane {
namespace {

// A whole run checked against a plain recomputation: unconditional cooperators and defectors on
// a 10 x 10 torus, the prisoner's dilemma, Moore neighbourhood, two iterations, scores per move
// played, "Maxi Max" with imitation and no mutation. Constant behaviour curves make every move
// certain, so each generation's outcome follows from the layout alone.
enum Kind { kCooperator, kDefector, kDead, kBlank };

constexpr int kCols = 10, kRows = 10, kIterations = 2;
// Bugs imitate their four orthogonal neighbours (positions 0, 2, 12 and 14).
constexpr std::int32_t kImitationMask = 1 | 4 | 4096 | 16384;

Genoma genomeOf(Kind k) {
    if (k == kDead) return deadSquareGenome();
    if (k == kBlank) return testing::blankGenome();
    Genoma g = testing::bugGenome(k == kCooperator ? 30 : 220, kImitationMask);
    const std::uint8_t y = k == kCooperator ? 100 : 0;
    for (auto& p : g.parte) p.Y0 = p.Y1 = p.Y2 = p.Y3 = y;
    return g;
}

Kind kindOf(const Genoma& g) {
    if (isBlankSquare(g)) return kBlank;
    if (isDeadSquare(g)) return kDead;
    return g.parte[0].Y0 == 100 ? kCooperator : kDefector;
}

using Layout = std::vector<Kind>;  // index: cell number - 1

// The recomputation: its own torus geometry, pay-off table and parent search.
struct BruteForce {
    static int neighbour(int cell, int j) {
        static const int dc[24] = {0, 1,  1,  1,  0, 1,  2,  2,  2,  2,  2,  1,
                                   0, -1, -1, -1, 0, -1, -2, -2, -2, -2, -2, -1};
        static const int dr[24] = {-1, -1, 0, 1,  -2, -2, -2, -1, 0, 1,  2,  2,
                                   1,  1,  0, -1, 2,  2,  2,  1,  0, -1, -2, -2};
        const int r = cell / kCols, c = cell % kCols;
        return ((r + dr[j] + kRows) % kRows) * kCols + (c + dc[j] + kCols) % kCols;
    }
    static bool plays(Kind k) { return k == kCooperator || k == kDefector; }
    static float payoff(Kind me, Kind other) {
        if (me == kCooperator) return other == kCooperator ? 3.0f : 0.0f;
        return other == kCooperator ? 4.0f : 1.0f;
    }

    static Layout next(const Layout& now) {
        const int n = kCols * kRows;
        std::vector<float> total(n, 0.0f);
        std::vector<int> moves(n, 0);
        // Moore: each pair of neighbours in positions 0..3 meets once per iteration.
        for (int it = 0; it < kIterations; ++it) {
            for (int cell = 0; cell < n; ++cell) {
                for (int j = 0; j < 4; ++j) {
                    const int other = neighbour(cell, j);
                    if (!plays(now[cell]) || !plays(now[other])) continue;
                    total[cell] += payoff(now[cell], now[other]);
                    total[other] += payoff(now[other], now[cell]);
                    ++moves[cell], ++moves[other];
                }
            }
        }
        std::vector<float> score(n, 0.0f);
        for (int cell = 0; cell < n; ++cell)
            if (moves[cell] > 0) score[cell] = total[cell] / static_cast<float>(moves[cell]);

        Layout out = now;
        for (int cell = 0; cell < n; ++cell) {
            if (now[cell] == kBlank) continue;
            float best = score[cell];
            int parent = cell;
            std::vector<bool> seen(n, false);
            // A dead square searches all 24 positions, as the genome of cell 0 says.
            const std::int32_t mask = now[cell] == kDead ? 16777215 : kImitationMask;
            for (int j = 0; j < 24; ++j) {
                if ((mask >> j & 1) == 0) continue;
                const int other = neighbour(cell, j);
                if (seen[other] || now[other] == kBlank) continue;
                seen[other] = true;
                if (score[other] > best) best = score[other], parent = other;
            }
            out[cell] = now[parent];
        }
        return out;
    }
};

Layout layoutOf(const World& w) {
    Layout l;
    for (int c = 1; c <= w.NumJugadores; ++c) l.push_back(kindOf(w.genoma(kActual, c)));
    return l;
}

TEST(GenerationRun, MaxiMaxImitationFollowsAPlainRecomputationGenerationByGeneration) {
    World w = testing::worldOf(kCols, kRows, 0, kIterations);
    SelectGame(w.payoffs, 0);
    UpdatePayoffMatrix(w.payoffs);
    w.options.Regla = 1;
    w.options.ModoSuma = 2;
    w.options.mnuOpcion = {false, false, false, false, false, false, false, false, true, false};
    recomputeOpciones(w);

    Rng layoutRng(2718);
    Layout layout;
    for (int c = 0; c < kCols * kRows; ++c)
        layout.push_back(layoutRng.uniform() < 0.8f ? kCooperator : kDefector);
    layout[7] = kDead;
    layout[20] = kBlank;
    for (int c = 1; c <= w.NumJugadores; ++c) testing::place(w, c, genomeOf(layout[c - 1]));

    auto count = [](const Layout& l, Kind k) { return std::count(l.begin(), l.end(), k); };
    Simulation sim(1);
    sim.state() = w;
    sim.clearReport();
    int changes = 0;
    for (int g = 1; g <= 25; ++g) {
        SCOPED_TRACE(g);
        const Layout before = layout;
        layout = BruteForce::next(layout);
        sim.singleStep();
        ASSERT_EQ(sim.state().Generacion, g);
        ASSERT_EQ(layoutOf(sim.state()), layout);
        changes += count(layout, kCooperator) != count(before, kCooperator);
    }
    // The run went somewhere: the cooperators' number moved in several generations, the dead
    // square was reborn and the blank square stayed.
    EXPECT_GE(changes, 3);
    EXPECT_EQ(count(layout, kDead), 0);
    EXPECT_EQ(layout[20], kBlank);
}

}  // namespace
}  // namespace morvane
