#include "core/startup.h"

#include "base/rng.h"
#include "core/neighbourhood_setup.h"
#include "core/seeding.h"
#include "games/payoff.h"
#include "state/vista.h"
#include "strategy/limits.h"
#include "strategy/strategy_list.h"

namespace morvane {

void applyStartupDefaults(World& w) {
    w = World{};
    SelectGame(w.payoffs, 0);
    w.payoffs.GameIndex = 1;
    w.restorePayoffs = payoffCopy(w.payoffs);
    w.FrecMutacion = 0.005f;
    w.UmbralSupervivencia = w.UmbralReproduccion = w.UmbralHoy = 0.0f;
    w.PasoCoop = 10;
    w.neighbourhood.CodVecin = {2, 2};
    w.neighbourhood.MascaraVecinos = {16777215, 16777215};
    w.neighbourhood.Repes = 24;
    w.options.Opciones = {1, 1};
    w.Vista = 48770.3984375f;
    w.ListaEstrategias = initialStrategyList();
    w.Rangos = defaultRangos();
}

void startWorld(World& w, Rng& rng) {
    CrearMundo(w);
    rng.reseedFromClock();
    LlenarMundo(w, rng, 1);
}

void worldWindowLoad(World& w) {
    // A new world starts its count and its cooperation history afresh.
    w.Generacion = 0;
    w.HistoriaCoop = {};
    ReiniciarTransicion(w);
    decodeVista(w, w.Vista);
    w.options.SenMask = 7;
    BuildNeighbourTable(w);
    w.CasillaSel = initialSelectedCell(w);
    PrepararCeldaCero(w);
}

void makeStartupWorld(World& w, Rng& rng) {
    applyStartupDefaults(w);
    startWorld(w, rng);
    worldWindowLoad(w);
}

void makeBusyWorld(World& w, Rng& rng, int columns, int rows, int type, int iterations) {
    applyStartupDefaults(w);
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    startWorld(w, rng);
    worldWindowLoad(w);
    ChooseNeighbourhood(w, type);
    w.Iteraciones = static_cast<std::uint8_t>(iterations);
    clickRegla(w, 1);                // Replicator Dynamics
    w.options.mnuOpcion[8] = false;  // crossover
    w.options.mnuOpcion[0] = true;   // mutation on
    recomputeOpciones(w);
}

}  // namespace morvane
