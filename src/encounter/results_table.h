#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// The results table of one cell as plain data: the window writes the cell's number on its colours
// into cell (0, 0) and row k + 1 from rows[k - 1], rounding the values to 2 decimals. Its
// header "Disp" shows the outputs f, "Mov" the dispositions.
struct CellResults {
    std::int16_t cell = 0;
    std::array<std::uint8_t, 6> colours{};  // the cell's snapshot colours
    std::vector<ResultRow> rows;
};

// Replays every encounter the cell recorded this generation (copia 0: snapshot genomes and
// committed settings) and returns its rows. The world does not change; replayRng serves the
// ad-hoc random outputs of the replays only.
CellResults MostrarPartidas(const World& w, const GenerationReport& rep, int cell, Rng& replayRng);

// Headers of the first-index switch: results cells (1, 1) and (1, 5), shown in italics while the
// pending switch differs from the committed one, and the matching caption and column header of
// the details window.
struct IndexHeaders {
    std::string ciR, ciP;
    bool italic = false;
    std::string averageCaption;  // lblMediaIc
    std::string detailsHeader;   // fxgDetalles, column 6
};
IndexHeaders indexHeaders(const World& w);
// Toggles the pending switch CiEsExitoMenu and returns the new headers.
IndexHeaders CambiarIndice(World& w);

// The tooltip of a disposition cell: how the argument x of that side's behaviour function came
// about. `rival` picks column 7 (the rival's side) instead of column 3.
std::string TextoFormula(const ResultRow& row, bool rival);

}  // namespace morvane
