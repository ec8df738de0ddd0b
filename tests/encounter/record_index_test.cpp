#include "encounter/record_index.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "core/generation.h"
#include "core/rng.h"
#include "core/startup.h"
#include "encounter/encounter.h"
#include "encounter/history.h"
#include "encounter/results_table.h"
#include "support/world_digest.h"

namespace morvane {
namespace {

// Random worlds played twice from one seed, once with the record index and once reading the
// records one by one: every search must come out the same, and so must whole generations.
struct Caso {
    int cols, rows, type, iterations;
    bool sucesivas, ciEsExito;
};

std::int16_t palabra(int tipo, int depth, int historial) {
    return static_cast<std::int16_t>(tipo + 64 * depth + 1024 * historial);
}

int azar(Rng& rng, int n) {
    return static_cast<int>(rng.uniform() * static_cast<float>(n));
}

// Every ordinary cell gets search words and triggers drawn over all types, depths (0 included),
// history types, whom and when fields, so that every kind of look-up happens during play.
void barajarBusquedas(World& w, Rng& rng) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        if (!isMutable(w.genoma(kActual, c))) continue;
        for (GenomePart& p : w.genoma(kActual, c).parte) {
            const int tipo = 8 * azar(rng, 3);
            p.Busqueda = static_cast<std::int16_t>((p.Busqueda & 7) |
                                                   palabra(tipo, azar(rng, 16), azar(rng, 3)));
            p.Trigger = packed::withAquien(p.Trigger, azar(rng, 2));
            p.Trigger = packed::withCuando(p.Trigger, azar(rng, 3));
            p.TriggerMin = static_cast<std::uint8_t>(azar(rng, 101));
            p.TriggerMax = static_cast<std::uint8_t>(azar(rng, 101));
        }
    }
}

// A world with the report and scratch its generations work with.
struct Partida {
    World w;
    GenerationReport rep;
    GenerationScratch s;
};

Partida mundoAlAzar(const Caso& c, std::uint64_t seed, bool indice) {
    Rng rng(seed);
    Partida p;
    World& w = p.w;
    makeBusyWorld(w, rng, c.cols, c.rows, c.type, c.iterations);
    w.opciones.mnuOpcion[4] = c.sucesivas;
    recomputeOpciones(w);
    w.opciones.CiEsExitoMenu = c.ciEsExito ? 1 : 0;
    barajarBusquedas(w, rng);
    p.s.useIndex = indice;
    PrepararPaso(w);
    clearReport(w, p.rep);
    return p;
}

// Counts of the look-ups compared, and of those the index answered.
struct Cuenta {
    long busquedas = 0, indexadas = 0, disparos = 0;
};

void compararBusqueda(const ListaRegistros& l, int a, int n, int role, std::int16_t word,
                      Cuenta& cuenta) {
    const auto rapido = buscarEnRegistros(l, a, n, role, word);
    const auto plano = buscarEnRegistrosUnoAUno(l, a, n, role, word);
    ++cuenta.busquedas;
    if (l.indice.disponible()) ++cuenta.indexadas;
    if (rapido == plano) return;
    ADD_FAILURE() << "search by " << a << " of " << n << " records, role " << role << ", word "
                  << word << ": indexed " << rapido.value_or(0xFFFF) << ", plain "
                  << plano.value_or(0xFFFF);
}

void compararDisparos(const ListaRegistros& l, int partner, int n, Cuenta& cuenta) {
    for (int whom = 0; whom < 2; ++whom) {
        for (int when = 0; when < 4; ++when) {
            const std::int16_t trigger = packed::withCuando(packed::withAquien(0, whom), when);
            for (int role = 0; role < 2; ++role) {
                ++cuenta.disparos;
                EXPECT_EQ(disparoEnRegistros(l, partner, n, role, trigger),
                          disparoEnRegistrosUnoAUno(l, partner, n, role, trigger))
                    << "trigger " << trigger << " with partner " << partner << ", n " << n;
            }
        }
    }
}

