#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/generation_report.h"
#include "core/world.h"
#include "encounter/record_index_types.h"
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
    std::array<LadoPartida, 2> jugador{};  // player 1, player 2
    std::array<float, 2> pago{}, exito{};
    std::array<std::uint8_t, 2> equidad{};
    std::uint8_t resultado = 0;
};

// One encounter between jug1 (player 1) and jug2 (player 2), who held prev1 and prev2 records
// before it. copia 1: live play on the live genomes and live settings, results committed to the
// report (and to the record index when one is given); the result has bit 0 set when player 1's
// pay-off fell below UmbralHoy, bit 1 likewise for player 2. copia 0: a replay on the snapshot
// genomes, the committed settings and the report's records; nothing changes and the result is 0.
// rng serves the ad-hoc random outputs only; replays pass a generator of their own so that looking
// at a table never changes a run. When `out` is given it receives every value of the encounter.
std::uint8_t JugarPartida(const World& w, GenerationReport& r, IndiceRegistros* ix, int jug1,
                          int jug2, int prev1, int prev2, int copia, Rng& rng,
                          EncounterValues* out = nullptr);

// A replay of an encounter of the generation the report holds (copia 0), into `out`.
void replayEncounter(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                     int prev2, Rng& rng, EncounterValues& out);

// What the live encounters of one generation read of the genomes and settings, worked out once
// before the rounds: no encounter changes a genome or a setting.
// The cards also say where the encounters write: the generation's report and, when the searches
// read one, its record index.
struct FichasGeneracion {
    AjustesPartida ajustes;                         // the live settings (copia 1)
    std::vector<std::array<FichaMitad, 2>> celdas;  // [cell][half] of the live genomes
    GenerationReport* informe = nullptr;
    // Re-made by the cycle before the rounds; only the rounds' encounters write records, so it
    // holds every cell's records throughout them. Null: the searches scan the records.
    IndiceRegistros* indice = nullptr;
    // The values of the encounter in play, kept here so that each encounter overwrites them
    // instead of clearing a fresh set.
    mutable EncounterValues enJuego;
};
FichasGeneracion prepararFichas(const World& w, GenerationReport& r, IndiceRegistros* ix);

// A live encounter (copia 1) of the generation the cards were prepared for: the same as
// JugarPartida(w, *fichas.informe, fichas.indice, jug1, jug2, prev1, prev2, 1, rng).
std::uint8_t JugarPartida(const World& w, const FichasGeneracion& fichas, int jug1, int jug2,
                          int prev1, int prev2, Rng& rng);

// Asks memory for what the live encounters of a round will read and write, a pair ahead, so that
// it arrives while the pair before plays. Made for one round: the arrays it reads do not change
// size while a round is played. Changes nothing.
class Anticipo {
  public:
    explicit Anticipo(const FichasGeneracion& fichas)
        : ix_(fichas.indice),
          celdas_(fichas.celdas.data()),
          jugadas_(fichas.informe->Jugadas.data()),
          movA_(fichas.informe->MovA.data()),
          movB_(fichas.informe->MovB.data()),
          anchura_(fichas.informe->slotsPerCell) {}

    // The data of cells a and b, either of which may be kNoPartner. Written out in place: GCC
    // takes a function that only prefetches for one without effects and drops its calls.
    [[gnu::always_inline]] void operator()(int a, int b) const {
        pedir(a);
        pedir(b);
    }

  private:
    [[gnu::always_inline]] static void linea(const void* p) {
#if defined(__GNUC__)
        __builtin_prefetch(p);
#else
        static_cast<void>(p);
#endif
    }
    // Both lines an object of up to 128 bytes may lie on.
    template <typename T>
    [[gnu::always_inline]] static void objeto(const T* x) {
        static_assert(sizeof(T) <= 128);
        linea(x);
        linea(reinterpret_cast<const char*>(x) + sizeof(T) - 1);
    }

    // Every line of a memory: its rings and its counts.
    [[gnu::always_inline]] static void memoria(const IndiceRegistros::Memoria* m) {
        static_assert(sizeof(*m) % 64 == 0);
        for (std::size_t i = 0; i < sizeof(*m); i += 64)
            linea(reinterpret_cast<const char*>(m) + i);
    }

    [[gnu::always_inline]] void pedir(int c) const {
        if (c < 1) return;
        objeto(celdas_ + c);
        const std::size_t fila = static_cast<std::size_t>(c) * anchura_;
        linea(jugadas_ + fila);
        if (ix_ == nullptr) return;
        const IndiceRegistros& ix = *ix_;
        const IndiceRegistros::Cabecera& cab = ix.cabeceras[c];
        const std::size_t slot = fila + static_cast<std::size_t>(cab.indexados) + 1;
        if (slot < fila + anchura_) {
            linea(jugadas_ + slot);
            linea(movA_ + slot);
            linea(movB_ + slot);
        }
        memoria(ix.deCelda.data() + c);
        // The partner met next: the one after the last met, or, past the last one, a partner met
        // for the first time or the first one again.
        const std::size_t k = static_cast<std::size_t>(cab.siguiente);
        const IndiceRegistros::Memoria* bloque = ix.conSocio.data() + c * ix.bloque;
        if (k < ix.bloque) memoria(bloque + k);
        if (k == static_cast<std::size_t>(cab.numSocios) && k > 0) memoria(bloque);
    }

    const IndiceRegistros* ix_;
    const std::array<FichaMitad, 2>* celdas_;
    const std::int32_t* jugadas_;
    const std::uint8_t* movA_;
    const std::uint8_t* movB_;
    std::size_t anchura_;
};

// The results-table row of an encounter seen from one of its two players.
FilaResultado filaResultado(const EncounterValues& v, int cell);

}  // namespace morvane
