#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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
inline int mitadJugador1(const AjustesPartida& aj) {
    return aj.prob[1] == 1.0f ? 1 : 0;
}
inline int mitadJugador2(const AjustesPartida& aj, float disp1) {
    if (aj.prob[2] == 1.0f) return 1;
    return aj.sucesivas && aj.prob[2] != 0.0f && disp1 < aj.prob[1] ? 1 : 0;
}

// (759 - d) / 759 for every colour difference d = 0..765, worked out at compile time with the
// same rounding: a look-up instead of a division on the encounter's path.
inline constexpr std::array<float, 766> kSimilitudes = [] {
    std::array<float, 766> t{};
    for (int d = 0; d < 766; ++d) t[d] = static_cast<float>(759 - d) / 759.0f;
    return t;
}();

// Colour similarity of two bugs: 1 for equal bug colours, 0 for components 253 apart.
inline float similitud(const Genoma& a, const Genoma& b) {
    int diff = 0;
    for (int c = 3; c < 6; ++c) diff += std::abs(a.Colores[c] - b.Colores[c]);
    return kSimilitudes[diff];
}

// Expected pay-off of role k playing its absolute move with probability own against other.
inline float pagoEsperado(const PayoffMatrix& m, int copia, int k, float own, float other) {
    // The cross term is always taken as XY * disp1 * disp2, in that order.
    const float d1 = k == 1 ? own : other, d2 = k == 1 ? other : own;
    return m.PayoffCoefConst[copia][k] + m.PayoffCoefOwn[copia][k] * own +
           m.PayoffCoefOther[copia][k] * other + m.PayoffCoefXY[copia][k] * d1 * d2;
}

// A pay-off as a share of the role's pay-off range; 1 when the range is empty.
inline float exito(const PayoffMatrix& m, int k, float pay) {
    const float range = m.PayoffMax[k] - m.PayoffMin[k];
    if (m.PayoffMax[k] == m.PayoffMin[k]) return 1.0f;
    return (pay - m.PayoffMin[k]) / range;
}

// A percentage as stored in a record byte: floored, a NaN taken as 0, held within 0..100 so that
// an average never spills into the neighbouring field of a packed word.
inline std::uint8_t byteRegistro(float percent) {
    // Below 0 (or NaN) the floor is negative, from 100 on it is at least 100; in between the
    // conversion's truncation is the floor.
    if (!(percent >= 0.0f)) return 0;
    if (percent >= 100.0f) return 100;
    return static_cast<std::uint8_t>(static_cast<int>(percent));
}

// Player 1's equality for successes s1, s2 (player 2's is the same with option [9], else 100 - it).
inline std::uint8_t equidad1(float s1, float s2, bool equidadUno) {
    const float d = s2 - s1;
    return byteRegistro(equidadUno ? (1.0f - std::fabs(d)) * 100.0f : (d + 1.0f) / 2.0f * 100.0f);
}

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

// One move decision into `lado`: bug b against rival r in role 1 or 2 with genome half `half`
// (and its card), the knowledge word found, the colour similarity, b's own record list and count,
// and for player 2 player 1's output f1.
void decidir(const World& w, const AjustesPartida& aj, int b, int r, int role, int half,
             const FichaMitad& ficha, std::uint16_t word, float Si, const ListaRegistros& propia,
             int nPropio, float f1, Rng& rng, World::LadoPartida& lado);

}  // namespace morvane
