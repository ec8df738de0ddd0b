#include "encounter/encounter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "base/rng.h"
#include "encounter/move_decision.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::constantPart;
using testing::genomeFrom;
using testing::identityPart;
using testing::place;

EncounterValues playLive(World& w, GenerationReport& rep, int jug1, int jug2, int copia = kActual,
                         std::uint64_t seed = 1) {
    Rng rng(seed);
    EncounterValues v;
    JugarPartida(w, rep, jug1, jug2, rep.jugadas(jug1, 0), rep.jugadas(jug2, 0), copia, rng, &v);
    return v;
}

// Cells 1 and 2 of a 2 x 2 world with room for `moves` records each, playing parts g1 and g2.
struct Pair {
    World w;
    GenerationReport rep;

    Pair(const GenomePart& g1, const GenomePart& g2, int moves = 4)
        : w(testing::encounterWorld(2, 2, moves)), rep(testing::reportOf(w)) {
        set(g1, g2);
    }
    void set(const GenomePart& g1, const GenomePart& g2) {
        place(w, 1, genomeFrom(g1));
        place(w, 2, genomeFrom(g2));
    }
    void game(int index) {
        SelectGame(w.payoffs, index);
        commitPayoffAnalysis(w.payoffs);
    }
    void payoffs(const PayoffCopy& c) {
        setPayoffs(w.payoffs, c);
        commitPayoffAnalysis(w.payoffs);
    }
    EncounterValues play(int copia = kActual) { return playLive(w, rep, 1, 2, copia); }
};

TEST(JugarPartida, ConstantCooperatorsInThePrisonersDilemma) {
    for (bool evenIsOne : {true, false}) {
        SCOPED_TRACE(evenIsOne ? "equality = 1" : "equality = 0.5");
        Pair p(constantPart(100), constantPart(100));
        testing::setOption(p.w, 9, evenIsOne);
        const EncounterValues v = p.play();
        const int e = evenIsOne ? 100 : 50;
        for (int k = 0; k < 2; ++k) {
            EXPECT_FLOAT_EQ(v.players[k].disp, 1.0f);
            EXPECT_FLOAT_EQ(v.payoffs[k], 3.0f);
            EXPECT_FLOAT_EQ(v.success[k], 0.75f);
            EXPECT_EQ(v.equality[k], e);
        }
        for (int cell : {1, 2}) {
            EXPECT_FLOAT_EQ(p.rep.PagoTotal[cell], 3.0f);
            EXPECT_FLOAT_EQ(p.rep.CoopTotal[cell], 1.0f);
            EXPECT_EQ(p.rep.jugadas(cell, 0), 1);
            EXPECT_EQ(p.rep.movA(cell, 1), 100);
            EXPECT_EQ(p.rep.movB(cell, 1), e);
        }
        EXPECT_EQ(p.rep.jugadas(1, 1), moveRecord::make(2, 0, 1, false, 0));
        EXPECT_EQ(p.rep.jugadas(2, 1), moveRecord::make(1, 1, 1, false, 0));
        EXPECT_FLOAT_EQ(p.rep.SumaCoop[0], 1.0f);
        EXPECT_EQ(p.rep.CuentaCoop[1], 1);
    }
}

TEST(JugarPartida, ResultBitsMarkPayOffsStrictlyBelowTheDailyThreshold) {
    struct Row {
        float threshold;
        int output1, output2;
        std::uint8_t expected;
    };
    // Against a defector a cooperator gets S = 0 and the defector T = 4.
    for (const Row& r : {Row{0.0f, 100, 0, 0}, Row{3.0f, 100, 100, 0}, Row{3.5f, 100, 100, 3},
                         Row{1.0f, 100, 0, 1}, Row{1.0f, 0, 100, 2}}) {
        SCOPED_TRACE(::testing::Message()
                     << "threshold " << r.threshold << " " << r.output1 << " " << r.output2);
        Pair p(constantPart(r.output1), constantPart(r.output2));
        p.w.UmbralHoy = r.threshold;
        Rng rng(1);
        EXPECT_EQ(JugarPartida(p.w, p.rep, 1, 2, 0, 0, kActual, rng), r.expected);
    }
}