// The look-ups of an encounter about to be played, and a sample of all the others it could make:
// both players' words, random words, a searcher that never met the rival, and player 1's list
// with a preview record as player 2 reads it under successive moves.
void compararEncuentro(const World& w, const GenerationReport& rep, const IndiceRegistros* ix,
                       int j1, int j2, int p1, int p2, Rng& muestra, Cuenta& cuenta) {
    const ListaRegistros l1 = listaRegistros(w, rep, ix, j1), l2 = listaRegistros(w, rep, ix, j2);
    ListaRegistros previo = l1;
    previo.slotPrevio = p1 + 1;
    previo.previo.jugada = registro::make(azar(muestra, 4) == 0 ? j1 : j2, 0, p2 + 1,
                                          azar(muestra, 2) == 1, azar(muestra, 2));
    previo.previo.movA = static_cast<std::uint8_t>(azar(muestra, 101));
    previo.previo.movB = static_cast<std::uint8_t>(azar(muestra, 101));
    const int extrano = 1 + azar(muestra, w.NumJugadores);

    std::vector<std::int16_t> palabras;
    for (int c : {j1, j2})
        for (const GenomePart& p : w.genoma(kActual, c).parte) palabras.push_back(p.Busqueda);
    for (int k = 0; k < 6; ++k)
        palabras.push_back(palabra(8 * azar(muestra, 3), azar(muestra, 16), azar(muestra, 4)));
    for (std::int16_t word : palabras) {
        for (int role = 0; role < 2; ++role) {
            compararBusqueda(l2, j1, p2, role, word, cuenta);
            compararBusqueda(l1, j2, p1, role, word, cuenta);
            compararBusqueda(previo, j2, p1 + 1, role, word, cuenta);
            compararBusqueda(l2, extrano, p2, role, word, cuenta);
        }
    }
    compararDisparos(l1, j2, p1, cuenta);
    compararDisparos(l2, j1, p2, cuenta);
}

// After a generation, every count a replay can search with, for every cell and its partners,
// with and without a preview standing in for a record.
void compararRepeticiones(const World& w, const GenerationReport& rep, const IndiceRegistros* ix,
                          Rng& muestra, Cuenta& cuenta) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const ListaRegistros l = listaRegistros(w, rep, ix, c);
        for (int n = 0; n <= rep.jugadas(c, 0); ++n) {
            const int socio = n > 0 ? registro::partner(rep.jugadas(c, n)) : c;
            const std::int16_t word =
                palabra(8 * azar(muestra, 3), azar(muestra, 16), azar(muestra, 3));
            compararBusqueda(l, socio, n, azar(muestra, 2), word, cuenta);
            compararDisparos(l, socio, n, cuenta);
            if (n == 0) continue;
            // A preview below the newest record is never made; the search still reads it right.
            ListaRegistros previo = l;
            previo.slotPrevio = n - azar(muestra, 2);
            previo.previo = {rep.jugadas(c, previo.slotPrevio) ^ registro::kRoleBit, 50, 50};
            compararBusqueda(previo, socio, n, azar(muestra, 2), word, cuenta);
        }
    }
}

bool mismasFilas(const TablaResultados& a, const TablaResultados& b) {
    if (a.filas.size() != b.filas.size()) return false;
    const auto lado = [](const LadoPartida& x, const LadoPartida& y) {
        return x.mitad == y.mitad && x.disparo == y.disparo &&
               std::bit_cast<std::uint32_t>(x.Ci) == std::bit_cast<std::uint32_t>(y.Ci) &&
               std::bit_cast<std::uint32_t>(x.Ei) == std::bit_cast<std::uint32_t>(y.Ei) &&
               std::bit_cast<std::uint32_t>(x.f) == std::bit_cast<std::uint32_t>(y.f) &&
               std::bit_cast<std::uint32_t>(x.disp) == std::bit_cast<std::uint32_t>(y.disp);
    };
    for (std::size_t k = 0; k < a.filas.size(); ++k) {
        const FilaResultado &x = a.filas[k], &y = b.filas[k];
        if (x.slot != y.slot || !lado(x.propio, y.propio) || !lado(x.rival, y.rival)) return false;
    }
    return true;
}

