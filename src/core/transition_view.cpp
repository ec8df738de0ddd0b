#include "core/transition_view.h"

#include <algorithm>
#include <vector>

#include "base/shown_number.h"
#include "core/transition.h"

namespace morvane {

const std::array<std::string_view, kNumTransitionColumns>& transitionColumnHeaders() {
    static const std::array<std::string_view, kNumTransitionColumns> headers = {
        "Jugador",          "Puntos",     "Total lotería", "Total estrategia / media",
        "Strategy members", "Replicator", "Best Strat.",   "MaxiMax",
        "MaxiMin",          "Concesion",
    };
    return headers;
}

namespace {

constexpr const char* kFatherCaption = "0 = padre";
constexpr const char* kMotherCaption = "1 = madre";

std::string score(const GenerationReport& rep, int cell) {
    return shownNumber(rep.PagoTotal[cell], 3);
}

// What the last rule looked at for the cell; a cell no rule has searched yet (before the first
// generation, or a blank square) searched nothing and shows the neighbours the table holds now.
TransitionTrace traceOf(const World& w, const GenerationReport& rep, int cell) {
    TransitionTrace t;
    if (static_cast<std::size_t>(cell) < rep.transitionTrace.size()) t = rep.transitionTrace[cell];
    if (t.mask == 0 && t.weighed == 0)
        for (int j = 0; j < kNumPositions; ++j) t.found[j] = w.vecino(cell, j);
    return t;
}

// The cells the rule weighed, the cell itself first, in position order.
std::vector<int> weighedCells(const TransitionTrace& trace, int cell) {
    std::vector<int> cells{cell};
    for (int j = 0; j < kNumPositions; ++j)
        if (trace.weighed & (1 << j)) cells.push_back(trace.found[j]);
    return cells;
}

// Marks every row showing `cell` in `column`.
void markRows(TransitionExplanation& e, int column, int cell, const std::string& text) {
    for (auto& row : e.rows)
        if (row.cell == cell) row.text[column] = text;
}

// Ranks candidates by key the way the rules do: strictly greater wins, so the earlier candidate
// keeps a tie. The group rules start both bests at 0; Maxi Max's explanation takes the two highest
// whatever their sign.
struct Ranking {
    explicit Ranking(bool fromZero) : hasFirst(fromZero), hasSecond(fromZero) {}
    void offer(int candidate, float key) {
        if (!hasFirst || key > best0) {
            second = first, best1 = best0, hasSecond = hasFirst;
            first = candidate, best0 = key, hasFirst = true;
        } else if (!hasSecond || key > best1) {
            second = candidate, best1 = key, hasSecond = true;
        }
    }
    int first = 0, second = 0;  // 0: no cell
    float best0 = 0, best1 = 0;
    bool hasFirst, hasSecond;
};

void markRanking(TransitionExplanation& e, int column, const Ranking& r) {
    if (r.second != 0) markRows(e, column, r.second, kMotherCaption);
    if (r.first != 0) markRows(e, column, r.first, kFatherCaption);
}

// The parents the rule chose for the cell, as recorded; none when no rule has run.
std::array<std::int16_t, 2> recordedParents(const GenerationReport& rep, int cell) {
    const auto& parents = rep.transition.parents;
    if (static_cast<std::size_t>(cell) >= parents.size()) return {0, 0};
    return parents[static_cast<std::size_t>(cell)];
}

// Under the rule in force its column shows the parents the rule chose: Maxi Max carries its
// runner-up from one cell to the next, which no recomputation from the rows can see.
void markRecordedParents(TransitionExplanation& e, int column, const GenerationReport& rep,
                         int cell) {
    const auto parents = recordedParents(rep, cell);
    if (parents[1] > 0) markRows(e, column, parents[1], kMotherCaption);
    if (parents[0] > 0) markRows(e, column, parents[0], kFatherCaption);
}

int columnOfRule(int rule) {
    switch (rule) {
        case 1:
            return kColMaxiMax;
        case 2:
            return kColReplicator;
        case 4:
            return kColMaxiMin;
        default:
            return kColBestStrategy;
    }
}

void explainMaxiMax(const GenerationReport& rep, TransitionExplanation& e,
                    const std::vector<int>& cells) {
    Ranking r(false);
    for (int c : cells)
        if (rep.PagoTotal[c] >= rep.transition.reproduceThreshold) r.offer(c, rep.PagoTotal[c]);
    markRanking(e, kColMaxiMax, r);
}

void explainReplicator(const GenerationReport& rep, TransitionExplanation& e, int cell) {
    if (rep.transition.rule != 2) return;
    const auto parents = recordedParents(rep, cell);
    for (int p = 1; p >= 0; --p) {
        const int parent = parents[static_cast<std::size_t>(p)];
        const std::string text =
            std::to_string(p) + " = " + shownNumber(rep.TiradaRuleta[cell][p], 3);
        for (auto& row : e.rows) {
            if (row.cell != parent) continue;
            auto& t = row.text[kColReplicator];
            t = t.empty() ? text : text + "; " + t;
            break;
        }
    }
}

struct Group {
    std::vector<int> members;
    float sum, min;
};

std::vector<Group> groupCells(const World& w, const GenerationReport& rep,
                              const std::vector<int>& cells) {
    std::vector<Group> groups;
    for (int c : cells) {
        const float p = rep.PagoTotal[c];
        bool placed = false;
        for (auto& g : groups) {
            if (MismoGenoma(w, c, g.members.front(), kPrevio) != 0) continue;
            g.members.push_back(c);
            g.sum += p;
            g.min = std::min(g.min, p);
            placed = true;
            break;
        }
        if (!placed) groups.push_back({{c}, p, p});
    }
    return groups;
}

void explainGroups(const World& w, const GenerationReport& rep, TransitionExplanation& e,
                   const std::vector<int>& cells) {
    Ranking byAverage(true), byMinimum(true);
    for (const auto& g : groupCells(w, rep, cells)) {
        const auto count = static_cast<float>(g.members.size());
        const float average = g.sum / count;
        std::string members;
        for (int c : g.members) members += (members.empty() ? "" : " ") + std::to_string(c);
        const std::string total = shownNumber(g.sum, 3) + " / " + std::to_string(g.members.size()) +
                                  " = " + shownNumber(average, 3);
        for (int c : g.members) {
            markRows(e, kColStrategyTotal, c, total);
            markRows(e, kColMembers, c, members);
        }
        if (!(average >= rep.transition.reproduceThreshold)) continue;
        byAverage.offer(g.members.front(), average);
        byMinimum.offer(g.members.front(), g.min);
    }
    markRanking(e, kColBestStrategy, byAverage);
    markRanking(e, kColMaxiMin, byMinimum);
}

}  // namespace

TransitionExplanation explainTransition(const World& w, const GenerationReport& rep, int cell) {
    TransitionExplanation e;
    e.cell = cell;
    e.cutText = "Punto de corte: " + std::to_string(rep.PuntoCorte[cell]);
    // A cell that kept itself (or is a blank square) copied nothing: its number is the draw of
    // the snapshot, not of a copy.
    const auto parents = recordedParents(rep, cell);
    if (rep.transition.ran() && (parents[0] == cell || parents[0] < 0)) e.cutText += " (no copy)";
    const TransitionTrace trace = traceOf(w, rep, cell);

    auto& own = e.rows[0];
    own.cell = cell;
    own.text[kColCell] = std::to_string(cell);
    own.text[kColPoints] = own.text[kColLotteryTotal] = score(rep, cell);
    for (int j = 0; j < kNumPositions; ++j) {
        auto& row = e.rows[j + 1];
        row.cell = trace.found[j];
        row.qualifies = (trace.mask & (1 << j)) != 0;
        row.text[kColCell] = row.cell == kNoPartner ? "" : std::to_string(row.cell);
        if (row.qualifies && row.cell != kNoPartner)
            row.text[kColPoints] = row.text[kColLotteryTotal] = score(rep, row.cell);
        e.positionBoxes[j] = e.positionBoxes[j + kNumPositions] = row.qualifies;
    }

    const std::vector<int> cells = weighedCells(trace, cell);
    explainMaxiMax(rep, e, cells);
    explainReplicator(rep, e, cell);
    explainGroups(w, rep, e, cells);
    if (rep.transition.ran() && rep.transition.rule != 2) {
        const int column = columnOfRule(rep.transition.rule);
        for (auto& row : e.rows) row.text[column].clear();
        markRecordedParents(e, column, rep, cell);
    }
    return e;
}

}  // namespace morvane