TEST(JugarPartida, CakeCuttingSharesTheCakeByTheOutputsAndNeverRecordsBelowZero) {
    struct Row {
        int f1, f2;
        PayoffCopy payoffs;
        float pay1, pay2;
    };
    const PayoffCopy cake = {9, 9, 0, 0, 0, 0, 0, 0}, positive = {9, 9, 2, 2, 2, 2, 3, 3};
    for (const Row& r : {Row{40, 70, cake, 0.6f * 9, 0.3f * 9}, Row{40, 30, cake, 0.0f, 0.0f},
                         Row{40, 30, positive, 0.0f, 0.0f}}) {
        SCOPED_TRACE(::testing::Message() << r.f1 << " / " << r.f2 << ", S1 " << r.payoffs[6]);
        Pair p(constantPart(r.f1), constantPart(r.f2));
        p.game(5);
        if (r.payoffs != cake) p.payoffs(r.payoffs);
        p.w.options.chkPartirTarta = true;
        p.w.options.CiEsExito = 1;
        const EncounterValues v = p.play();
        EXPECT_NEAR(v.payoffs[0], r.pay1, 1e-5);
        EXPECT_NEAR(v.payoffs[1], r.pay2, 1e-5);
        // With a positive minimum pay-off an empty share is a negative success, recorded as 0.
        const float least = r.payoffs == cake ? 0.0f : 2.0f;
        EXPECT_NEAR(v.success[0], (r.pay1 - least) / (9 - least), 1e-6);
        EXPECT_EQ(p.rep.movA(1, 1), std::max(0, static_cast<int>(100 * v.success[0])));
    }
    EXPECT_EQ(recordByte(-28.6f), 0);
    EXPECT_EQ(recordByte(255.0f), 100);
    EXPECT_EQ(recordByte(std::nanf("")), 0);
    EXPECT_EQ(recordByte(28.99f), 28);
}

TEST(JugarPartida, AnEncounterBeyondTheRecordListPaysButWritesNoRecord) {
    Pair p(constantPart(100), constantPart(100), 1);
    p.w.CasillaSel = 1;
    p.play();
    const std::vector<std::int32_t> records = p.rep.Jugadas;
    p.play();
    EXPECT_FLOAT_EQ(p.rep.PagoTotal[1], 6.0f);
    EXPECT_EQ(p.rep.Jugadas, records);  // cell 1's second slot would be cell 2's count
    EXPECT_EQ(p.rep.selectedRows.size(), 1u);
}

TEST(JugarPartida, ARoleWithEqualPayOffsAlwaysHasSuccessOne) {
    Pair p(constantPart(0), constantPart(0));
    p.payoffs({2, 4, 2, 3, 2, 1, 2, 0});
    for (int f : {0, 50, 100}) {
        p.set(constantPart(f), constantPart(100 - f));
        EXPECT_FLOAT_EQ(p.play(kPrevio).success[0], 1.0f);
    }
}

// Both players' shares are held and turned into record bytes together; each must come out as
// one player's alone would, at the limits and beyond them too.
TEST(EncounterGame, SharesOfBothPlayersHoldAsEachAloneWould) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> outputs = {nan,    -inf,       -1.5f, -0.0f, 0.0f,
                                        1e-30f, 0.004999f,  0.01f, 0.5f,  0.99999994f,
                                        1.0f,   1.0000001f, 2.56f, 7.0f,  inf};
    const EncounterGame game;
    for (const float f1 : outputs) {
        for (const float f2 : outputs) {
            SCOPED_TRACE(::testing::Message() << "f1 " << f1 << " f2 " << f2);
            EncounterValues v;
            v.players[0].f = f1;
            v.players[1].f = f2;
            game.computePayoffs(v);
            const std::array<float, 2> f = {f1, f2};
            for (int k = 0; k < 2; ++k) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(v.coopShare[k]),
                          std::bit_cast<std::uint32_t>(clampToUnit(f[k])));
                EXPECT_EQ(v.recordA[k], recordByte(f[k] * 100.0f));
            }
        }
    }
}

TEST(JugarPartida, SimilarityComparesTheBugColours) {
    Pair p(constantPart(50), constantPart(50));
    EXPECT_FLOAT_EQ(p.play(kPrevio).Si, 1.0f);
    p.w.genoma(kPrevio, 1).Colores = {255, 255, 255, 1, 1, 1};
    p.w.genoma(kPrevio, 2).Colores = {1, 1, 1, 254, 254, 254};  // the user colours do not count
    EXPECT_FLOAT_EQ(p.play(kPrevio).Si, 0.0f);
}

