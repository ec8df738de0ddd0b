#include "state/vista.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "base/numeric.h"

namespace morvane {

// The view word is the sum of the values of the ticked items plus the rounds as a tenth:
//
//        1  "Mutations" (View menu)         512, 1024, 2048  chkSen(0), (1), (2)
//  2, 4, 8  mnuOpcion(0), (1), (2)                4096, 8192  mnuOpcion(5), (6)
//       16  mnuRegla(3) "Maxi Min"         16384, 32768, 65536  mnuSuma(0), (1), (2)
//       32  mnuOpcion(4)                          131072  ten rounds (no fraction then)
//  64, 128, 256  mnuRegla(0), (1), (2)      + rounds / 10  for 1 to 9 rounds
//
// Two values were added to the old layout, on bits it never used, because it had no room for the
// fourth rule and for ten rounds (10 / 10 would carry into bit 1). A word without a fraction
// always meant 4 rounds, and still does unless bit 131072 is set (a fraction, where there is one,
// gives the rounds whatever that bit says). Readers that know only the old layout ignore both
// bits: they open a "Maxi Min" world on "Best Strategy" with no rule ticked and a ten-round world
// with 4 rounds, and read everything else the same.
//
// The whole part stays below 262144, so the seven significant digits a file keeps still hold the
// tenth, and the float (18 whole bits, 6 fraction bits) places it within 1/64.
namespace {

constexpr std::int32_t kVerMutaciones = 1;
constexpr std::array<std::int32_t, 10> kOpcionBit{2, 4, 8, 0, 32, 4096, 8192, 0, 0, 0};
constexpr std::array<std::int32_t, 4> kReglaBit{64, 128, 256, 16};
constexpr std::array<std::int32_t, 3> kSenBit{512, 1024, 2048};
constexpr std::array<std::int32_t, 3> kSumaBit{16384, 32768, 65536};
constexpr std::int32_t kTenRounds = 131072;
constexpr std::int32_t kReglaMask = 448;
constexpr std::int32_t kSumaMask = 114688;

std::int32_t tickedBits(const World& w) {
    const RunOptions& o = w.options;
    std::int32_t n = o.mnuVerMutaciones ? kVerMutaciones : 0;
    for (int k = 0; k < 10; ++k)
        if (o.mnuOpcion[k]) n |= kOpcionBit[k];
    for (int k = 0; k < 4; ++k)
        if (o.mnuRegla[k]) n |= kReglaBit[k];
    for (int k = 0; k < 3; ++k) {
        if (o.chkSen[k]) n |= kSenBit[k];
        if (o.mnuSuma[k]) n |= kSumaBit[k];
    }
    return n;
}

std::uint8_t reglaFrom(std::int32_t n) {
    switch (n & kReglaMask) {
        case 64:
            return 1;
        case 128:
            return 2;
        case 0:
            return (n & kReglaBit[3]) ? 4 : 3;
        default:
            return 3;
    }
}

std::uint8_t modoSumaFrom(std::int32_t n) {
    switch (n & kSumaMask) {
        case 16384:
            return 1;
        case 32768:
            return 2;
        default:
            return 3;
    }
}

}  // namespace

float encodeVista(const World& w) {
    // The rounds box runs from 1 to 10; anything else would spill into the ticks.
    const int rounds = std::clamp<int>(w.Iteraciones, 1, 10);
    std::int32_t n = tickedBits(w);
    if (rounds == 10) return static_cast<float>(n | kTenRounds);
    return static_cast<float>(n + rounds / 10.0);
}

int vistaIteraciones(float x) {
    const double whole = std::floor(static_cast<double>(x));
    double fraction = static_cast<double>(x) - whole;
    if (fraction == 0.0) {
        if (static_cast<std::int64_t>(whole) & kTenRounds) return 10;
        fraction = 0.4;
    }
    return static_cast<int>(roundHalfEven(fraction * 10.0));
}

void decodeVista(World& w, float x) {
    RunOptions& o = w.options;
    double v = x;
    if (!(v >= 0.0)) v = 0.0;  // also NaN
    v = std::min(v, kVistaMax);
    const auto n = static_cast<std::int32_t>(std::floor(v));
    w.Vista = x;
    // The rounds box never goes below 1; a load refuses such a word before it gets here.
    w.Iteraciones = static_cast<std::uint8_t>(std::max(1, vistaIteraciones(static_cast<float>(v))));

    o.mnuVerMutaciones = (n & kVerMutaciones) != 0;
    for (int k = 0; k < 10; ++k) o.mnuOpcion[k] = k != 3 && (o.Opciones[kActual] & (1 << k)) != 0;
    // "Maxi Min" comes from its own bit; a word without it leaves the item unticked, as the
    // window first shows it, rather than carrying a tick over from the world in memory.
    for (int k = 0; k < 4; ++k) o.mnuRegla[k] = (n & kReglaBit[k]) != 0;
    o.Regla = reglaFrom(n);
    for (int k = 0; k < 3; ++k) {
        o.mnuSuma[k] = (n & kSumaBit[k]) != 0;
        o.chkSen[k] = (n & kSenBit[k]) != 0;
    }
    o.ModoSuma = modoSumaFrom(n);
}

}  // namespace morvane
