#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "strategy/genome.h"

namespace morvane {

// Genome copies: Previo is the snapshot taken before each transition (parents are read from it),
// Actual the live genome. Two-copy settings use the same numbers: 0 committed, 1 live.
constexpr int kPrevio = 0;
constexpr int kActual = 1;

// Largest world: the move record keeps the partner's cell number in 12 bits.
constexpr int kMaxCells = 4095;
// A neighbour-table entry that names nobody: a cell that would only meet itself (a one-cell world,
// or a fixed position that wraps onto the cell on a world under 3 rows or columns) gets this
// instead of its own number; the scheduler and the transition search skip it.
constexpr std::int16_t kNoPartner = -1;

constexpr int kNumPositions = 24;
constexpr int kNumListSlots = 22;
constexpr int kNumLimits = 31;

// ---------------------------------------------------------------- strategies
// Longest strategy name, in characters: a name is one line of a scenario file, and a file of
// unbounded lines would be read into unbounded memory.
constexpr std::size_t kMaxStrategyNameLength = 255;

struct StrategySlot {
    ListGenoma genoma;
    std::string nombre;        // empty = empty slot
    std::int16_t Reparto = 0;  // bits 0..9 portion in tenths of a percent, bit 10 active
};

// Limits of the random draws, per parameter k = 0..30 and part 0/1: [k][part] = {Min, Max}.
struct Rangos {
    std::array<std::array<std::array<std::int32_t, 2>, 2>, kNumLimits> limites{};
    // The widest range the limits window allows; set at program start, never changed.
    std::array<std::array<std::array<std::int32_t, 2>, 2>, kNumLimits> cotas{};
};

// ---------------------------------------------------------------- games
// Per-role arrays are indexed by role 1 and 2 (index 0 unused); two-copy arrays by [copia][role].
struct PayoffMatrix {
    std::array<float, 3> T{}, R{}, P{}, S{};
    std::int16_t GameIndex = 1;

    // Derived by UpdatePayoffMatrix, never edited directly.
    std::array<float, 3> PayoffMax{}, PayoffMin{};
    std::array<std::array<std::int16_t, 3>, 2> AbsoluteMove{}, OtherMove{};
    std::array<std::array<float, 3>, 2> EquilibriumAbsProb{};
    std::array<std::array<float, 3>, 2> PayoffCoefConst{}, PayoffCoefOwn{}, PayoffCoefOther{},
        PayoffCoefXY{};
    std::array<std::string, 3> MoveLabelAbs, MoveLabelOther;
};

// The eight pay-offs in the order of the window's boxes: T1, T2, R1, R2, P1, P2, S1, S2.
using PayoffCopy = std::array<float, 8>;

// ---------------------------------------------------------------- neighbourhood
struct Neighbourhood {
    std::array<std::uint8_t, 2> CodVecin{2, 2};                      // [copia]
    std::array<std::int32_t, 2> MascaraVecinos{16777215, 16777215};  // [copia]
    std::uint8_t Repes = 24;
    // Vecinos[cell][j]: the neighbour of cell at position j (cells 1..N; row 0 unused).
    std::vector<std::array<std::int16_t, kNumPositions>> Vecinos;
};

// ---------------------------------------------------------------- run options
// Menu ticks are data of their own: decoding a saved view word may tick several rules at once,
// and a save writes the ticks back as they are.
struct RunOptions {
    std::array<std::int16_t, 2> Opciones{1, 1};  // [copia]: bit k = item k ticked
    std::array<bool, 10> mnuOpcion{true,  false, false, false, false,
                                   false, false, false, false, false};
    std::array<bool, 4> mnuRegla{false, true, false, false};
    std::uint8_t Regla = 2;  // 1 Maxi Max, 2 Replicator Dynamics, 3 Best Strategy, 4 Maxi Min
    std::array<bool, 3> mnuSuma{false, true, false};
    std::uint8_t ModoSuma = 2;  // 1 Total, 2 / moves played, 3 / potential moves
    bool mnuVerMutaciones = false;
    bool mnuSoloSelec = false;
    std::array<bool, 3> chkSen{true, true, true};  // "Ci Sen", "Ei Sen", "Si Sen"

    // Committed at every start or step.
    std::uint8_t SenMask = 7;
    std::uint8_t CiEsExito = 0;
    std::uint8_t CiEsExitoMenu = 0;  // pending value the results table toggles
    bool MismosVecinos = false;
    bool SucesivasActivo = false;

    // Window-only settings; a headless run keeps the values the window starts with.
    int hsbAdHoc = 0;
    bool chkPartirTarta = false;
};

// ---------------------------------------------------------------- the world
struct World {
    // Dimensions and counters.
    std::int16_t NumColumnas = 25;
    std::int16_t NumFilas = 40;
    std::int16_t NumJugadores = 0;
    std::int32_t Generacion = 0;
    std::uint8_t Iteraciones = 4;               // the rounds box (1..10), read live
    std::uint8_t IteracionesComprometidas = 4;  // committed together with MovPosibles
    std::uint8_t Iteracion = 0;
    std::uint8_t MovPosibles = 0;
    std::int16_t CasillaSel = 5;
    double TiempoInicio = 0, TiempoFin = 0;