TEST(MoveDecision, SenMaskChoosesTheIndexesOfTheInput) {
    // Player 1 knows nothing of player 2: Ci 0.8 and Ei 0.3 come from its "without data" values.
    GenomePart g = identityPart();
    g.Incertidumbre = 30 * 128 + 80;
    g.ValIC = 70, g.ValIA = 100, g.ValIP = 50;
    g.SenIC = 30, g.SenIA = 50, g.SenIP = 20;
    // Terms: |0.8 - 0.3| = 0.5, |0.3 - 0| = 0.3, |1 - 0.5| = 0.5.
    const float expected[8] = {1.0f, 0.5f, 0.3f, 0.36f, 0.5f, 0.5f, 0.4f, 0.4f};
    for (int mask = 0; mask < 8; ++mask) {
        SCOPED_TRACE(::testing::Message() << "SenMask " << mask);
        Pair p(g, constantPart(0));
        p.w.options.SenMask = static_cast<std::uint8_t>(mask);
        const EncounterValues v = p.play();
        EXPECT_NEAR(v.players[0].x, expected[mask], 1e-6);
        EXPECT_NEAR(v.players[0].f, expected[mask], 1e-6);  // the curve is f(x) = x
    }
}

TEST(MoveDecision, TriggerAnswersInItsRangeAndRepeatsAnEarlierFiring) {
    GenomePart g = constantPart(0);
    g.TriggerMin = 0, g.TriggerMax = 100, g.Trigger = 30;
    Pair p(g, constantPart(0));
    EncounterValues v = p.play();
    EXPECT_TRUE(v.players[0].fired);
    EXPECT_FLOAT_EQ(v.players[0].f, 0.3f);
    EXPECT_TRUE(moveRecord::fired(p.rep.jugadas(1, 1)));

    // Out of its range (x = 1 with the Ci-only input) the trigger asks its earlier meetings:
    // whom 1, when 2 repeats the newest one, which fired.
    g.TriggerMin = 10, g.TriggerMax = 20;
    g.Trigger = packed::withCuando(packed::withAquien(80, 1), 2);
    g.Incertidumbre = 0;  // Ci 0 against ValIC 100: x = 1
    p.set(g, constantPart(0));
    v = p.play();
    EXPECT_TRUE(v.players[0].fired);
    EXPECT_FLOAT_EQ(v.players[0].f, 0.8f);

    // An empty range (min above max) is off whatever happened before.
    g.TriggerMin = 100, g.TriggerMax = 0;
    p.set(g, constantPart(0));
    v = p.play();
    EXPECT_FALSE(v.players[0].fired);
    EXPECT_FLOAT_EQ(v.players[0].f, 0.0f);
}

TEST(MoveDecision, AdHocSwitchOverridesValuesInputAndOutputs) {
    GenomePart g1 = identityPart(), g2 = identityPart();
    g1.ValIC = 40, g1.SenIC = 50;
    g2.ValIC = 65, g2.SenIC = 50;
    Pair p(g1, g2);
    World& w = p.w;
    GenerationReport& rep = p.rep;
    w.options.SenMask = 1;

    w.options.hsbAdHoc = 1;  // player 1: valuations 1 and x = the rival's ValIC
    EncounterValues v = playLive(w, rep, 1, 2, kPrevio);
    EXPECT_TRUE(v.players[0].xAdHoc);
    EXPECT_FLOAT_EQ(v.players[0].x, 0.65f);
    EXPECT_FLOAT_EQ(v.players[0].val[0], 1.0f);
    EXPECT_FLOAT_EQ(v.players[1].val[0], 0.65f);

    // Bit 2: player 2 plays 1 when its own ValIC is at most player 1's f, here |0 - (1 - 0.4)|.
    w.options.hsbAdHoc = 2;
    for (int valIC : {59, 61}) {
        w.genoma(kPrevio, 2).parte[0].ValIC = static_cast<std::uint8_t>(valIC);
        v = playLive(w, rep, 1, 2, kPrevio);
        EXPECT_NEAR(v.players[0].f, 0.6f, 1e-6);
        EXPECT_FLOAT_EQ(v.players[1].f, valIC < 60 ? 1.0f : 0.0f);
        EXPECT_FALSE(v.players[1].fired);
    }

    // Bit 4: one draw per player, player 1 first, compared with SenIC.
    w.options.hsbAdHoc = 4;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        Rng rng(seed), ref(seed);
        JugarPartida(w, rep, 1, 2, 0, 0, kPrevio, rng, &v);
        const float u1 = ref.uniform(), u2 = ref.uniform();
        EXPECT_FLOAT_EQ(v.players[0].f, u1 <= 0.5f ? 1.0f : 0.0f);
        EXPECT_FLOAT_EQ(v.players[1].f, u2 <= 0.5f ? 1.0f : 0.0f);
    }
}