const Caso kCasos[] = {
    // cols, rows, type, iterations, successive moves, CiEsExito
    {1, 1, 12, 2, false, false}, {2, 1, 12, 3, true, false}, {2, 2, 2, 4, false, true},
    {3, 2, 13, 3, true, true},   {1, 5, 7, 2, true, false},  {5, 5, 0, 4, false, false},
    {6, 4, 1, 6, true, false},   {7, 5, 2, 3, false, true},  {6, 6, 3, 5, true, true},
    {8, 5, 4, 4, false, false},  {5, 7, 5, 3, true, false},  {9, 6, 6, 4, false, true},
    {7, 7, 7, 2, true, true},    {8, 6, 8, 3, false, false}, {6, 9, 9, 2, true, false},
    {10, 8, 10, 4, false, true}, {9, 9, 11, 5, true, true},  {12, 9, 12, 3, true, false},
    {8, 8, 13, 2, false, true},  {11, 7, 14, 3, true, true},
};

TEST(IndiceRegistros, EverySearchAndTriggerLookUpMatchesTheRecordByRecordScan) {
    std::uint64_t seed = 101;
    Cuenta cuenta;
    for (const Caso& c : kCasos) {
        SCOPED_TRACE(::testing::Message()
                     << c.cols << "x" << c.rows << " type " << c.type << " sucesivas "
                     << c.sucesivas << " CiEsExito " << c.ciEsExito);
        Partida p = mundoAlAzar(c, ++seed, true);
        IndiceRegistros* ix = p.s.indexInUse();
        Rng rng(seed), muestra(seed * 7);
        for (int g = 0; g < 3; ++g) {
            UnaGeneracion(p.w, p.rep, p.s, rng, [&](int j1, int j2, int p1, int p2) {
                compararEncuentro(p.w, p.rep, ix, j1, j2, p1, p2, muestra, cuenta);
                return JugarPartida(p.w, p.rep, ix, j1, j2, p1, p2, kActual, rng);
            });
            compararRepeticiones(p.w, p.rep, ix, muestra, cuenta);
        }
    }
    // The comparisons ran, and the index answered most of them.
    EXPECT_GT(cuenta.busquedas, 100000);
    EXPECT_GT(cuenta.indexadas, cuenta.busquedas * 9 / 10);
    EXPECT_GT(cuenta.disparos, 100000);
}

TEST(IndiceRegistros, GenerationsAndReplaysAreTheSameWithAndWithoutTheIndex) {
    std::uint64_t seed = 900;
    for (const Caso& c : kCasos) {
        SCOPED_TRACE(::testing::Message() << c.cols << "x" << c.rows << " type " << c.type);
        ++seed;
        Partida rapido = mundoAlAzar(c, seed, true), plano = mundoAlAzar(c, seed, false);
        Rng rngRapido(seed), rngPlano(seed);
        for (int g = 1; g <= 6; ++g) {
            UnaGeneracion(rapido.w, rapido.rep, rapido.s, rngRapido);
            UnaGeneracion(plano.w, plano.rep, plano.s, rngPlano);
            ASSERT_EQ(testing::worldDigest(rapido.w, rapido.rep, rapido.s.MuertoHoy),
                      testing::worldDigest(plano.w, plano.rep, plano.s.MuertoHoy))
                << "generation " << g;
        }
        for (int cell = 1; cell <= rapido.w.NumJugadores; cell += 3) {
            Rng r1(cell), r2(cell);
            EXPECT_TRUE(mismasFilas(MostrarPartidas(rapido.w, rapido.rep, cell, r1),
                                    MostrarPartidas(plano.w, plano.rep, cell, r2)))
                << "replays of cell " << cell;
        }
    }
}