    // Genome store: genomas[copia][cell], cells 0..NumJugadores (cell 0 a pseudo-cell).
    std::array<std::vector<Genoma>, 2> genomas;

    // Per-generation accumulators.
    std::vector<float> PagoTotal, CoopTotal;         // [cell]
    std::vector<std::int32_t> Jugadas;               // [cell * (MovPosibles + 1) + slot]
    std::vector<std::uint8_t> MovA, MovB;            // same shape as Jugadas
    std::vector<std::uint8_t> MuertoHoy;             // [cell]
    std::vector<std::array<float, 2>> TiradaRuleta;  // [cell][draw]
    std::array<float, 2> SumaCoop{};
    std::array<std::int32_t, 2> CuentaCoop{};

    // Results of the transition step, kept between generations.
    std::vector<std::array<std::int16_t, 2>> Padres;  // [cell][0..1]
    std::vector<std::int16_t> PuntoCorte;             // [cell]

    // Cooperation history: HistoriaCoop[s][role], s = 1..100.
    std::int16_t PasoCoop = 10;
    std::array<std::array<float, 2>, 101> HistoriaCoop{};

    // Thresholds and mutation.
    float UmbralHoy = 0, UmbralSupervivencia = 0, UmbralReproduccion = 0;
    float FrecMutacion = 0.005f;

    // The view word as last read from or written to a scenario.
    float Vista = 48770.3984375f;

    RunOptions opciones;
    Neighbourhood vecindad;
    PayoffMatrix pagos;
    PayoffCopy pagosRestaurar{};  // taken when the pay-offs window opens; "Restore" returns to it
    std::array<StrategySlot, kNumListSlots> estrategias;
    Rangos rangos;

    // ---- data the encounter engine keeps for views and statistics (encounter/)
    // One player's side of an encounter: what it decided and everything its behaviour function was
    // given, so that the results table and its tooltip only format values the engine used.
    struct LadoPartida {
        std::int16_t celda = 0;
        std::uint8_t mitad = 0;  // genome half that decided (0 or 1)
        float Ci = 0, Ei = 0;    // what this player saw in its rival
        // Valuations and weights of Ci, Ei, Si as the input x used them: valuations / 100 (1 under
        // the ad-hoc switch), weights by SenMask (0 for an index left out).
        std::array<float, 3> val{}, peso{};
        float x = 0;          // the argument of the behaviour function
        bool xAdHoc = false;  // x was replaced by the rival's valuation (ad-hoc switch)
        float f = 0, disp = 0;
        bool disparo = false;  // the trigger answered
        std::array<std::uint8_t, 6> colores{};
    };
    // One row of the results table, seen from the selected cell.
    struct FilaResultado {
        std::int16_t slot = 0;  // the selected cell's record number; the table row is slot + 1
        float Si = 0;
        std::uint8_t SenMask = 7;
        LadoPartida propio, rival;
    };
    // Rows written live as CasillaSel plays: FilasSel[k - 1] is its k-th encounter.
    std::int16_t FilasSelCelda = 0;
    std::vector<FilaResultado> FilasSel;
    // Per-role sums and counts of the cooperation outputs of every committed encounter, without the
    // chart's cut-off, for statistics of long runs.
    std::array<double, 2> statCoopSum{};
    std::array<std::int64_t, 2> statCoopCount{};
    // What the history searches and trigger look-ups read of the generation's move records, kept
    // in step with the records as the encounters commit them and cleared with the accumulators:
    // per cell, and per cell and partner met, the newest records and the sums of all of them, so
    // that a search reads one or two adjacent lines instead of the record list.
    struct IndiceRegistros {
        // The records of one sequence (all of a cell's, or those with one partner). A search
        // counts at most 15 records newest first, or else all of them. Three rings (those of each
        // role, and every record) hold the running sums of MovA (low half) and MovB (high half)
        // after the k-th record at k mod 16: the newest m <= 15 records sum to the difference of
        // two entries, and all of them to the newest entry. Each ring fills one cache line.
        struct alignas(64) Memoria {
            // [0] records in role 0, [1] in role 1, [2] every record: ring r - 1 serves the role
            // mask r of a search.
            std::array<std::array<std::uint32_t, 16>, 3> anillos{};
            // Indexed like the rings: [0] role 0, [1] role 1, [2] every record. A count of 0
            // goes with a "fired" of 0.
            std::array<std::uint8_t, 3> cuenta{};   // records
            std::array<std::uint8_t, 3> disparo{};  // the newest record fired
            std::uint8_t rolUltimo = 0;             // the newest record's role
            std::int16_t duena = 0, socio = 0;      // whose records, with whom (0: anybody)
        };
        struct Cabecera {
            std::int16_t indexados = 0;    // slots 1..indexados are indexed
            std::int16_t numSocios = 0;    // distinct partners met
            std::int16_t siguiente = 0;    // the partner entry expected next
            std::int16_t ultimoSocio = 0;  // the newest record's partner
            std::uint64_t vistos = 0;      // bit p mod 64 set for every partner p met
        };
        std::size_t anchura = 0;  // MovPosibles + 1 when sized
        std::size_t bloque = 0;   // partner memories set aside per cell: the neighbourhood's count
        std::vector<Cabecera> cabeceras;   // [cell]
        std::vector<Memoria> deCelda;      // [cell]
        std::vector<std::int16_t> socios;  // [cell][k]: the k-th partner met, k < MovPosibles
        // [cell][k] for the first `bloque` partners of each cell, then those of cells that met
        // more, in order of first meeting.
        std::vector<Memoria> conSocio;
    };
    IndiceRegistros indiceRegistros;
    // Off: the searches scan the records one by one and no index is kept (the reference the
    // index is measured and checked against).
    bool usarIndiceRegistros = true;
    // (encounter block: end)

