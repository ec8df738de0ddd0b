#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/rng.h"
#include "base/shown_number.h"
#include "core/simulation.h"
#include "core/startup.h"
#include "encounter/details.h"
#include "encounter/encounter.h"
#include "encounter/results_table.h"
#include "games/payoff.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::genomeFrom;
using testing::place;

struct ReportState {
    std::vector<float> payoffs, coop;
    std::vector<std::int32_t> jugadas;
    std::vector<std::uint8_t> a, b;
    std::array<float, 2> sum;
    std::array<std::int32_t, 2> counts;
    std::array<double, 2> stat;
    std::size_t rows;
    bool operator==(const ReportState&) const = default;
};
ReportState reportState(const GenerationReport& rep) {
    return {rep.PagoTotal,  rep.CoopTotal,   rep.Jugadas,
            rep.MovA,       rep.MovB,        rep.SumaCoop,
            rep.CuentaCoop, rep.statCoopSum, rep.selectedRows.size()};
}

// What a replay must reproduce of one side of an encounter, to the bit.
auto sideValues(const EncounterSide& l) {
    return std::tuple(l.cell, l.half, l.fired, l.Ci, l.Ei, l.x, l.f, l.disp);
}

// The results table replays the watched cell's encounters on the snapshot genomes: each replay
// gives back, to the bit, the row its live encounter wrote, and no replay writes anything.
TEST(MostrarPartidas, ReplaysReproduceTheLiveRowsAndChangeNothing) {
    for (bool successive : {true, false}) {
        SCOPED_TRACE(successive ? "successive moves" : "simultaneous moves");
        Simulation sim(321 + successive);
        makeBusyWorld(sim.state(), sim.rng(), 4, 3, 12, 3);
        World& w = sim.state();
        SelectGame(w.payoffs, 1);  // chicken: player 2's half follows player 1's move
        UpdatePayoffMatrix(w.payoffs);
        w.options.mnuOpcion[4] = successive;
        recomputeOpciones(w);
        testing::shuffleSearchWords(w, sim.rng());
        w.CasillaSel = 5;
        sim.clearReport();
        sim.run(2);
        const GenerationReport& rep = sim.report();
        ASSERT_EQ(rep.selectedRowsCell, 5);
        const ReportState before = reportState(rep);
        const CellResults t = MostrarPartidas(w, rep, 5, sim.replayRng());
        ASSERT_EQ(t.rows.size(), rep.selectedRows.size());
        ASSERT_GT(t.rows.size(), 10u);
        int fired = 0, half1 = 0;  // the rows exercise the trigger and both halves
        for (std::size_t k = 0; k < t.rows.size(); ++k) {
            fired += t.rows[k].own.fired + t.rows[k].rival.fired;
            half1 += t.rows[k].own.half + t.rows[k].rival.half;
            SCOPED_TRACE(::testing::Message() << "record " << k + 1);
            EXPECT_EQ(t.rows[k].slot, static_cast<int>(k + 1));
            EXPECT_EQ(t.rows[k].Si, rep.selectedRows[k].Si);
            EXPECT_EQ(sideValues(t.rows[k].own), sideValues(rep.selectedRows[k].own));
            EXPECT_EQ(sideValues(t.rows[k].rival), sideValues(rep.selectedRows[k].rival));
        }
        EXPECT_GT(fired, 0);
        EXPECT_EQ(half1 > 0, successive);  // half 1 follows a move seen first
        for (int c = 1; c <= w.NumJugadores; ++c) MostrarPartidas(w, rep, c, sim.replayRng());
        // Under new snapshot genomes every replay decides differently, and still writes nothing.
        for (int c = 1; c <= w.NumJugadores; ++c)
            w.genoma(kPrevio, c).parte[0] = testing::constantPart(90);
        for (int c = 1; c <= w.NumJugadores; ++c) MostrarPartidas(w, rep, c, sim.replayRng());
        EXPECT_TRUE(reportState(rep) == before);
    }
}

