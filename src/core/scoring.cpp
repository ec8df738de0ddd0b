#include "core/scoring.h"

#include "core/transition.h"

namespace morvane {

namespace {

bool isOrdinaryBug(const Genoma& g) {
    return isMutable(g);
}

}  // namespace

void scoreGeneration(const World& w, GenerationReport& rep) {
    const std::uint8_t modo = w.options.ModoSuma;
    for (int cell = 1; cell <= w.NumJugadores && modo != 1; ++cell) {
        float& pago = rep.PagoTotal[cell];
        if (modo == 2) {
            const int moves = rep.jugadas(cell, 0);
            if (moves > 0) pago /= static_cast<float>(moves);
        } else if (w.MovPosibles > 0) {
            // With no potential move nobody collected anything: the scores stay 0.
            pago /= static_cast<float>(w.MovPosibles);
        }
    }
    // The live genomes are still the ones that played: nothing has been copied yet.
    std::int32_t scoredCells = 0;
    double scoreSum = 0;
    const Genoma* const genomes = w.genomes[kActual].data();
    const float* const pago = rep.PagoTotal.data();
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        if (!isOrdinaryBug(genomes[cell])) continue;
        ++scoredCells;
        scoreSum += pago[cell];
    }
    rep.scoredCells = scoredCells;
    rep.scoreSum = scoreSum;
}

bool classifySurvival(World& w, const GenerationReport& rep, int cell) {
    const std::int16_t f = w.genoma(kActual, cell).parte[0].Busqueda & 0xFF;
    auto& padres = w.Padres[cell];
    const auto self = static_cast<std::int16_t>(cell);
    if (isBlankSquare(f)) {
        padres = {-1, -1};
        return false;
    }
    const float p = rep.PagoTotal[cell];
    if (w.options.Regla == 1) {
        padres[0] = self;
        if (diesUnderMaxiMax(p, f, w.UmbralSupervivencia, w.UmbralReproduccion)) padres = {0, 0};
    } else if (p >= w.UmbralSupervivencia && !isDeadSquare(f)) {
        padres = {self, self};
    } else {
        padres = {0, 0};
    }
    return true;
}

void carryOutTransition(World& w, GenerationReport& rep, Rng& rng, int cell) {
    if (keepsItsGenome(w, cell)) return;
    auto& padres = w.Padres[cell];
    const int v = padres[0];
    // Under Maxi Max the second parent is whatever the last generation left; one left by a cell
    // that was a blank square then (and was painted over since) names nobody.
    if (padres[1] < 0) padres[1] = 0;
    const int second = padres[1];
    // A dead half never mixes with a live one: both parents become the live one.
    if (second == 0 && v != 0) padres[1] = static_cast<std::int16_t>(v);
    if (second != 0 && v == 0) padres[0] = static_cast<std::int16_t>(second);

    const GenomePart& previo = w.genoma(kPrevio, cell).parte[0];
    int keepFont = 1;
    if (padres[0] == 0 || isDeadSquare(previo.Busqueda) ||
        (w.options.mnuOpcion[6] && (previo.Incertidumbre & packed::kCopiaMask) != 0))
        keepFont = 0;
    rep.PuntoCorte[cell] = static_cast<std::int16_t>(
        CopiarGenoma(w, rng, cell, padres[0], padres[1], kPrevio, kActual, keepFont));
}

}  // namespace morvane
