#pragma once

#include <functional>
#include <vector>

#include "base/rng.h"
#include "core/generation.h"
#include "core/neighbourhood_setup.h"
#include "core/scheduling.h"
#include "state/world.h"
#include "strategy/limits.h"

namespace morvane::testing {

// An ordinary bug: type 0, depth 1, a straight curve, sensibilities 100/0/0.
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

inline Genoma deadGenome() {
    return deadSquareGenome();
}

inline Genoma blankGenome() {
    Genoma g = bugGenome(200);
    g.parte[0].Busqueda = g.parte[1].Busqueda = 64 + 32;
    return g;
}

// A cols x rows world of ordinary bugs under neighbourhood code `code`, committed as a start
// would commit it, with the given number of iterations.
inline World worldOf(int cols, int rows, std::uint8_t code = 2, int iterations = 1) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(cols);
    w.NumFilas = static_cast<std::int16_t>(rows);
    CrearMundo(w);
    PrepararCeldaCero(w);
    w.Rangos = defaultRangos();
    for (int c = 1; c <= w.NumJugadores; ++c)
        w.genoma(kActual, c) = w.genoma(kPrevio, c) = bugGenome();
    w.neighbourhood.CodVecin = {code, code};
    w.neighbourhood.Repes = static_cast<std::uint8_t>(partnerCount(code));
    w.Iteraciones = static_cast<std::uint8_t>(iterations);
    BuildNeighbourTable(w);
    PrepararPaso(w);
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

inline void setGenome(World& w, int cell, const Genoma& g) {
    w.genoma(kActual, cell) = w.genoma(kPrevio, cell) = g;
}

// One call of the encounter as the scheduler made it.
struct Call {
    int jug1, jug2, prev1, prev2;
    bool operator==(const Call&) const = default;
};

// Stands in for the encounter: keeps the records count as the real one does, adds the given
// pay-offs and returns what `result` says for the pair.
struct Recorder {
    std::vector<Call> calls;
    std::function<std::uint8_t(const Call&)> result = [](const Call&) { return 0; };
    float pay1 = 0, pay2 = 0;

    auto fn(GenerationReport& r) {
        return [this, &r](int jug1, int jug2, int prev1, int prev2) -> std::uint8_t {
            calls.push_back({jug1, jug2, prev1, prev2});
            r.jugadas(jug1, 0) = prev1 + 1;
            r.jugadas(jug2, 0) = prev2 + 1;
            r.PagoTotal[jug1] += pay1;
            r.PagoTotal[jug2] += pay2;
            return result(calls.back());
        };
    }
};

// One iteration of the rounds with every encounter played by the recorder.
inline void iterate(WorldRun& run, Rng& rng, Recorder& rec) {
    if (run.s.MuertoHoy.size() != static_cast<std::size_t>(run.w.NumJugadores) + 1)
        run.s.MuertoHoy.assign(static_cast<std::size_t>(run.w.NumJugadores) + 1, 0);
    JugarIteracion(run.w, run.r, run.s.MuertoHoy, rng, rec.fn(run.r));
}

// The number of draws a generator made since `twin` (same seed) was copied from it: `twin` is
// advanced until it catches up. Fails past `limit`.
inline int drawsSince(Rng twin, Rng rng, int limit = 100000) {
    const std::uint64_t next = rng.next();
    for (int n = 0; n < limit; ++n)
        if (twin.next() == next) return n;
    return -1;
}

// A generator whose first draws satisfy `wanted` (seeds tried in order, so the pick is fixed).
inline Rng rngWhoseFirstDraws(const std::function<bool(Rng&)>& wanted) {
    for (std::uint64_t seed = 1;; ++seed) {
        Rng probe(seed);
        if (wanted(probe)) return Rng(seed);
    }
}

}  // namespace morvane::testing
