#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "core/rng.h"
#include "encounter/details.h"
#include "encounter/encounter.h"
#include "encounter/results_table.h"
#include "encounter_world.h"

namespace morvane {
namespace {

using test::genomaDe;
using test::poner;

// Six cells of mixed strategies with searches, a trigger and successive moves in chicken, after a
// few rounds of live play on a fixed schedule.
World mundoJugado(GenerationReport& rep) {
    World w = test::mundo(3, 2, 24);
    rep = test::informe(w);
    SelectGame(w.pagos, 1);  // chicken: player 2's half follows player 1's move
    commitPayoffAnalysis(w.pagos);
    test::opcion(w, 4, true);
    w.CasillaSel = 1;
    const std::vector<GenomePart> partes = {test::identidad(),           test::constante(70),
                                            test::curva(10, 80, 20, 90), test::identidad(),
                                            test::curva(100, 60, 30, 0), test::constante(20)};
    for (int c = 1; c <= 6; ++c) {
        GenomePart g = partes[c - 1];
        g.Busqueda = static_cast<std::int16_t>(8 * (c % 3) + 64 * (1 + c % 4) + 1024 * (c % 3));
        g.Incertidumbre = static_cast<std::int16_t>(40 * 128 + 10 * c);
        g.SenIC = 40, g.SenIA = 30, g.SenIP = 30;
        if (c == 3) {
            g.TriggerMin = 0, g.TriggerMax = 60;
            g.Trigger = packed::withCuando(packed::withAquien(90, 1), 2);
        }
        Genoma gen = genomaDe(g);
        gen.parte[1].Y3 = 40;
        gen.Colores[3] = static_cast<std::uint8_t>(30 * c);
        poner(w, c, gen);
    }
    const std::vector<std::pair<int, int>> pares = {{1, 2}, {3, 1}, {2, 3}, {4, 5},
                                                    {6, 4}, {5, 6}, {1, 4}, {5, 2}};
    Rng rng(7);
    for (int ronda = 0; ronda < 3; ++ronda)
        for (auto [a, b] : pares) {
            const bool swap = (ronda + a) % 2 == 1;
            const int j1 = swap ? b : a, j2 = swap ? a : b;
            JugarPartida(w, rep, nullptr, j1, j2, rep.jugadas(j1, 0), rep.jugadas(j2, 0), kActual, rng);
        }
    return w;
}

struct Estado {
    std::vector<float> pago, coop;
    std::vector<std::int32_t> jugadas;
    std::vector<std::uint8_t> a, b;
    std::array<float, 2> suma;
    std::array<std::int32_t, 2> cuenta;
    std::array<double, 2> stat;
    std::size_t filas;
    bool operator==(const Estado&) const = default;
};
Estado estado(const GenerationReport& rep) {
    return {rep.PagoTotal, rep.CoopTotal,  rep.Jugadas,     rep.MovA,           rep.MovB,
            rep.SumaCoop,  rep.CuentaCoop, rep.statCoopSum, rep.FilasSel.size()};
}

// What a replay must reproduce of one side of an encounter, to the bit.
auto lado(const LadoPartida& l) {
    return std::tuple(l.celda, l.mitad, l.disparo, l.Ci, l.Ei, l.x, l.f, l.disp);
}

TEST(MostrarPartidas, ReplaysReproduceTheLiveRowsAndChangeNothing) {
    GenerationReport rep;
    World w = mundoJugado(rep);
    ASSERT_EQ(rep.jugadas(1, 0), 9);
    ASSERT_EQ(rep.FilasSel.size(), 9u);
    // The schedule exercises both halves and the trigger, so the comparison means something.
    int fired = 0, half1 = 0;
    for (int c = 1; c <= 6; ++c)
        for (int k = 1; k <= rep.jugadas(c, 0); ++k) {
            fired += registro::fired(rep.jugadas(c, k));
            half1 += registro::half(rep.jugadas(c, k));
        }
    EXPECT_GT(fired, 0);
    EXPECT_GT(half1, 0);
    const Estado antes = estado(rep);
    Rng replay(99);
    const TablaResultados t = MostrarPartidas(w, rep, 1, replay);
    EXPECT_EQ(t.celda, 1);
    ASSERT_EQ(t.filas.size(), 9u);
    for (std::size_t k = 0; k < t.filas.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "record " << k + 1);
        EXPECT_EQ(t.filas[k].slot, static_cast<int>(k + 1));
        EXPECT_EQ(t.filas[k].Si, rep.FilasSel[k].Si);
        EXPECT_EQ(lado(t.filas[k].propio), lado(rep.FilasSel[k].propio));
        EXPECT_EQ(lado(t.filas[k].rival), lado(rep.FilasSel[k].rival));
    }
    for (int c = 2; c <= 6; ++c) MostrarPartidas(w, rep, c, replay);
    EXPECT_TRUE(estado(rep) == antes);
}

TEST(MostrarPartidas, ReplaysUnderChangedSettingsLeaveTheRecordsAlone) {
    GenerationReport rep;
    World w = mundoJugado(rep);
    const Estado antes = estado(rep);
    // New committed game analysis, successive moves off in the committed options, new snapshot
    // genomes: every replay now decides differently, and still writes nothing.
    SelectGame(w.pagos, 1);
    commitPayoffAnalysis(w.pagos);
    w.opciones.Opciones[kPrevio] = static_cast<std::int16_t>(w.opciones.Opciones[kPrevio] ^ 16);
    for (int c = 1; c <= 6; ++c) w.genoma(kPrevio, c).parte[0] = test::constante(90);
    Rng replay(3);
    for (int c = 1; c <= 6; ++c) {
        for (int k = 1; k <= rep.jugadas(c, 0); ++k) {
            const std::int32_t r = rep.jugadas(c, k);
            if (registro::role(r) != 0) continue;
            EXPECT_EQ(JugarPartida(w, rep, nullptr, c, registro::partner(r), k - 1, registro::partnerSlot(r) - 1,
                                   kPrevio, replay),
                      0);
        }
    }
    EXPECT_TRUE(estado(rep) == antes);
}

TEST(MostrarPartidas, ACellWithoutEncountersHasOnlyItsNumber) {
    World w = test::mundo(2, 2, 4);
    GenerationReport rep = test::informe(w);
    w.genoma(kPrevio, 3).Colores = {1, 2, 3, 4, 5, 6};
    Rng replay(1);
    const TablaResultados t = MostrarPartidas(w, rep, 3, replay);
    EXPECT_EQ(t.celda, 3);
    EXPECT_EQ(t.colores, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(t.filas.empty());
    // A report of another world is not read.
    const GenerationReport other = test::informe(test::mundo(3, 3, 4));
    EXPECT_EQ(MostrarPartidas(w, other, 3, replay).celda, 0);
}

TEST(CambiarIndice, TogglesThePendingSwitchAndItalicHeaders) {
    World w = test::mundo(2, 2, 4);
    GenerationReport rep = test::informe(w);
    CabecerasIndice c = CambiarIndice(w);
    EXPECT_EQ(w.opciones.CiEsExitoMenu, 1);
    EXPECT_EQ(c.ciR + c.ciP + c.etiquetaMedia, "Sc RSc PAverage Success R");
    EXPECT_TRUE(c.cursiva);  // until the next start or step commits it
    w.opciones.CiEsExito = 1;
    EXPECT_FALSE(cabecerasIndice(w).cursiva);
    c = CambiarIndice(w);
    EXPECT_EQ(c.ciR + c.ciP + c.cabeceraDetalle, "Ci RCi PCoop R");
    EXPECT_TRUE(c.cursiva);
}

TEST(TextoFormula, ShowsHowTheArgumentCameAbout) {
    FilaResultado fila;
    fila.Si = 1.0f;
    LadoPartida& l = fila.propio;
    l.mitad = 1;
    l.Ci = 0.8f;
    l.Ei = 0.3f;
    l.val = {0.7f, 1.0f, 0.5f};
    struct Row {
        int mask;
        std::array<float, 3> peso;
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
        fila.SenMask = static_cast<std::uint8_t>(r.mask);
        l.peso = r.peso;
        l.x = r.x;
        EXPECT_EQ(TextoFormula(fila, false), r.expected);
    }
}

// Rival 1 met 3 (as player 1), 2 (as player 2), 4 and 2 (as player 1); the study is the search
// that searcher 2, player 2 with half 1, made in the fourth.
World mundoDetalles(std::int16_t busqueda, GenerationReport& rep) {
    World w = test::mundo(3, 3, 10);
    rep = test::informe(w);
    test::encuentro(rep, 1, 3, 10, 20, 30, 40);
    test::encuentro(rep, 2, 1, 50, 60, 70, 80);
    test::encuentro(rep, 1, 4, 15, 25, 35, 45, 0, 0, true);
    test::encuentro(rep, 1, 2, 90, 95, 20, 30, 0, 1);
    GenomePart g = test::identidad();
    g.Busqueda = busqueda;
    g.Incertidumbre = 22 * 128 + 11;
    w.genoma(kPrevio, 2).parte[1] = g;
    return w;
}

// The records the search used, as a mark per row: "u" used, "-" not.
std::string usados(const Explicacion& e) {
    std::string out;
    for (const auto& f : e.filas) out += f.usado ? 'u' : '-';
    return out;
}

TEST(ExplicarPartida, LaysOutTheRivalsRecordsAndTheSearch) {
    GenerationReport rep;
    World w = mundoDetalles(static_cast<std::int16_t>(0 + 64 * 5 + 1024 * 2), rep);
    Rng rng(1);
    const Explicacion e = ExplicarPartida(w, rep, 1, 2, 4, rng);
    ASSERT_TRUE(e.valida);
    ASSERT_EQ(e.filas.size(), 4u);
    // The prisoner's dilemma's reference is 0, so both ranges read alike; the pay-offs are
    // 1 - 0.1 + 3 * 0.3 and 1 - 0.3 + 3 * 0.1.
    EXPECT_EQ(e.filas[0].texto,
              (std::array<std::string, 10>{"1 (1) -> 1 [0]", "1", "3", "1 (2) -> 1 [0]",
                                           "0.1 - 0.3", "0.1 - 0.3", "0.1", "0.2", "", "1.8 - 1"}));
    EXPECT_EQ(e.filas[1].texto[0], "2 (2) -> 1 [0]");
    EXPECT_EQ(e.filas[1].texto[3], "1 (1) -> 1 [0]");
    EXPECT_TRUE(e.filas[2].cursiva);
    EXPECT_EQ(e.filas[3].texto[0], "4 (1) -> 3 [0]");
    EXPECT_EQ(e.filas[3].texto[3], "2 (2) -> 1 [1]");
    EXPECT_TRUE(e.filas[3].roja);
    EXPECT_EQ(usados(e), "-u--");
    EXPECT_EQ(e.mediaIc, "0.7");
    EXPECT_EQ(e.mediaIa, "0.8");
    EXPECT_FALSE(e.sinDatos);
    EXPECT_EQ(e.equidadEstimada, "");
    EXPECT_EQ(e.codigo, "0 -> 5 -> 2");
    EXPECT_EQ(e.explicacion, TextoBusqueda("0 -> 5 -> 2", 2, 1));
    EXPECT_EQ(e.filaSuperior, 1);
}

TEST(ExplicarPartida, SearchTypesMarkTheRecordsTheSearchUsed) {
    struct Row {
        const char* name;
        std::int16_t busqueda;
        bool sucesivas;
        const char* usados;
        const char* mediaIc;
        const char* mediaIa;
    };
    const Row rows[] = {
        {"type 16 up to the depth", 16 + 64 * 2 + 2048, false, "-uu-", "0.425", "0.525"},
        {"history 0 finds nobody: no data", 64 * 5, false, "----", "0.11", "0.22"},
        {"successive: from the move itself", 64 * 5 + 2048, true, "-u-u", "0.8", "0.875"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GenerationReport rep;
        World w = mundoDetalles(r.busqueda, rep);
        test::opcion(w, 4, r.sucesivas);
        Rng rng(1);
        const Explicacion e = ExplicarPartida(w, rep, 1, 2, 4, rng);
        EXPECT_EQ(usados(e), r.usados);
        EXPECT_EQ(e.mediaIc, r.mediaIc);
        EXPECT_EQ(e.mediaIa, r.mediaIa);
        EXPECT_EQ(e.sinDatos, std::string(r.mediaIc) == "0.11");
    }
}

TEST(ExplicarPartida, SuccessiveMovesShowTheEstimatedEquality) {
    GenerationReport rep;
    World w = mundoDetalles(static_cast<std::int16_t>(64 * 5 + 2048), rep);
    test::opcion(w, 4, true);
    test::opcion(w, 9, false);
    Rng rng(1);
    const Explicacion e = ExplicarPartida(w, rep, 1, 2, 4, rng);
    // Player 1 at 0.9 and player 2 answering 0: successes 0.025 and 0.925.
    EXPECT_EQ(e.equidadEstimada, "0.95");
    EXPECT_EQ(e.equidadReal, "0.95");
    EXPECT_EQ(e.filas[3].texto[7], "0.95");
}

TEST(ExplicarPartida, RefusesAnEncounterThatDoesNotExistAndScrollsToTheRedRow) {
    GenerationReport rep;
    World w = mundoDetalles(64, rep);
    Rng rng(1);
    EXPECT_FALSE(ExplicarPartida(w, rep, 1, 3, 4, rng).valida);  // 3 is not the partner
    EXPECT_FALSE(ExplicarPartida(w, rep, 1, 2, 5, rng).valida);  // no fifth record
    EXPECT_FALSE(ExplicarPartida(w, rep, 0, 2, 1, rng).valida);

    World big = test::mundo(2, 2, 60);
    GenerationReport bigReport = test::informe(big);
    for (int i = 0; i < 45; ++i) test::encuentro(bigReport, 1, 2, 50, 50, 50, 50);
    EXPECT_EQ(ExplicarPartida(big, bigReport, 1, 2, 32, rng).filaSuperior, 1);
    EXPECT_EQ(ExplicarPartida(big, bigReport, 1, 2, 40, rng).filaSuperior, 8);
}

}  // namespace
}  // namespace morvane
