#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/copies.h"
#include "games/payoff_types.h"
#include "state/run_options.h"
#include "strategy/genome.h"
#include "strategy/strategy_types.h"
#include "world/neighbourhood_settings.h"

namespace morvane {

// Largest world: the move record keeps the partner's cell number in 12 bits.
constexpr int kMaxCells = 4095;

// The world state: what a scenario holds and what the program keeps between generations and across
// an "Open". What a generation leaves for the views is its report (state/generation_report.h); what
// only the generation itself uses is scratch, owned by the simulation. Copying a World copies the
// state alone.
struct World {
    // Dimensions and counters.
    std::int16_t NumColumnas = 25;
    std::int16_t NumFilas = 40;
    std::int16_t NumJugadores = 0;
    std::int32_t Generacion = 0;
    std::uint8_t Iteraciones = 4;               // the rounds box (1..10), read live
    std::uint8_t IteracionesComprometidas = 4;  // committed together with MovPosibles
    std::uint8_t MovPosibles = 0;
    std::int16_t CasillaSel = 5;

    // Genome store: genomes[copia][cell], cells 0..NumJugadores (cell 0 a pseudo-cell).
    std::array<std::vector<Genoma>, 2> genomes;

    // The parents the transition rule chose last generation: Maxi Max reads the second one again.
    std::vector<std::array<std::int16_t, 2>> Padres;  // [cell][0..1]

    // Cooperation history: HistoriaCoop[s][role], s = 1..100.
    std::int16_t PasoCoop = 10;
    std::array<std::array<float, 2>, 101> HistoriaCoop{};

    // Thresholds and mutation.
    float UmbralHoy = 0, UmbralSupervivencia = 0, UmbralReproduccion = 0;
    float FrecMutacion = 0.005f;

    // The view word as last read from or written to a scenario.
    float Vista = 48770.3984375f;

    RunOptions options;
    Neighbourhood neighbourhood;
    PayoffMatrix payoffs;
    PayoffCopy restorePayoffs{};  // taken when the pay-offs window opens; "Restore" returns to it
    std::array<StrategySlot, kNumListSlots> ListaEstrategias;
    morvane::Rangos Rangos;  // the strategy limits (the member hides the type inside World)

    // ---- accessors: the one place that knows how per-cell arrays are laid out
    Genoma& genoma(int copia, int cell) { return genomes[copia][cell]; }
    const Genoma& genoma(int copia, int cell) const { return genomes[copia][cell]; }
    std::int16_t& vecino(int cell, int j) { return neighbourhood.Vecinos[cell][j]; }
    std::int16_t vecino(int cell, int j) const { return neighbourhood.Vecinos[cell][j]; }
    int cellAt(int row, int column) const { return NumColumnas * row + column + 1; }
};

// Re-create the genome store (all zero) for NumColumnas x NumFilas cells, the transition results
// and the neighbour table. Sets NumJugadores.
void CrearMundo(World& w);

// Re-create Padres, as "New" and the world window's load do.
void ReiniciarTransicion(World& w);

// Both copies of cell 0 become the dead-square genome.
void PrepararCeldaCero(World& w);

// The smaller of 5 and the number of cells (at least 1 once a world exists).
std::int16_t initialSelectedCell(const World& w);

// Menu handlers of the world window, as data.
void clickOpcion(World& w, int k);  // toggles item k; option [7] also moves CodVecin(1) by 32
void clickRegla(World& w, int k);   // k = 0..3
void clickSuma(World& w, int k);    // k = 0..2
void recomputeOpciones(World& w);   // Opciones(1) from the ten check marks

}  // namespace morvane