TEST(MostrarPartidas, ACellWithoutEncountersHasOnlyItsNumber) {
    World w = testing::encounterWorld(2, 2, 4);
    GenerationReport rep = testing::reportOf(w);
    w.genoma(kPrevio, 3).Colores = {1, 2, 3, 4, 5, 6};
    Rng replay(1);
    const CellResults t = MostrarPartidas(w, rep, 3, replay);
    EXPECT_EQ(t.cell, 3);
    EXPECT_EQ(t.colours, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(t.rows.empty());
    // A report of another world is not read.
    const GenerationReport other = testing::reportOf(testing::encounterWorld(3, 3, 4));
    EXPECT_EQ(MostrarPartidas(w, other, 3, replay).cell, 0);
}

TEST(CambiarIndice, TogglesThePendingSwitchAndItalicHeaders) {
    World w = testing::encounterWorld(2, 2, 4);
    GenerationReport rep = testing::reportOf(w);
    IndexHeaders c = CambiarIndice(w);
    EXPECT_EQ(w.options.CiEsExitoMenu, 1);
    EXPECT_EQ(c.ciR + c.ciP + c.averageCaption, "Sc RSc PAverage Success R");
    EXPECT_TRUE(c.italic);  // until the next start or step commits it
    w.options.CiEsExito = 1;
    EXPECT_FALSE(indexHeaders(w).italic);
    c = CambiarIndice(w);
    EXPECT_EQ(c.ciR + c.ciP + c.detailsHeader, "Ci RCi PCoop R");
    EXPECT_TRUE(c.italic);
}

TEST(TextoFormula, ShowsHowTheArgumentCameAbout) {
    ResultRow row;
    row.Si = 1.0f;
    EncounterSide& l = row.own;
    l.half = 1;
    l.Ci = 0.8f;
    l.Ei = 0.3f;
    l.val = {0.7f, 1.0f, 0.5f};
    struct Row {
        int mask;
        std::array<float, 3> weights;
        float x;
        const char* expected;
    };
    const Row rows[] = {
        {0, {0, 0, 0}, 1.0f, "Cte. -> x = 1"},
        {1, {1, 0, 0}, 0.5f, "Function 1 -> |0.8 - (1 - 0.7)| * 1  -> x = 0.5"},
        {4, {0, 0, 1}, 0.5f, "Function 1 -> |1 - (1 - 0.5)| * 1  -> x = 0.5"},
        {3,
         {0.3f, 0.7f, 0},
         0.36f,
         "Function 1 -> |0.8 - (1 - 0.7)| * 0.3 + |0.3 - (1 - 1)| * 0.7 -> x = 0.36"},
        {7,
         {0.3f, 0.5f, 0.2f},
         0.4f,
         "Function 1 -> |0.8 - (1 - 0.7)| * 0.3 + |0.3 - (1 - 1)| * 0.5 + |1 - (1 - 0.5)| * "
         "0.2 -> x = 0.4"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mask);
        row.SenMask = static_cast<std::uint8_t>(r.mask);
        l.weights = r.weights;
        l.x = r.x;
        EXPECT_EQ(TextoFormula(row, false), r.expected);
    }
}

// Rival 1 met 3 (as player 1), 2 (as player 2), 4 and 2 (as player 1); the study is the search
// that searcher 2, player 2 with half 1, made in the fourth.
World detailsWorld(std::int16_t busqueda, GenerationReport& rep) {
    World w = testing::encounterWorld(3, 3, 10);
    rep = testing::reportOf(w);
    testing::appendEncounter(rep, 1, 3, 10, 20, 30, 40);
    testing::appendEncounter(rep, 2, 1, 50, 60, 70, 80);
    testing::appendEncounter(rep, 1, 4, 15, 25, 35, 45, 0, 0, true);
    testing::appendEncounter(rep, 1, 2, 90, 95, 20, 30, 0, 1);
    GenomePart g = testing::identityPart();
    g.Busqueda = busqueda;
    g.Incertidumbre = 22 * 128 + 11;
    w.genoma(kPrevio, 2).parte[1] = g;
    return w;
}

// The records the search used, as a mark per row: "u" used, "-" not.
std::string used(const InteractionExplanation& e) {
    std::string out;
    for (const auto& f : e.rows) out += f.used ? 'u' : '-';
    return out;
}

TEST(ExplicarPartida, LaysOutTheRivalsRecordsAndTheSearch) {
    GenerationReport rep;
    World w = detailsWorld(static_cast<std::int16_t>(0 + 64 * 5 + 1024 * 2), rep);
    Rng rng(1);
    const InteractionExplanation e = ExplicarPartida(w, rep, 1, 2, 4, rng);
    ASSERT_TRUE(e.valid);
    ASSERT_EQ(e.rows.size(), 4u);
    // Columns 5 and 9 come from replays of the encounters; these records were written by hand, so
    // a played generation checks them (below).
    auto shownColumns = e.rows[0].text;
    shownColumns[5] = shownColumns[9] = "";
    EXPECT_EQ(shownColumns,
              (std::array<std::string, 10>{"1 (1) -> 1 [0]", "1", "3", "1 (2) -> 1 [0]",
                                           "0.1 - 0.3", "", "0.1", "0.2", "", ""}));
    EXPECT_EQ(e.rows[1].text[0], "2 (2) -> 1 [0]");
    EXPECT_EQ(e.rows[1].text[3], "1 (1) -> 1 [0]");
    EXPECT_TRUE(e.rows[2].italic);
    EXPECT_EQ(e.rows[3].text[0], "4 (1) -> 3 [0]");
    EXPECT_EQ(e.rows[3].text[3], "2 (2) -> 1 [1]");
    EXPECT_TRUE(e.rows[3].red);
    EXPECT_EQ(e.estimatedEquality, "");
    EXPECT_EQ(e.code, "0 -> 5 -> 2");
    EXPECT_EQ(e.explanation, TextoBusqueda("0 -> 5 -> 2", 2, 1));
    EXPECT_EQ(e.topRow, 1);
}

// The dispositions and pay-offs of every row are those the encounters had, also where the record
// bytes hold the success instead of the output (CiEsExito) and where the cake was cut: each
// disposition equals the live results table's, and the pay-offs of a cell's rows add up to its
// score.
TEST(ExplicarPartida, ShowsTheDispositionsAndPayoffsTheEncountersHad) {
    for (bool cake : {false, true}) {
        SCOPED_TRACE(cake ? "cake cutting" : "expected pay-offs");
        Simulation sim(55 + cake);
        World& w = sim.state();
        makeBusyWorld(w, sim.rng(), 4, 3, 12, 2);
        w.options.CiEsExitoMenu = 1;
        w.options.chkPartirTarta = cake;
        clickRegla(w, 0);
        clickSuma(w, 0);  // total pay-off: the score is the sum of the rows
        const int rival = 5;
        w.CasillaSel = rival;
        sim.clearReport();
        sim.run(1);
        const GenerationReport& rep = sim.report();
        const int partner = moveRecord::partner(rep.jugadas(rival, 1));
        const InteractionExplanation e =
            ExplicarPartida(w, rep, rival, partner, 1, sim.replayRng());
        ASSERT_TRUE(e.valid);
        ASSERT_EQ(e.rows.size(), rep.selectedRows.size());
        double sum = 0;
        for (std::size_t k = 0; k < e.rows.size(); ++k) {
            SCOPED_TRACE(::testing::Message() << "record " << k + 1);
            const ResultRow& live = rep.selectedRows[k];
            EXPECT_EQ(e.rows[k].text[5],
                      shownNumber(live.own.disp, 3) + " - " + shownNumber(live.rival.disp, 3));
            sum += std::stod(e.rows[k].text[9].substr(0, e.rows[k].text[9].find(" - ")));
        }
        EXPECT_NEAR(sum, rep.PagoTotal[rival], 0.0005 * static_cast<double>(e.rows.size()));
    }
}

TEST(ExplicarPartida, SearchTypesMarkTheRecordsTheSearchUsed) {
    struct Row {
        const char* name;
        std::int16_t busqueda;
        bool successiveMoves;
        const char* used;
        const char* averageIc;
        const char* averageIa;
    };
    const Row rows[] = {
        {"type 0: the meetings with the searcher", 0 + 64 * 5 + 2048, false, "-u--", "0.7", "0.8"},
        {"type 16 up to the depth", 16 + 64 * 2 + 2048, false, "-uu-", "0.425", "0.525"},
        {"history 0 finds nobody: no data", 64 * 5, false, "----", "0.11", "0.22"},
        {"successive: from the preview player 2 saw", 64 * 5 + 2048, true, "-u-u", "0.35", "0.65"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GenerationReport rep;
        World w = detailsWorld(r.busqueda, rep);
        testing::setOption(w, 4, r.successiveMoves);
        Rng rng(1);
        const InteractionExplanation e = ExplicarPartida(w, rep, 1, 2, 4, rng);
        EXPECT_EQ(std::tuple(used(e), e.averageIc, e.averageIa, e.withoutData),
                  std::tuple(r.used, r.averageIc, r.averageIa, std::string(r.used) == "----"));
    }
}

// For every encounter of random worlds, the averages the details window shows are those of the
// knowledge the searcher decided with (to the rounding of a percentage), or its own "without data"
// values where the search found nothing; under successive moves player 2's search read the preview
// of player 1's move, and the window shows that preview.
TEST(ExplicarPartida, AgreesWithWhatTheDecisionUsedInEveryEncounter) {
    int compared = 0, previews = 0;
    for (bool successive : {true, false}) {
        for (int ciEsExito : {0, 1}) {
            SCOPED_TRACE(::testing::Message()
                         << "successive " << successive << ", CiEsExito " << ciEsExito);
            Simulation sim(4000 + ciEsExito + 2 * successive);
            makeBusyWorld(sim.state(), sim.rng(), 7, 6, 12, 3);
            World& w = sim.state();
            SelectGame(w.payoffs, 1);  // chicken: player 2's half follows player 1's move
            UpdatePayoffMatrix(w.payoffs);
            w.options.mnuOpcion[4] = successive;
            recomputeOpciones(w);
            w.options.CiEsExitoMenu = static_cast<std::uint8_t>(ciEsExito);
            testing::shuffleSearchWords(w, sim.rng());
            sim.clearReport();
            sim.run(2);
            const GenerationReport& rep = sim.report();
            for (int rival = 1; rival <= w.NumJugadores; ++rival) {
                for (int k = 1; k <= rep.jugadas(rival, 0); ++k) {
                    const std::int32_t record = rep.jugadas(rival, k);
                    const int searcher = moveRecord::partner(record);
                    const int slot = moveRecord::partnerSlot(record);
                    const bool rivalFirst = moveRecord::role(record) == 0;
                    Rng replay(k);
                    EncounterValues v;
                    if (rivalFirst)
                        replayEncounter(w, rep, rival, searcher, k - 1, slot - 1, replay, v);
                    else
                        replayEncounter(w, rep, searcher, rival, slot - 1, k - 1, replay, v);
                    const EncounterSide& used = v.players[rivalFirst ? 1 : 0];
                    const InteractionExplanation e =
                        ExplicarPartida(w, rep, rival, searcher, k, replay);
                    SCOPED_TRACE(::testing::Message() << "cell " << searcher << " searching "
                                                      << rival << "'s record " << k);
                    ASSERT_TRUE(e.valid);
                    const double ic = std::stod(e.averageIc), ia = std::stod(e.averageIa);
                    const double tolerance = e.withoutData ? 1e-6 : 0.0055;
                    EXPECT_NEAR(ic, used.Ci, tolerance);
                    EXPECT_NEAR(ia, used.Ei, tolerance);
                    ++compared;
                    previews += !e.estimatedEquality.empty();
                }
            }
        }
    }
    EXPECT_GT(compared, 2000);
    EXPECT_GT(previews, 500);
}

TEST(ExplicarPartida, RefusesAnEncounterThatDoesNotExistAndScrollsToTheRedRow) {
    GenerationReport rep;
    World w = detailsWorld(64, rep);
    Rng rng(1);
    EXPECT_FALSE(ExplicarPartida(w, rep, 1, 3, 4, rng).valid);  // 3 is not the partner
    EXPECT_FALSE(ExplicarPartida(w, rep, 1, 2, 5, rng).valid);  // no fifth record
    EXPECT_FALSE(ExplicarPartida(w, rep, 0, 2, 1, rng).valid);

    World big = testing::encounterWorld(2, 2, 60);
    GenerationReport bigReport = testing::reportOf(big);
    for (int i = 0; i < 45; ++i) testing::appendEncounter(bigReport, 1, 2, 50, 50, 50, 50);
    EXPECT_EQ(ExplicarPartida(big, bigReport, 1, 2, 32, rng).topRow, 1);
    EXPECT_EQ(ExplicarPartida(big, bigReport, 1, 2, 40, rng).topRow, 8);
}

}  // namespace
}  // namespace morvane
