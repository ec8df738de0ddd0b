#include "core/simulation.h"

#include "core/generation.h"
#include "core/seeding.h"
#include "core/startup.h"
#include "io/scenario_file.h"

namespace morvane {

Simulation::Simulation() {
    applyStartupDefaults();
}

Simulation::Simulation(std::uint64_t seed) : rng_(seed) {
    applyStartupDefaults();
}

void Simulation::applyStartupDefaults() {
    morvane::applyStartupDefaults(state_);
    clearReport();
    statistics_.clear();
    replayRng_ = Rng(kReplaySeed);
}

void Simulation::start() {
    startWorld(state_, rng_);
    worldLoaded();
}

LoadResult Simulation::load(const std::string& path) {
    const LoadResult loaded = CargarEscenario(state_, path);
    if (loaded.ok) worldLoaded();
    return loaded;
}

void Simulation::worldLoaded() {
    worldWindowLoad(state_);
    state_.HistoriaCoop = {};
    clearReport();
    statistics_.clear();
}

void Simulation::refill(int mode) {
    state_.Generacion = 0;
    state_.HistoriaCoop = {};
    rng_.reseedFromClock();
    LlenarMundo(state_, rng_, mode);
    clearReport();
    statistics_.clear();
    ReiniciarTransicion(state_);
}

void Simulation::prepare() {
    PrepararPaso(state_);
}

void Simulation::step() {
    UnaGeneracion(state_, report_, scratch_, rng_);
    statistics_.record(state_, report_);
}

void Simulation::singleStep() {
    prepare();
    rng_.reseedFromClock();
    step();
}

void Simulation::clearReport() {
    morvane::clearReport(state_, report_);
    scratch_.index = {};
    scratch_.cards.reset();
    scratch_.MuertoHoy.clear();
}

}  // namespace morvane
