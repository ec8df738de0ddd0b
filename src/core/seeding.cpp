#include "core/seeding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/rng.h"
#include "strategy/distribution.h"
#include "strategy/limits.h"

namespace morvane {

namespace {

// floor(a u + b) for u in [0, 1); u < 1 never reaches the upper end of the range.
int drawFloor(Rng& rng, double a, double b) {
    return static_cast<int>(rng.integer(a, b));
}

// Limits come from files unchecked; a value outside a field is held at the field's ends rather
// than wrapped.
std::uint8_t byteOf(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Every draw is a separate statement: the order of the draws is part of a seeded run. Each drawn
// value is already within its field, so the packed words are plain sums of their sub-fields.
GenomePart randomPart(const Rangos& r, Rng& rng, int h) {
    auto drawField = [&](int k) { return drawForField(r, rng, k, h); };
    GenomePart p;

    const int historial = drawField(kLimHistorial);
    const int prof = drawField(kLimProf);
    const int tipo = drawField(kLimTipo);
    p.Busqueda = static_cast<std::int16_t>(8 * tipo + 64 * prof + 1024 * historial);

    // The second input is drawn on the far side of the first, so the inputs are always in order.
    int x1 = drawField(kLimX1);
    int x2 = 0;
    if (x1 < 50) {
        x2 = drawFloor(rng, 98 - x1, x1 + 1);
    } else {
        x2 = x1;
        x1 = drawFloor(rng, x2 - 2, 1);
    }
    p.X1 = byteOf(x1), p.X2 = byteOf(x2);
    p.Y0 = byteOf(drawField(kLimY0));
    p.Y1 = byteOf(drawField(kLimY1));
    p.Y2 = byteOf(drawField(kLimY2));
    p.Y3 = byteOf(drawField(kLimY3));

    // Only the first sensibility follows its limits (held within 0..100); the other two share what
    // is left of 100.
    const int senIC = drawField(kLimSenIC);
    const int senIA = drawFloor(rng, 101 - senIC, 0);
    p.SenIC = byteOf(senIC), p.SenIA = byteOf(senIA), p.SenIP = byteOf(100 - senIC - senIA);

    p.ValIC = byteOf(drawField(kLimValIC));
    p.ValIA = byteOf(drawField(kLimValIA));
    p.ValIP = byteOf(drawField(kLimValIP));

    const int copyFlag = drawField(kLimCopia);
    const int incerIA = drawField(kLimIncerIA);
    const int incerIC = drawField(kLimIncerIC);
    p.Incertidumbre = static_cast<std::int16_t>(16384 * copyFlag + 128 * incerIA + incerIC);

    p.Irregular = byteOf(drawField(kLimIrregular));
    p.TriggerMin = byteOf(drawField(kLimTriggerMin));
    p.TriggerMax = byteOf(drawField(kLimTriggerMax));

    const int resp = drawField(kLimTriggerResp);
    const int aquien = drawField(kLimAquien);
    const int cuando = drawField(kLimCuando);
    p.Trigger = static_cast<std::int16_t>(resp + 256 * aquien + 512 * cuando);
    return p;
}

// One entry per row with an active, non-zero portion: the running sum and the row it ends.
struct CumulativeTable {
    std::array<float, kDistributionRows> cum{};
    std::array<int, kDistributionRows> row{};
    int n = 0;
};

CumulativeTable cumulativeTable(const StrategyList& list) {
    CumulativeTable t;
    float sum = 0.0f;
    for (int i = 0; i < kDistributionRows; ++i) {
        const std::int16_t w = list[slotOfRow(i)].Reparto;
        if (reparto::portion(w) == 0 || !reparto::active(w)) continue;
        sum += static_cast<float>(reparto::portion(w));
        t.cum[t.n] = sum;
        t.row[t.n] = i;
        ++t.n;
    }
    return t;
}

int chooseRow(const CumulativeTable& t, Rng& rng) {
    const float x = rng.uniform() * t.cum[t.n - 1];
    for (int m = 0; m < t.n; ++m)
        if (x < t.cum[m]) return t.row[m];
    return t.row[t.n - 1];  // only if the product rounded up to the total
}

void fillAtRandom(World& w, Rng& rng) {
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        if (isBlankSquare(w.genoma(kActual, cell))) continue;
        AzarCasilla(w, rng, cell);
        VaciarPrevio(w, cell);
    }
}

void fillByDistribution(World& w, Rng& rng) {
    const CumulativeTable table = cumulativeTable(w.ListaEstrategias);
    if (table.n == 0) return;  // nothing to draw from: the world stays as it is
    for (int r = 0; r < w.NumFilas; ++r) {
        for (int c = 0; c < w.NumColumnas; ++c) {
            const int cell = w.cellAt(r, c);
            if (isBlankSquare(w.genoma(kActual, cell))) continue;
            const int row = chooseRow(table, rng);
            if (row == kRandomRow)
                AzarCasilla(w, rng, cell);
            else
                w.genoma(kActual, cell) = toCellForm(w.ListaEstrategias[slotOfRow(row)].genoma);
            VaciarPrevio(w, cell);
        }
    }
}

}  // namespace

void LlenarMundo(World& w, Rng& rng, int modo) {
    rng.reseedFromClock();
    if (modo == kFillAtRandom)
        fillAtRandom(w, rng);
    else if (modo == kFillByDistribution)
        fillByDistribution(w, rng);
}

void AzarCasilla(World& w, Rng& rng, int cell) {
    Genoma& g = w.genoma(kActual, cell);
    for (int h = 0; h < 2; ++h) g.parte[h] = randomPart(w.Rangos, rng, h);
    g.VecinosImitacion = drawFloor(rng, 16777215, 0) + 1;
    for (auto& c : g.Colores) c = byteOf(drawFloor(rng, 254, 0) + 1);
}

void VaciarPrevio(World& w, int cell) {
    Genoma& g = w.genoma(kPrevio, cell);
    // A dead-square mark (search type 3, depth 1, history type 1) over a plain identity curve.
    g.parte[0].Busqueda = 1112;
    for (auto& p : g.parte) {
        p.Y0 = 0, p.X1 = 25, p.Y1 = 25, p.X2 = 75, p.Y2 = 75, p.Y3 = 100;
        p.SenIC = 100, p.SenIA = 0, p.SenIP = 0;
    }
    g.VecinosImitacion = 16777215;
    g.Colores = {254, 254, 254, 1, 1, 1};
}

}  // namespace morvane