// Records written by other hands than the encounter are never read through a stale index: the
// search falls back on the records, and the next encounter rebuilds the cell's index from them.
TEST(IndiceRegistros, FollowsRecordsWrittenByHand) {
    Rng rng(5);
    World w;
    makeBusyWorld(w, rng, 3, 3, 12, 2);
    PrepararPaso(w);
    GenerationReport rep;
    clearReport(w, rep);
    IndiceRegistros index;
    const int o = 1;
    const std::array<int, 4> partners = {2, 3, 2, 4};
    for (int i = 1; i <= 4; ++i) {
        rep.jugadas(o, i) = registro::make(partners[i - 1], i % 2, 1, false, 0);
        rep.movA(o, i) = static_cast<std::uint8_t>(10 * i);
        rep.movB(o, i) = static_cast<std::uint8_t>(5 * i);
    }
    rep.jugadas(o, 0) = 4;
    EXPECT_FALSE(indiceCelda(w, rep, &index, o).disponible());
    const std::int16_t word = palabra(0, 15, 2);
    EXPECT_EQ(buscarEnRegistros(listaRegistros(w, rep, &index, o), 2, 4, 0, word),
              std::optional<std::uint16_t>(10 * 128 + 20));  // slots 3 and 1: (15+5)/2, (30+10)/2

    JugarPartida(w, rep, &index, o, 2, 4, 0, kActual, rng);
    const IndiceCelda ix = indiceCelda(w, rep, &index, o);
    ASSERT_TRUE(ix.disponible());
    EXPECT_EQ(ix.registros(), 5);
    const auto registrosDe = [](const Memoria* m) { return m->cuenta[2]; };
    ASSERT_NE(ix.con(2), nullptr);
    EXPECT_EQ(registrosDe(ix.con(2)), 3);
    EXPECT_EQ(sumaA(sumaRol(*ix.con(2), 1)), 10 + 30);  // slots 1 and 3 were played as player 2
    EXPECT_EQ(sumaA(sumaRol(*ix.con(2), 0)), rep.movA(o, 5));
    EXPECT_EQ(registrosDe(ix.con(4)), 1);
    EXPECT_EQ(ix.con(7), nullptr);
    EXPECT_EQ(registrosDe(ix.deCelda()), 5);
}

// A caller may pair a cell with more partners than its neighbourhood gives it (here 4): their
// memories go past the cell's block and are found all the same, also after records written by
// hand made the cell's index start afresh.
TEST(IndiceRegistros, FindsPartnersBeyondTheNeighbourhood) {
    Rng rng(11), muestra(12);
    World w;
    makeBusyWorld(w, rng, 4, 4, 0, 10);
    barajarBusquedas(w, rng);
    PrepararPaso(w);
    GenerationReport rep;
    clearReport(w, rep);
    IndiceRegistros index;
    reiniciarIndiceRegistros(w, rep, index);
    ASSERT_EQ(index.bloque, 4u);
    Cuenta cuenta;
    for (int i = 0; i < 36 && rep.jugadas(1, 0) < w.MovPosibles; ++i) {
        const int p = 2 + azar(muestra, 9);
        if (rep.jugadas(p, 0) >= w.MovPosibles) continue;
        if (i == 20) {
            // A record by other hands: the next encounter rebuilds cell 1's index.
            const int slot = rep.jugadas(1, 0) + 1;
            rep.jugadas(1, slot) = registro::make(p, 1, 1, true, 0);
            rep.movA(1, slot) = 77;
            rep.movB(1, slot) = 33;
            rep.jugadas(1, 0) = slot;
        }
        compararEncuentro(w, rep, &index, 1, p, rep.jugadas(1, 0), rep.jugadas(p, 0), muestra,
                          cuenta);
        JugarPartida(w, rep, &index, 1, p, rep.jugadas(1, 0), rep.jugadas(p, 0), kActual, rng);
        const ListaRegistros l = listaRegistros(w, rep, &index, 1);
        ASSERT_TRUE(l.indice.disponible());
        for (int socio = 2; socio <= 10; ++socio) {
            for (int depth : {0, 1, 3, 15}) {
                for (int tipo : {0, 8}) {
                    const std::int16_t word = palabra(tipo, depth, azar(muestra, 3));
                    compararBusqueda(l, socio, rep.jugadas(1, 0), azar(muestra, 2), word, cuenta);
                }
            }
            compararDisparos(l, socio, rep.jugadas(1, 0), cuenta);
        }
    }
    EXPECT_GT(index.conSocio.size(), 17u * 4u);  // some memories past the blocks
}

}  // namespace
}  // namespace morvane
