#include "state/generation_report.h"

namespace morvane {

void NuevaGeneracionAcumuladores(const World& w, GenerationReport& r) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    r.slotsPerCell = w.MovPosibles + 1u;
    r.cellCount = cells;
    const std::size_t records = cells * r.slotsPerCell;
    r.PagoTotal.assign(cells, 0.0f);
    r.CoopTotal.assign(cells, 0.0f);
    r.TiradaRuleta.assign(cells, {0.0f, 0.0f});
    r.Jugadas.assign(records, 0);
    r.MovA.assign(records, 0);
    r.MovB.assign(records, 0);
    r.SumaCoop = {0.0f, 0.0f};
    r.CuentaCoop = {0, 0};
    r.selectedRows.clear();
    r.selectedRowsCell = 0;
    r.statCoopSum = {0.0, 0.0};
    r.statCoopCount = {0, 0};
}

void clearReport(const World& w, GenerationReport& r) {
    NuevaGeneracionAcumuladores(w, r);
    r.PuntoCorte.assign(static_cast<std::size_t>(w.NumJugadores) + 1, 0);
    r.scoredCells = 0;
    r.scoreSum = 0;
    r.transitionTrace.clear();
    r.transition = {};
    r.mutationRecords.clear();
    r.TiempoInicio = r.TiempoFin = 0;
}

bool recordsReadable(const World& w, const GenerationReport& r) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    const std::size_t size = cells * r.slotsPerCell;
    return r.cellCount == cells && r.Jugadas.size() == size && r.MovA.size() == size &&
           r.MovB.size() == size && r.PagoTotal.size() == cells &&
           w.genomes[kPrevio].size() == cells && w.genomes[kActual].size() == cells;
}

}  // namespace morvane
