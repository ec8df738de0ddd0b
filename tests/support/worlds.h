#pragma once

// The worlds, genomes and records the engine's tests build by hand.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/rng.h"
#include "core/generation.h"
#include "core/neighbourhood_setup.h"
#include "encounter/history.h"
#include "games/payoff.h"
#include "state/generation_report.h"
#include "state/world.h"
#include "strategy/limits.h"
#include "strategy/strategy_list.h"

namespace morvane::testing {

// An ordinary bug: type 0, depth 1, a straight curve, sensibilities 100/0/0, the trigger off.
inline Genoma bugGenome(std::uint8_t colour = 100, std::int32_t mask = 16777215) {
    Genoma g;
    for (auto& p : g.parte) {
        p.Busqueda = 64;
        p.X1 = 25, p.X2 = 75, p.Y1 = 25, p.Y2 = 75, p.Y3 = 100;
        p.SenIC = 100, p.ValIC = 100, p.ValIA = 100, p.ValIP = 100;
        p.TriggerMin = 100;
    }
    g.VecinosImitacion = mask;
    g.Colores = {colour, colour, colour, colour, colour, colour};
    return g;
}

inline Genoma blankGenome() {
    Genoma g = bugGenome(200);
    g.parte[0].Busqueda = g.parte[1].Busqueda = 64 + 32;
    return g;
}

// A curve through four points at 0, 25, 75 and 100; type 8, depth 1, any role; the trigger off,
// sensibility on Ci only, valuations 100.
inline GenomePart curve(int y0, int y1, int y2, int y3) {
    GenomePart g;
    g.Busqueda = static_cast<std::int16_t>(8 + 64 * 1 + 1024 * 2);
    g.Y0 = static_cast<std::uint8_t>(y0), g.Y1 = static_cast<std::uint8_t>(y1);
    g.Y2 = static_cast<std::uint8_t>(y2), g.Y3 = static_cast<std::uint8_t>(y3);
    g.X1 = 25, g.X2 = 75;
    g.SenIC = 100;
    g.ValIC = g.ValIA = g.ValIP = 100;
    g.TriggerMin = 100, g.TriggerMax = 0;
    return g;
}
inline GenomePart constantPart(int y) {
    return curve(y, y, y, y);
}
inline GenomePart identityPart() {  // f(x) = x
    return curve(0, 25, 75, 100);
}

inline Genoma genomeFrom(const GenomePart& g) {
    Genoma out;
    out.parte = {g, g};
    out.VecinosImitacion = 16777215;
    out.Colores = {200, 200, 200, 10, 20, 30};
    return out;
}

// The cell form of the list strategy with that name; throws when there is none.
inline Genoma genomeOf(const World& w, std::string_view name) {
    const int slot = findStrategy(w.ListaEstrategias, std::string(name));
    if (slot == 0) throw std::invalid_argument("no strategy named " + std::string(name));
    return toCellForm(w.ListaEstrategias[slot].genoma);
}

// Puts a genome into both copies of a cell.
inline void place(World& w, int cell, const Genoma& g) {
    w.genoma(kActual, cell) = w.genoma(kPrevio, cell) = g;
}

// A cols x rows world of ordinary bugs with the start-up strategy list and limits, under
// neighbourhood code `code`, committed as a start would commit it.
inline World worldOf(int cols, int rows, std::uint8_t code = 2, int iterations = 1) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    PrepararCeldaCero(w);
    w.ListaEstrategias = initialStrategyList();
    w.Rangos = defaultRangos();
    for (int c = 1; c <= w.NumJugadores; ++c) place(w, c, bugGenome());
    w.neighbourhood.CodVecin = {code, code};
    w.neighbourhood.Repes = static_cast<std::uint8_t>(partnerCount(code));
    w.Iteraciones = static_cast<std::uint8_t>(iterations);
    BuildNeighbourTable(w);
    PrepararPaso(w);
    return w;
}

// A world of cols x rows empty cells with room for `moves` records per cell, playing the
// prisoner's dilemma with every setting committed, for encounters played by hand.
inline World encounterWorld(int cols, int rows, int moves) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    w.MovPosibles = static_cast<std::uint8_t>(moves);
    w.Generacion = 1;
    SelectGame(w.payoffs, 0);
    commitPayoffAnalysis(w.payoffs);
    w.options.Opciones = {1, 1};
    return w;
}

// The report a generation of the world would start from: every accumulator sized and zero.
inline GenerationReport reportOf(const World& w) {
    GenerationReport r;
    clearReport(w, r);
    return r;
}

// A world with the report and scratch its generations work with.
struct WorldRun {
    World w;
    GenerationReport r;
    GenerationScratch s;

    explicit WorldRun(World world) : w(std::move(world)) { clearReport(w, r); }
    void generation(Rng& rng) { UnaGeneracion(w, r, s, rng); }
};

// Ticks option `bit` in both copies of Opciones.
inline void setOption(World& w, int bit, bool on) {
    for (auto& o : w.options.Opciones)
        o = static_cast<std::int16_t>(on ? (o | (1 << bit)) : (o & ~(1 << bit)));
    if (bit == 4) w.options.SucesivasActivo = on;
}

// Appends a record to a cell's list by hand, as an encounter would have committed it.
inline void appendRecord(GenerationReport& r, int cell, int partner, int role, int a, int b,
                         bool fired = false, int half = 0, int partnerSlot = 1) {
    const int slot = ++r.jugadas(cell, 0);
    r.jugadas(cell, slot) = moveRecord::make(partner, role, partnerSlot, fired, half);
    r.movA(cell, slot) = static_cast<std::uint8_t>(a);
    r.movB(cell, slot) = static_cast<std::uint8_t>(b);
}

// Appends both records of one encounter: player 1's bytes a1, b1 and player 2's a2, b2.
inline void appendEncounter(GenerationReport& r, int j1, int j2, int a1, int b1, int a2, int b2,
                            int h1 = 0, int h2 = 0, bool fired1 = false) {
    const int t1 = r.jugadas(j1, 0) + 1, t2 = r.jugadas(j2, 0) + 1;
    appendRecord(r, j1, j2, 0, a1, b1, fired1, h1, t2);
    appendRecord(r, j2, j1, 1, a2, b2, false, h2, t1);
}

inline std::int16_t searchWordFor(int searchType, int depth, int historyType) {
    return static_cast<std::int16_t>(searchType + 64 * depth + 1024 * historyType);
}

inline int randomBelow(Rng& rng, int n) {
    return static_cast<int>(rng.uniform() * static_cast<float>(n));
}

// Every ordinary cell gets search words and triggers drawn over all types, depths (0 included),
// history types, whom and when fields, so that every kind of look-up happens during play.
inline void shuffleSearchWords(World& w, Rng& rng) {
    for (int c = 1; c <= w.NumJugadores; ++c) {
        if (!isMutable(w.genoma(kActual, c))) continue;
        for (GenomePart& p : w.genoma(kActual, c).parte) {
            const int searchType = 8 * randomBelow(rng, 3);
            p.Busqueda = static_cast<std::int16_t>(
                (p.Busqueda & 7) |
                searchWordFor(searchType, randomBelow(rng, 16), randomBelow(rng, 3)));
            p.Trigger = packed::withAquien(p.Trigger, randomBelow(rng, 2));
            p.Trigger = packed::withCuando(p.Trigger, randomBelow(rng, 3));
            p.TriggerMin = static_cast<std::uint8_t>(randomBelow(rng, 101));
            p.TriggerMax = static_cast<std::uint8_t>(randomBelow(rng, 101));
        }
    }
}

}  // namespace morvane::testing
