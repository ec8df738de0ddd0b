#pragma once

#include <array>
#include <string>
#include <string_view>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

// Columns of the transitions view.
enum TransitionColumn {
    kColCell = 0,
    kColPoints = 1,
    kColLotteryTotal = 2,
    kColStrategyTotal = 3,
    kColMembers = 4,
    kColReplicator = 5,
    kColBestStrategy = 6,
    kColMaxiMax = 7,
    kColMaxiMin = 8,
    kColConcession = 9,
    kNumTransitionColumns = 10,
};

const std::array<std::string_view, kNumTransitionColumns>& transitionColumnHeaders();

struct TransitionRow {
    int cell = kNoPartner;   // the cell in column 0: the cell itself, or its neighbour there
    bool qualifies = false;  // a position the rule searched: bold, both pictures ticked
    std::array<std::string, kNumTransitionColumns> text;
};

// What the transitions view shows for one cell: rows[0] is the cell itself, rows[j + 1] the
// neighbour at position j; boxes 0..23 and 24..47 are the two pictures of the positions.
struct TransitionExplanation {
    int cell = 0;
    std::string cutText;  // "Punto de corte: " and the cut point
    std::array<TransitionRow, kNumPositions + 1> rows;
    std::array<bool, 2 * kNumPositions> positionBoxes{};
};

// Explains the last transition of `cell` from what the rule left in the report: its trace (the
// mask it searched and the cells it weighed), the scores, TiradaRuleta, PuntoCorte and the
// transition record (the rule, the reproduction threshold and the parents it chose), so a change of
// those settings after the generation does not change the explanation. The column of the rule that
// ran marks the recorded parents; the other rules' columns are recomputed from the cells the rule
// weighed, with the recorded threshold. A cell that kept itself says "(no copy)" after its cut.
TransitionExplanation explainTransition(const World& w, const GenerationReport& rep, int cell);

}  // namespace morvane