    // ---- data the generation cycle keeps for views and statistics (core/)
    // What the transition search of the last generation looked at, per cell: the positions it was
    // allowed to search, the positions whose cell it actually weighed (a cell seen again at a later
    // position, a blank square or nobody is not weighed), and the cell it found at each position.
    // Kept so the transitions view explains what the rule did even after the table changes.
    struct TransitionTrace {
        std::int32_t mascara = 0;
        std::int32_t visitados = 0;
        std::array<std::int16_t, kNumPositions> vecinos{};
    };
    std::vector<TransitionTrace> transitionTrace;  // [cell]

    // One mutation as the mutations view shows it: the genome just before the change, the colours
    // just after it, and the view rows of the fields the mutation redrew (bit r = row r).
    struct MutationRecord {
        std::int16_t cell = 0;
        std::uint8_t parte = 0;
        Genoma antes;
        std::array<std::uint8_t, 6> coloresDespues{};
        std::uint32_t filasCambiadas = 0;
    };
    // The view holds this many columns; later mutations of the generation go unrecorded.
    static constexpr int kMaxMutationRecords = 51;
    std::vector<MutationRecord> mutationRecords;  // this generation's

    // Scores of the cells that played as ordinary bugs, after the sum mode, before the transition.
    std::int32_t scoredCells = 0;
    double scoreSum = 0;
    // (generation block: end)

    // ---- accessors: the one place that knows how per-cell arrays are laid out
    Genoma& genoma(int copia, int cell) { return genomas[copia][cell]; }
    const Genoma& genoma(int copia, int cell) const { return genomas[copia][cell]; }
    std::size_t slotIndex(int cell, int slot) const {
        return static_cast<std::size_t>(cell) * (MovPosibles + 1u) + static_cast<std::size_t>(slot);
    }
    std::int32_t& jugadas(int cell, int slot) { return Jugadas[slotIndex(cell, slot)]; }
    std::int32_t jugadas(int cell, int slot) const { return Jugadas[slotIndex(cell, slot)]; }
    std::uint8_t& movA(int cell, int slot) { return MovA[slotIndex(cell, slot)]; }
    std::uint8_t movA(int cell, int slot) const { return MovA[slotIndex(cell, slot)]; }
    std::uint8_t& movB(int cell, int slot) { return MovB[slotIndex(cell, slot)]; }
    std::uint8_t movB(int cell, int slot) const { return MovB[slotIndex(cell, slot)]; }
    std::int16_t& vecino(int cell, int j) { return vecindad.Vecinos[cell][j]; }
    std::int16_t vecino(int cell, int j) const { return vecindad.Vecinos[cell][j]; }
    int cellAt(int row, int column) const { return NumColumnas * row + column + 1; }
};

// Re-create the genome store (all zero) for NumColumnas x NumFilas cells, the per-generation
// accumulators, the transition results and the neighbour table. Sets NumJugadores.
void CrearMundo(World& w);

// Re-create PagoTotal, CoopTotal, Jugadas, MovA, MovB, MuertoHoy, TiradaRuleta (all zero) for the
// current MovPosibles and zero the chart sums.
void NuevaGeneracionAcumuladores(World& w);

// Re-create Padres and PuntoCorte, as "New" and the world window's load do.
void ReiniciarTransicion(World& w);

// Both copies of cell 0 become the dead-square genome.
void PrepararCeldaCero(World& w);

// The smaller of 5 and the number of cells (at least 1 once a world exists).
std::int16_t casillaSelInicial(const World& w);

// Menu handlers of the world window, as data.
void clickOpcion(World& w, int k);  // toggles item k; option [7] also moves CodVecin(1) by 32
void clickRegla(World& w, int k);   // k = 0..3
void clickSuma(World& w, int k);    // k = 0..2
void recomputeOpciones(World& w);   // Opciones(1) from the ten check marks

}  // namespace morvane
