#pragma once

#include <array>
#include <cstdint>

#include "core/world.h"
#include "encounter/history.h"
#include "strategy/behaviour.h"

namespace morvane {

class Rng;

// The settings one encounter reads. Live play (copia 1) reads the live game analysis and option
// bits, a replay (copia 0) the ones committed at the last start or step, so that a replay meets
// the settings the generation was played with.
struct AjustesPartida {
    int copia = 1;
    std::array<float, 3> prob{};  // EquilibriumAbsProb by role 1, 2
    bool sucesivas = false;       // successive moves
    bool equidadUno = false;      // option [9]: even outcome = 1 (on) or 0.5 (off)
    std::uint8_t senMask = 7;
    int adHoc = 0;
    bool ciEsExito = false;
    bool tarta = false;  // cake cutting
};

AjustesPartida ajustesPartida(const World& w, int copia);

// Genome half of player 1, and of player 2 once player 1's disposition is known.
int mitadJugador1(const AjustesPartida& aj);
int mitadJugador2(const AjustesPartida& aj, float disp1);

// Colour similarity of two bugs: 1 for equal bug colours, 0 for components 253 apart.
float similitud(const Genoma& a, const Genoma& b);

// Expected pay-off of role k playing its absolute move with probability own against other.
float pagoEsperado(const PayoffMatrix& m, int copia, int k, float own, float other);
// A pay-off as a share of the role's pay-off range; 1 when the range is empty.
float exito(const PayoffMatrix& m, int k, float pay);
// Player 1's equality for successes s1, s2 (player 2's is the same with option [9], else 100 - it).
std::uint8_t equidad1(float s1, float s2, bool equidadUno);

// A percentage as stored in a record byte: floored, a NaN taken as 0, held within 0..100 so that
// an average never spills into the neighbouring field of a packed word.
std::uint8_t byteRegistro(float percent);

// Success (bits 7..13) and equality (bits 0..6) of player 1's provisional move as player 2 would
// answer it.
std::uint16_t ValorarJugada(const World& w, float disp1, int copia);

// What the deciding bug b (role bit roleBit, genome half `half`) knows of its rival: the search of
// the rival's first n records, or b's "without data" values when the rival has none. With
// `buscarSiempre` the search runs even for n = 0 (the preview counts as a record).
std::uint16_t conocimiento(const World& w, const AjustesPartida& aj, int b, int roleBit, int half,
                           const ListaRegistros& rival, int n, bool buscarSiempre);

// What a decision reads of a genome half beyond its plain fields: the behaviour curve's
// coefficients and the valuations and sensibilities as fractions. The live genomes do not change
// while the rounds are played, so a generation works these out once per cell.
struct FichaMitad {
    CurvaNewton curva;
    std::array<float, 3> val{}, sen{};  // ValIC, ValIA, ValIP and SenIC, SenIA, SenIP / 100
};
FichaMitad fichaMitad(const GenomePart& g);

// One move decision: bug b against rival r in role 1 or 2 with genome half `half` (and its card),
// the knowledge word found, the colour similarity, b's own record list and count, and for player
// 2 player 1's output f1.
World::LadoPartida decidir(const World& w, const AjustesPartida& aj, int b, int r, int role,
                           int half, const FichaMitad& ficha, std::uint16_t word, float Si,
                           const ListaRegistros& propia, int nPropio, float f1, Rng& rng);

}  // namespace morvane
