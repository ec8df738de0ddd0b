#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/world.h"
#include "encounter/move_decision.h"

namespace morvane {

class Rng;

// Everything one encounter computed, for the results table and the explanations.
struct EncounterValues {
    int jug1 = 0, jug2 = 0, prev1 = 0, prev2 = 0, copia = kActual;
    float Si = 0;
    std::uint8_t SenMask = 7;
    bool sucesivas = false;                       // player 2 saw player 1's current move
    bool tarta = false;                           // pay-offs by cake cutting
    std::array<World::LadoPartida, 2> jugador{};  // player 1, player 2
    std::array<float, 2> pago{}, exito{};
    std::array<std::uint8_t, 2> equidad{};
    std::uint8_t resultado = 0;
};

// One encounter between jug1 (player 1) and jug2 (player 2), who held prev1 and prev2 records
// before it. copia 1: live play on the live genomes and live settings, results committed; the
// result has bit 0 set when player 1's pay-off fell below UmbralHoy, bit 1 likewise for player 2.
// copia 0: a replay on the snapshot genomes and the committed settings; nothing in the world
// changes and the result is 0. rng serves the ad-hoc random outputs only; replays pass a
// generator of their own so that looking at a table never changes a run. When `out` is given it
// receives every value of the encounter.
std::uint8_t JugarPartida(World& w, int jug1, int jug2, int prev1, int prev2, int copia, Rng& rng,
                          EncounterValues* out = nullptr);

// What the live encounters of one generation read of the genomes and settings, worked out once
// before the rounds: no encounter changes a genome or a setting.
struct FichasGeneracion {
    AjustesPartida ajustes;                         // the live settings (copia 1)
    std::vector<std::array<FichaMitad, 2>> celdas;  // [cell][half] of the live genomes
    // The record index is in use: the cycle re-makes it before the rounds, and only the rounds'
    // encounters write records, so it holds every cell's records throughout them.
    bool indice = false;
    // The values of the encounter in play, kept here so that each encounter overwrites them
    // instead of clearing a fresh set.
    mutable EncounterValues enJuego;
};
FichasGeneracion prepararFichas(const World& w);

// A live encounter (copia 1) of the generation the cards were prepared for: the same as
// JugarPartida(w, jug1, jug2, prev1, prev2, 1, rng).
std::uint8_t JugarPartida(World& w, const FichasGeneracion& fichas, int jug1, int jug2, int prev1,
                          int prev2, Rng& rng);

// Asks memory for what a live encounter of cells a and b will read and write (either may be
// kNoPartner), so that it arrives while the encounter before it plays. Changes nothing.
void anticiparEncuentro(const World& w, const FichasGeneracion& fichas, int a, int b);

// The results-table row of an encounter seen from one of its two players.
World::FilaResultado filaResultado(const EncounterValues& v, int cell);

// Clears what the encounter engine keeps per generation: the live rows of the selected cell,
// the per-role cooperation statistics and the record index. The generation cycle calls it with the
// other accumulators.
void NuevaGeneracionEncuentros(World& w);

}  // namespace morvane
