#include "core/scoring.h"

#include <gtest/gtest.h>

#include "core/transition.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::bugGenome;
using testing::place;
using testing::worldOf;

TEST(Scoring, SumModesDivideOnlyWhereThereIsSomethingToDivideBy) {
    struct Row {
        const char* name;
        int modo;
        int repes;  // partners: 8 potential moves per generation with one iteration, or none
        float played, idle;
    };
    const std::vector<Row> rows = {
        {"total", 1, 8, 10.0f, 0.0f},
        {"per_move_played", 2, 8, 2.5f, 0.0f},
        {"per_potential_move", 3, 8, 1.25f, 0.0f},
        {"per_potential_move_with_none", 3, 0, 0.0f, 0.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(3, 3, 0);
        w.neighbourhood.Repes = static_cast<std::uint8_t>(row.repes);
        PrepararPaso(w);
        GenerationReport rep = testing::reportOf(w);
        w.options.ModoSuma = static_cast<std::uint8_t>(row.modo);
        if (row.repes > 0) {
            rep.jugadas(1, 0) = 4;
            rep.PagoTotal[1] = 10;
        }
        scoreGeneration(w, rep);
        EXPECT_EQ(rep.PagoTotal[1], row.played);
        EXPECT_EQ(rep.PagoTotal[2], row.idle);  // no move: no division, no NaN
    }
}

TEST(Scoring, StatisticsCountTheOrdinaryBugsOnly) {
    World w = worldOf(2, 2);
    GenerationReport rep = testing::reportOf(w);
    place(w, 2, deadSquareGenome());
    place(w, 3, testing::blankGenome());
    w.options.ModoSuma = 1;
    rep.PagoTotal = {0, 1.5f, 9, 9, 2.5f};
    scoreGeneration(w, rep);
    EXPECT_EQ(rep.scoredCells, 2);
    EXPECT_DOUBLE_EQ(rep.scoreSum, 4.0);
}

TEST(Survival, ClassifiesByRuleThresholdsAndKindOfCell) {
    enum Kind { kBug, kDead, kBlank };
    struct Row {
        const char* name;
        int regla;
        float survive, reproduce, score;
        Kind kind;
        std::array<std::int16_t, 2> padres;  // 9: the cell itself; 7: kept from before
    };
    const std::vector<Row> rows = {
        {"maxi_max_rescued_by_reproduction", 1, 5, 3, 4, kBug, {9, 7}},
        {"replicator_same_cell_dies", 2, 5, 3, 4, kBug, {0, 0}},
        {"maxi_max_below_both", 1, 5, 3, 2, kBug, {0, 0}},
        {"maxi_max_dead_square_stays", 1, 0, 0, 0, kDead, {9, 7}},
        {"maxi_max_dead_square_below_reproduction", 1, 0, 1, 0, kDead, {0, 0}},
        {"best_strategy_dead_square_is_dead", 3, 0, 0, 0, kDead, {0, 0}},
        {"maxi_min_survives", 4, 0, 0, 0, kBug, {9, 9}},
        {"blank_square", 2, 0, 0, 0, kBlank, {-1, -1}},
        {"blank_square_maxi_max", 1, 0, 0, 0, kBlank, {-1, -1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(3, 3);
        GenerationReport rep = testing::reportOf(w);
        const int cell = 9;
        if (row.kind == kDead) place(w, cell, deadSquareGenome());
        if (row.kind == kBlank) place(w, cell, testing::blankGenome());
        w.options.Regla = static_cast<std::uint8_t>(row.regla);
        w.UmbralSupervivencia = row.survive;
        w.UmbralReproduccion = row.reproduce;
        rep.PagoTotal[cell] = row.score;
        w.Padres[cell] = {7, 7};
        EXPECT_EQ(classifySurvival(w, rep, cell), row.kind != kBlank);
        EXPECT_EQ(w.Padres[cell], row.padres);
    }
}

TEST(Survival, NoOrdinaryBugDiesWithZeroThresholdsAndNonNegativeScores) {
    for (int regla = 1; regla <= 4; ++regla) {
        SCOPED_TRACE(regla);
        World w = worldOf(3, 3);
        GenerationReport rep = testing::reportOf(w);
        w.options.Regla = static_cast<std::uint8_t>(regla);
        for (int c = 1; c <= 9; ++c) rep.PagoTotal[c] = static_cast<float>(c % 3);
        Rng rng(3);
        runTransitionRule(w, rep, rng);
        // A first parent of 0 is death; under Maxi Max the second may be a leftover 0.
        for (int c = 1; c <= 9; ++c) EXPECT_NE(w.Padres[c][0], 0);
    }
}

// A world of three cells whose previous genomes are easy to tell apart.
World carryWorld(bool crossover) {
    World w = worldOf(3, 1);
    GenerationReport rep = testing::reportOf(w);
    place(w, 1, bugGenome(10));
    Genoma p2 = bugGenome(20);
    p2.parte[0].Y0 = 42;
    p2.parte[1].Trigger = 5;
    place(w, 2, p2);
    place(w, 3, bugGenome(30));
    w.options.Opciones[kActual] = crossover ? 0 : 256;
    return w;
}

TEST(CarryingOut, FontColourFollowsTheParentsOnlyWhenTheCellDiesIsRebornOrAsksForIt) {
    struct Row {
        const char* name;
        std::array<std::int16_t, 2> padres;
        bool previousDead, copyFlag, option6, crossover;
        Genoma expected;
    };
    Genoma fromTwoKeepingFont = bugGenome(20);
    fromTwoKeepingFont.parte = carryWorld(false).genoma(kPrevio, 2).parte;
    fromTwoKeepingFont.Colores = {20, 20, 20, 10, 10, 10};
    Genoma fromTwoWhole = carryWorld(false).genoma(kPrevio, 2);
    const std::vector<Row> rows = {
        {"imitates_keeps_font", {2, 3}, false, false, false, false, fromTwoKeepingFont},
        {"copy_flag_without_option", {2, 3}, false, true, false, false, fromTwoKeepingFont},
        {"copy_flag_with_option", {2, 3}, false, true, true, false, fromTwoWhole},
        {"reborn_dead_square", {2, 2}, true, false, false, false, fromTwoWhole},
        {"second_parent_only", {0, 2}, false, false, false, false, fromTwoKeepingFont},
        {"left_over_blank_second_parent", {2, -1}, false, false, false, false, fromTwoKeepingFont},
        {"dies", {0, 0}, false, false, false, false, deadSquareGenome()},
        // A dying cell with one parent copies it whole, even under crossover.
        {"one_parent_under_crossover", {2, 0}, false, false, false, true, fromTwoKeepingFont},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = carryWorld(row.crossover);
        GenerationReport rep = testing::reportOf(w);
        Genoma own = w.genoma(kPrevio, 1);
        if (row.previousDead) own.parte[0].Busqueda = 88;
        if (row.copyFlag) own.parte[0].Incertidumbre = 16384;
        w.genoma(kPrevio, 1) = own;
        w.options.mnuOpcion[6] = row.option6;
        w.Padres[1] = row.padres;
        Rng rng(1);
        carryOutTransition(w, rep, rng, 1);
        EXPECT_EQ(w.genoma(kActual, 1), row.expected);
        if (row.crossover) {
            EXPECT_EQ(w.Padres[1][1], 2);  // the lone parent stands for both
        }
    }
}

TEST(CarryingOut, ACellThatKeepsItselfIsNotCopied) {
    World w = carryWorld(true);
    GenerationReport rep = testing::reportOf(w);
    w.Padres[1] = {1, 2};
    rep.PuntoCorte[1] = 12;
    w.genoma(kActual, 1).parte[1].Y3 = 3;  // changed since the snapshot: must stay
    Rng rng(5);
    carryOutTransition(w, rep, rng, 1);
    EXPECT_EQ(w.genoma(kActual, 1).parte[1].Y3, 3);
    EXPECT_EQ(rep.PuntoCorte[1], 12);
}

}  // namespace
}  // namespace morvane
