#include "core/generation.h"

#include <algorithm>

#include "base/rng.h"
#include "core/mutation.h"
#include "core/scheduling.h"
#include "core/scoring.h"
#include "core/transition.h"
#include "encounter/encounter.h"
#include "encounter/record_index.h"

namespace morvane {

namespace {

// The snapshot precedes every copy, so parents are read as they were after the encounters. Under
// crossover each call also draws a cut and a side, blank and dead squares included.
void snapshotGenomes(World& w, GenerationReport& report, Rng& rng) {
    if ((w.options.Opciones[kActual] & 256) != 0) {
        // Under imitation a cell's copy from itself draws nothing and is its genome as it stands,
        // so the snapshot is one copy of the list.
        const Genoma* const from = w.genomes[kActual].data();
        Genoma* const to = w.genomes[kPrevio].data();
        const int n = w.NumJugadores;
        for (int cell = 1; cell <= n; ++cell) to[cell] = from[cell];
        std::fill(report.PuntoCorte.begin() + 1, report.PuntoCorte.end(), std::int16_t{-1});
        return;
    }
    for (int cell = 1; cell <= w.NumJugadores; ++cell)
        report.PuntoCorte[cell] =
            static_cast<std::int16_t>(CopiarGenoma(w, rng, cell, cell, cell, kActual, kPrevio, 0));
}

void maybeMutate(World& w, GenerationReport& report, Rng& rng, int cell) {
    if (!isMutable(w.genoma(kActual, cell))) return;
    if (rng.uniform() < w.FrecMutacion) Mutar(w, rng, cell, &report.mutationRecords);
}

// Cell by cell, in increasing order: the copy's draws, then the mutation's (when option [0] is on:
// neither a copy nor a mutation changes the options).
void copyAndMutate(World& w, GenerationReport& report, Rng& rng) {
    const bool mutation = (w.options.Opciones[kActual] & 1) != 0;
    const int n = w.NumJugadores;
    for (int cell = 1; cell <= n; ++cell) {
        if (!keepsItsGenome(w, cell)) carryOutTransition(w, report, rng, cell);
        if (mutation) maybeMutate(w, report, rng, cell);
    }
}

// The per-generation arrays, sized to the world: the report's and who dropped out.
void newGenerationArrays(const World& w, GenerationReport& report, GenerationScratch& scratch) {
    NuevaGeneracionAcumuladores(w, report);
    if (report.PuntoCorte.size() != static_cast<std::size_t>(w.NumJugadores) + 1)
        report.PuntoCorte.assign(static_cast<std::size_t>(w.NumJugadores) + 1, 0);
    scratch.MuertoHoy.assign(static_cast<std::size_t>(w.NumJugadores) + 1, 0);
}

}  // namespace

void sampleCooperationHistory(World& w, const GenerationReport& report) {
    if (w.PasoCoop < 1 || w.Generacion % w.PasoCoop != 0) return;
    const std::int32_t s = w.Generacion / w.PasoCoop;
    if (s < 1 || s > 100) return;
    for (int role = 0; role < 2; ++role) {
        if (report.CuentaCoop[role] == 0) continue;
        w.HistoriaCoop[s][role] =
            report.SumaCoop[role] / static_cast<float>(report.CuentaCoop[role]);
    }
}

// The phases of one generation in order. The live encounters run on the same generator, which
// serves their ad-hoc random outputs. No round changes a live genome or a setting the encounters
// read, so what they read is worked out once, before the first round (after the generation is
// counted and its partners drawn), and only for the genomes that changed since the last one.
void UnaGeneracion(World& w, GenerationReport& report, GenerationScratch& scratch, Rng& rng) {
    ++w.Generacion;
    newGenerationArrays(w, report, scratch);
    if (w.options.mnuVerMutaciones) report.mutationRecords.clear();

    if ((w.neighbourhood.CodVecin[kPrevio] & 16) != 0) EmparejarAzar(w, rng);
    // The iterations committed with MovPosibles, so the records always have room for the moves.
    if (w.IteracionesComprometidas > 0) {
        if (!scratch.cards) scratch.cards.emplace();
        refreshCards(*scratch.cards, w, report, scratch.indexInUse(), scratch.useShortcuts);
        // A generation in which nothing reads the records keeps no index.
        if (scratch.cards->index != nullptr) resetRecordIndex(w, report, *scratch.cards->index);
    }
    for (int it = 0; it < w.IteracionesComprometidas; ++it)
        playLiveIteration(w, report, scratch, rng);
    scoreGeneration(w, report);

    snapshotGenomes(w, report, rng);
    runTransitionRule(w, report, rng);
    copyAndMutate(w, report, rng);
    sampleCooperationHistory(w, report);
}

}  // namespace morvane
