#pragma once

#include <cstdint>
#include <string_view>

#include "strategy/strategy_types.h"

namespace morvane {

class Rng;

// A whole number within the limits of parameter k (0..30) of part h: floor((Max - Min) u + 0.5) +
// Min. Min and Max come out half as often as the values between them.
std::int16_t AzarEnRango(const Rangos& r, Rng& rng, int k, int h);

// The largest value the genome field of parameter k (6..30) can hold: 255 for a byte, what its
// mask holds for a sub-field of a packed word (Tipo as the search type, 0..7), and 100 for the
// sensibilities, which share 100 among the three.
int fieldLargest(int k);

// AzarEnRango held within the field of parameter k, 0..fieldLargest(k). Limits are kept as the
// user or a file gave them, so a draw may lie beyond its field; seeding and mutation both hold it
// at the field's ends instead of wrapping it into the field or spilling it into the next one.
int drawForField(const Rangos& r, Rng& rng, int k, int h);

// The start values of the limits and their bounds (identical for both parts).
Rangos defaultRangos();

// The caption of parameter k (0..30) in the limits window, e.g. "Search Depth (x 64)"; empty for
// any other k.
std::string_view limitCaption(int k);

// Parameters of the limits table by what they govern.
enum LimitParam : int {
    kLimTipo = 6,
    kLimProf = 7,
    kLimHistorial = 8,
    kLimY0 = 9,
    kLimX1 = 10,
    kLimY1 = 11,
    kLimX2 = 12,
    kLimY2 = 13,
    kLimY3 = 14,
    kLimSenIC = 15,
    kLimSenIA = 16,
    kLimSenIP = 17,
    kLimValIC = 18,
    kLimValIA = 19,
    kLimValIP = 20,
    kLimIncerIC = 21,
    kLimIncerIA = 22,
    kLimCopia = 23,
    kLimIrregular = 24,
    kLimVecinos = 25,
    kLimTriggerMin = 26,
    kLimTriggerMax = 27,
    kLimTriggerResp = 28,
    kLimAquien = 29,
    kLimCuando = 30,
};

}  // namespace morvane
