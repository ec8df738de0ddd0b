#pragma once

#include <cstdint>
#include <initializer_list>

#include "encounter/history.h"
#include "games/payoff.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane::test {

// A curve through four points; the trigger off, sensibility on Ci only, valuations 100.
inline GenomePart curve(int y0, int y1, int y2, int y3) {
    GenomePart g;
    g.Busqueda = static_cast<std::int16_t>(8 + 64 * 1 + 1024 * 2);  // type 8, depth 1, any role
    g.Y0 = static_cast<std::uint8_t>(y0);
    g.X1 = 25;
    g.Y1 = static_cast<std::uint8_t>(y1);
    g.X2 = 75;
    g.Y2 = static_cast<std::uint8_t>(y2);
    g.Y3 = static_cast<std::uint8_t>(y3);
    g.SenIC = 100;
    g.ValIC = g.ValIA = g.ValIP = 100;
    g.TriggerMin = 100;
    g.TriggerMax = 0;
    return g;
}
inline GenomePart constantPart(int y) {
    return curve(y, y, y, y);
}
inline GenomePart identityPart() {
    return curve(0, 25, 75, 100);
}  // f(x) = x

inline Genoma genomeFrom(const GenomePart& g) {
    Genoma out;
    out.parte = {g, g};
    out.VecinosImitacion = 16777215;
    out.Colores = {200, 200, 200, 10, 20, 30};
    return out;
}

// A world of cols x rows ordinary cells with room for `moves` records per cell, playing the
// prisoner's dilemma with every setting committed as a start would.
inline World encounterWorld(int cols, int rows, int moves) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    w.MovPosibles = static_cast<std::uint8_t>(moves);
    w.Generacion = 1;
    SelectGame(w.payoffs, 0);
    UpdatePayoffMatrix(w.payoffs);
    commitPayoffAnalysis(w.payoffs);
    w.options.Opciones = {1, 1};
    return w;
}

// The report of a generation of the world that has recorded nothing yet.
inline GenerationReport emptyReport(const World& w) {
    GenerationReport r;
    clearReport(w, r);
    return r;
}

// Both genome copies of a cell.
inline void placeGenome(World& w, int cell, const Genoma& g) {
    w.genoma(kActual, cell) = g;
    w.genoma(kPrevio, cell) = g;
}

inline void setOption(World& w, int bit, bool on) {
    for (auto& o : w.options.Opciones)
        o = static_cast<std::int16_t>(on ? (o | (1 << bit)) : (o & ~(1 << bit)));
    if (bit == 4) w.options.SucesivasActivo = on;
}

// Appends a record to a cell's list by hand, as an encounter would have committed it.
inline void appendRecord(GenerationReport& w, int cell, int partner, int role, int a, int b,
                         bool fired = false, int half = 0, int partnerSlot = 1) {
    const int slot = w.jugadas(cell, 0) + 1;
    w.jugadas(cell, 0) = slot;
    w.jugadas(cell, slot) = moveRecord::make(partner, role, partnerSlot, fired, half);
    w.movA(cell, slot) = static_cast<std::uint8_t>(a);
    w.movB(cell, slot) = static_cast<std::uint8_t>(b);
}

// Appends both records of one encounter, as the commit would: player 1's bytes a1, b1 and
// player 2's a2, b2.
inline void appendEncounter(GenerationReport& w, int j1, int j2, int a1, int b1, int a2, int b2,
                            int h1 = 0, int h2 = 0, bool fired1 = false) {
    const int t1 = w.jugadas(j1, 0) + 1, t2 = w.jugadas(j2, 0) + 1;
    appendRecord(w, j1, j2, 0, a1, b1, fired1, h1, t2);
    appendRecord(w, j2, j1, 1, a2, b2, false, h2, t1);
}

}  // namespace morvane::test