TEST(MoveDecision, HalvesFollowTheReferenceSolution) {
    struct Row {
        const char* name;
        int game, f1;
        bool successiveMoves;
        int h1, h2;
    };
    const Row rows[] = {
        {"prisoner's dilemma", 0, 40, true, 0, 0},
        {"chicken, player 1 below 0.5, successive", 1, 40, true, 0, 1},
        {"chicken, player 1 above 0.5, successive", 1, 60, true, 0, 0},
        {"chicken, player 1 below 0.5, not successive", 1, 40, false, 0, 0},
        {"stag hunt: probability 1 for both", 6, 40, false, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Pair p(constantPart(r.f1), constantPart(50));
        p.game(r.game);
        testing::setOption(p.w, 4, r.successiveMoves);
        const EncounterValues v = p.play();
        EXPECT_EQ(v.players[0].half, r.h1);
        EXPECT_EQ(v.players[1].half, r.h2);
        EXPECT_EQ(moveRecord::half(p.rep.jugadas(2, 1)), r.h2);
    }
}

TEST(MoveDecision, ValorarJugadaGivesSuccessAndEqualityOfTheProvisionalMove) {
    World w = testing::encounterWorld(2, 2, 4);
    // Prisoner's dilemma, player 2 answers 0: pay1 = 1 - 0.5, pay2 = 1 + 3 * 0.5.
    testing::setOption(w, 9, false);
    EXPECT_EQ(ValorarJugada(w, 0.5f, kActual), 12 * 128 + 75);
    testing::setOption(w, 9, true);
    EXPECT_EQ(ValorarJugada(w, 0.5f, kActual), 12 * 128 + 50);
}

TEST(MoveDecision, SuccessiveMovesShowPlayer1sCurrentMoveToPlayer2) {
    struct Row {
        const char* name;
        bool successiveMoves, ciEsExito;
        float ci2;
        int movA1;
    };
    // With success on, the committed success answers player 2's current 0.12: 0.86 of 4.
    const Row rows[] = {
        {"off: player 2 has no data", false, false, 0.2f, 50},
        {"on: player 1's output, rounded", true, false, 0.5f, 50},
        {"on with success: player 1's provisional success", true, true, 0.12f, 21},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GenomePart g2 = identityPart();
        g2.Busqueda = static_cast<std::int16_t>(0 + 64 + 2048);  // type 0, depth 1, any role
        g2.Incertidumbre = 20;
        Pair p(constantPart(50), g2);
        testing::setOption(p.w, 4, r.successiveMoves);
        p.w.options.CiEsExito = r.ciEsExito ? 1 : 0;
        const EncounterValues v = p.play();
        EXPECT_FLOAT_EQ(v.players[1].Ci, r.ci2);
        EXPECT_FLOAT_EQ(v.players[1].f, r.ci2);
        // The committed record replaces the preview.
        EXPECT_EQ(p.rep.jugadas(1, 1), moveRecord::make(2, 0, 1, false, 0));
        EXPECT_EQ(p.rep.movA(1, 1), r.movA1);
    }
}

TEST(JugarPartida, ChartSumsStopAtTheHundredthSampleButStatisticsGoOn) {
    struct Row {
        int generation, step;
        int chartCount;
    };
    for (const Row& r : {Row{1009, 10, 1}, Row{1010, 10, 0}, Row{5, 0, 0}}) {
        SCOPED_TRACE(::testing::Message() << "generation " << r.generation << " step " << r.step);
        Pair p(constantPart(60), constantPart(20));
        p.w.Generacion = r.generation;
        p.w.PasoCoop = static_cast<std::int16_t>(r.step);
        p.play();
        EXPECT_EQ(p.rep.CuentaCoop[0], r.chartCount);
        EXPECT_FLOAT_EQ(p.rep.SumaCoop[1], r.chartCount * 0.2f);
        EXPECT_EQ(p.rep.statCoopCount[0], 1);
        EXPECT_DOUBLE_EQ(p.rep.statCoopSum[0], 0.6f);
        EXPECT_DOUBLE_EQ(p.rep.statCoopSum[1], 0.2f);
    }
}

}  // namespace
}  // namespace morvane
