#include "encounter/results_table.h"

#include <algorithm>

#include "base/shown_number.h"
#include "encounter/encounter.h"
#include "encounter/history.h"

namespace morvane {

CellResults MostrarPartidas(const World& w, const GenerationReport& rep, int cell, Rng& replayRng) {
    CellResults t;
    if (!validCell(w, cell) || !recordsReadable(w, rep)) return t;
    t.cell = static_cast<std::int16_t>(cell);
    t.colours = w.genoma(kPrevio, cell).Colores;
    const int n = std::min<int>(rep.jugadas(cell, 0), static_cast<int>(rep.slotsPerCell) - 1);
    for (int k = 1; k <= n; ++k) {
        const std::int32_t r = rep.jugadas(cell, k);
        const int partner = moveRecord::partner(r), slot = moveRecord::partnerSlot(r);
        if (!validSlot(w, rep, partner, slot)) break;
        EncounterValues v;
        if (moveRecord::role(r) == 0)
            replayEncounter(w, rep, cell, partner, k - 1, slot - 1, replayRng, v);
        else
            replayEncounter(w, rep, partner, cell, slot - 1, k - 1, replayRng, v);
        t.rows.push_back(resultRow(v, cell));
    }
    return t;
}

IndexHeaders indexHeaders(const World& w) {
    const bool success = w.options.CiEsExitoMenu != 0;
    IndexHeaders c;
    c.ciR = success ? "Sc R" : "Ci R";
    c.ciP = success ? "Sc P" : "Ci P";
    c.italic = w.options.CiEsExitoMenu != w.options.CiEsExito;
    c.averageCaption = success ? "Average Success R" : "Average Coop R";
    c.detailsHeader = success ? "Success R" : "Coop R";
    return c;
}

IndexHeaders CambiarIndice(World& w) {
    w.options.CiEsExitoMenu = w.options.CiEsExitoMenu == 0 ? 1 : 0;
    return indexHeaders(w);
}

std::string TextoFormula(const ResultRow& row, bool rival) {
    const EncounterSide& side = rival ? row.rival : row.own;
    const int mask = row.SenMask & 7;
    const std::string x = " -> x = " + shownNumber(side.x, 2);
    if (mask == 0) return "Cte. -> x = 1";
    const std::array<float, 3> idx = {side.Ci, side.Ei, row.Si};
    const auto term = [&](int i) {
        return shownNumber(idx[i], 2) + " - (1 - " + shownNumber(side.val[i], 2) + ")| * ";
    };
    std::string text = "Function " + std::to_string(side.half) + " -> |";
    if (mask == 1 || mask == 2 || mask == 4) {
        const int i = mask == 1 ? 0 : mask == 2 ? 1 : 2;
        return text + term(i) + "1 " + x;
    }
    bool first = true;
    for (int i = 0; i < 3; ++i) {
        if ((mask >> i & 1) == 0) continue;
        if (!first) text += " + |";
        text += term(i) + shownNumber(side.weights[i], 2);
        first = false;
    }
    return text + x;
}

}  // namespace morvane
