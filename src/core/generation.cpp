#include "core/generation.h"

#include <optional>

#include "core/mutation.h"
#include "core/rng.h"
#include "core/scoring.h"
#include "core/transition.h"
#include "encounter/encounter.h"

namespace morvane {

namespace {

// The snapshot precedes every copy, so parents are read as they were after the encounters. Under
// crossover each call also draws a cut and a side, blank and dead squares included.
void snapshotGenomes(World& w, Rng& rng) {
    for (int cell = 1; cell <= w.NumJugadores; ++cell)
        CopiarGenoma(w, rng, cell, cell, cell, kActual, kPrevio, 0);
}

void maybeMutate(World& w, Rng& rng, int cell) {
    if ((w.opciones.Opciones[kActual] & 1) == 0) return;
    if (!isMutable(w.genoma(kActual, cell))) return;
    if (rng.uniform() < w.FrecMutacion) Mutar(w, rng, cell);
}

// Cell by cell, in increasing order: the copy's draws, then the mutation's.
void copyAndMutate(World& w, Rng& rng) {
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        carryOutTransition(w, rng, cell);
        maybeMutate(w, rng, cell);
    }
}

}  // namespace

void sampleCooperationHistory(World& w) {
    if (w.PasoCoop < 1 || w.Generacion % w.PasoCoop != 0) return;
    const std::int32_t s = w.Generacion / w.PasoCoop;
    if (s < 1 || s > 100) return;
    for (int role = 0; role < 2; ++role) {
        if (w.CuentaCoop[role] == 0) continue;
        w.HistoriaCoop[s][role] = w.SumaCoop[role] / static_cast<float>(w.CuentaCoop[role]);
    }
}

namespace {

// The phases of one generation; `playRounds` plays one iteration of the rounds.
template <typename Rounds>
void generation(World& w, Rng& rng, const Rounds& playRounds) {
    ++w.Generacion;
    NuevaGeneracionAcumuladores(w);  // the encounters' rows, statistics and index with them
    if (w.opciones.mnuVerMutaciones) w.mutationRecords.clear();

    if ((w.vecindad.CodVecin[kPrevio] & 16) != 0) EmparejarAzar(w, rng);
    // The iterations committed with MovPosibles, so the records always have room for the moves.
    for (int it = 0; it < w.IteracionesComprometidas; ++it) {
        w.Iteracion = static_cast<std::uint8_t>(it);
        playRounds();
    }
    scoreGeneration(w);

    snapshotGenomes(w, rng);
    runTransitionRule(w, rng);
    copyAndMutate(w, rng);
    sampleCooperationHistory(w);
}

}  // namespace

void UnaGeneracion(World& w, Rng& rng, const EncounterFn& play) {
    generation(w, rng, [&] { JugarIteracion(w, rng, play); });
}

// The live cycle plays its encounters with JugarPartida on the same generator, which serves the
// encounters' ad-hoc random outputs. No round changes a live genome or a setting the encounters
// read, so what they read is worked out once, at the first round: after the generation is counted
// and its partners drawn.
void UnaGeneracion(World& w, Rng& rng) {
    std::optional<FichasGeneracion> fichas;
    generation(w, rng, [&] {
        if (!fichas) fichas = prepararFichas(w);
        JugarIteracionEnVivo(w, rng, *fichas);
    });
}

}  // namespace morvane
