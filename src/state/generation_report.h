#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "state/encounter_rows.h"
#include "state/world.h"
#include "strategy/genome.h"
#include "world/neighbourhood_settings.h"

namespace morvane {

// What the transition search of the last generation looked at, per cell: the positions it was
// allowed to search, the positions whose cell it actually weighed (a cell seen again at a later
// position, a blank square or nobody is not weighed), and the cell it found at each position.
// Kept so the transitions view explains what the rule did even after the table changes.
struct TransitionTrace {
    std::int32_t mask = 0;
    std::int32_t weighed = 0;
    std::array<std::int16_t, kNumPositions> found{};
};

// One mutation as the mutations view shows it: the generation it happened in, the genome just
// before the change, the colours just after it, and the view rows of the fields the mutation
// redrew (bit r = row r).
struct MutationRecord {
    std::int32_t generation = 0;
    std::int16_t cell = 0;
    std::uint8_t parte = 0;
    Genoma before;
    std::array<std::uint8_t, 6> coloursAfter{};
    std::uint32_t changedRows = 0;
};

// What the last transition read and chose, as it read it: the transitions view explains it with
// these even after the user changes the rule, the threshold or the table. No parents: no
// transition since the report was cleared.
struct TransitionRecord {
    bool ran() const { return !parents.empty(); }

    std::int32_t generation = 0;
    std::uint8_t rule = 0;
    float reproduceThreshold = 0;
    std::vector<std::array<std::int16_t, 2>> parents;  // [cell]: Padres as the rule chose them
};

// Where the record of `cell` at `slot` lies in a report's record arrays of `cellCount` cells: slot
// by slot, so slot 0 (the counts) is [cell]. GenerationReport::slotIndex and the loops that write
// through the arrays' own pointers all place records by it.
inline std::size_t recordPlace(std::size_t cellCount, int cell, int slot) {
    return static_cast<std::size_t>(slot) * cellCount + static_cast<std::size_t>(cell);
}

// What one generation leaves for the views, the statistics and the replays of its encounters: the
// move records (`slotsPerCell` = MovPosibles + 1 slots for each of `cellCount` cells), the pay-offs
// and cooperation collected, the transition's draws, cut points and traces, the mutations, and the
// selected cell's results rows. Cleared at the start of every generation, and on "Start", "Open"
// and "New", so that old cell numbers never index a new world.
struct GenerationReport {
    std::size_t slotsPerCell = 1;
    std::size_t cellCount = 1;  // cells, 0 among them
    // [slot * cellCount + cell]; slot 0 the count. Slot by slot rather than cell by cell: the cells
    // of a round hold about as many records each, so the records a round writes lie together, a
    // few pages for the whole round, and the counts side by side, rather than a row apart for
    // every cell (on a large world, a new page every few cells).
    std::vector<std::int32_t> Jugadas;
    std::vector<std::uint8_t> MovA, MovB;            // same shape as Jugadas
    std::vector<float> PagoTotal, CoopTotal;         // [cell]
    std::vector<std::array<float, 2>> TiradaRuleta;  // [cell][draw]
    std::array<float, 2> SumaCoop{};                 // the chart's sums, by role
    std::array<std::int32_t, 2> CuentaCoop{};
    std::vector<std::int16_t> PuntoCorte;  // [cell]: the cut of the last copy, -1 imitation

    // Rows written live as the selected cell plays: selectedRows[k - 1] is its k-th encounter.
    std::int16_t selectedRowsCell = 0;
    std::vector<ResultRow> selectedRows;

    // Per-role sums and counts of the cooperation outputs of every committed encounter, without
    // the chart's cut-off, for statistics of long runs.
    std::array<double, 2> statCoopSum{};
    std::array<std::int64_t, 2> statCoopCount{};
    // Scores of the cells that played as ordinary bugs, after the sum mode, before the transition.
    std::int32_t scoredCells = 0;
    double scoreSum = 0;

    std::vector<TransitionTrace> transitionTrace;  // [cell]
    TransitionRecord transition;
    // Every mutation of the generation while the mutations view is ticked, in cell order.
    std::vector<MutationRecord> mutationRecords;

    // Seconds since midnight before and after the last generation the run button's timer played.
    double TiempoInicio = 0, TiempoFin = 0;

    // ---- the one place that knows how the move records are laid out
    std::size_t slotIndex(int cell, int slot) const { return recordPlace(cellCount, cell, slot); }
    std::int32_t& jugadas(int cell, int slot) { return Jugadas[slotIndex(cell, slot)]; }
    std::int32_t jugadas(int cell, int slot) const { return Jugadas[slotIndex(cell, slot)]; }
    std::uint8_t& movA(int cell, int slot) { return MovA[slotIndex(cell, slot)]; }
    std::uint8_t movA(int cell, int slot) const { return MovA[slotIndex(cell, slot)]; }
    std::uint8_t& movB(int cell, int slot) { return MovB[slotIndex(cell, slot)]; }
    std::uint8_t movB(int cell, int slot) const { return MovB[slotIndex(cell, slot)]; }
};

// Re-create the per-generation accumulators and move records for the world's cells and
// MovPosibles, all zero, and clear the selected cell's rows and the cooperation statistics. The
// transition's results are rewritten by the transition itself; the mutation records only while the
// mutations view is ticked.
void NuevaGeneracionAcumuladores(const World& w, GenerationReport& r);

// Everything a generation left, cleared for the world as it stands: on "Start", "Open" and "New".
void clearReport(const World& w, GenerationReport& r);

// Whether the report belongs to the world as it stands: records for its cells and genome copies
// to replay them on. A report keeps its own layout, so a change of MovPosibles between generations
// leaves the last generation readable.
bool recordsReadable(const World& w, const GenerationReport& r);

}  // namespace morvane
