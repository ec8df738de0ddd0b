#include "state/statistics.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

namespace morvane {

namespace {

// The fields two genomes must share to be the same strategy: both parts and the imitation mask.
struct StrategyKey {
    const Genoma* g;
    bool operator==(const StrategyKey& o) const { return sameStrategy(*g, *o.g); }
};

struct StrategyKeyHash {
    std::size_t operator()(const StrategyKey& k) const {
        std::uint64_t h = 1469598103934665603ULL;  // FNV-1a over the compared fields
        auto mix = [&h](std::int64_t v) {
            h ^= static_cast<std::uint64_t>(v);
            h *= 1099511628211ULL;
        };
        for (const auto& p : k.g->parte) {
            for (std::int64_t v :
                 {std::int64_t{p.Busqueda}, std::int64_t{p.Y0}, std::int64_t{p.X1},
                  std::int64_t{p.Y1}, std::int64_t{p.X2}, std::int64_t{p.Y2}, std::int64_t{p.Y3},
                  std::int64_t{p.SenIC}, std::int64_t{p.SenIA}, std::int64_t{p.SenIP},
                  std::int64_t{p.ValIC}, std::int64_t{p.ValIA}, std::int64_t{p.ValIP},
                  std::int64_t{p.Incertidumbre}, std::int64_t{p.Irregular},
                  std::int64_t{p.TriggerMin}, std::int64_t{p.TriggerMax}, std::int64_t{p.Trigger}})
                mix(v);
        }
        mix(k.g->VecinosImitacion);
        return static_cast<std::size_t>(h);
    }
};

std::optional<double> mean(double sum, std::int64_t count) {
    if (count <= 0) return std::nullopt;
    return sum / static_cast<double>(count);
}

}  // namespace

std::vector<int> countedSlots(const World& w) {
    std::vector<int> slots;
    for (int s = 2; s <= 20; ++s)
        if (!w.ListaEstrategias[s].name.empty()) slots.push_back(s);
    return slots;
}

GenerationStatistics collectStatistics(const World& w, const GenerationReport& rep,
                                       const std::vector<int>& slots) {
    GenerationStatistics st;
    st.generation = w.Generacion;
    st.coopRole1 = mean(rep.statCoopSum[0], rep.statCoopCount[0]);
    st.coopRole2 = mean(rep.statCoopSum[1], rep.statCoopCount[1]);
    st.coop =
        mean(rep.statCoopSum[0] + rep.statCoopSum[1], rep.statCoopCount[0] + rep.statCoopCount[1]);
    st.meanScore = mean(rep.scoreSum, rep.scoredCells);

    std::vector<Genoma> slotGenomes;
    slotGenomes.reserve(slots.size());
    for (int s : slots) slotGenomes.push_back(toCellForm(w.ListaEstrategias[s].genoma));
    st.slotCounts.assign(slots.size(), 0);

    // A world holds few strategies side by side, so each cell is first compared with the last
    // strategies met: a cell of the same strategy is classed, matched and counted as distinct the
    // same way (blank and dead squares, slots and distinctness all follow the compared fields).
    struct Met {
        const Genoma* g;
        int kind;  // 0 blank square, 1 dead square, 2 alive
        int slot;  // index into slots, or -1 for "other"
    };
    constexpr std::size_t kRemembered = 4;
    std::array<Met, kRemembered> met{};
    std::size_t metCount = 0, nextPlace = 0;
    std::unordered_set<StrategyKey, StrategyKeyHash> distinct;
    for (int c = 1; c <= w.NumJugadores; ++c) {
        const Genoma& g = w.genoma(kActual, c);
        const Met* found = nullptr;
        for (std::size_t m = 0; m < metCount && found == nullptr; ++m)
            if (sameStrategy(g, *met[m].g)) found = &met[m];
        Met cell{&g, 2, -1};
        if (found != nullptr) {
            cell = *found;
        } else {
            cell.kind = isBlankSquare(g) ? 0 : isDeadSquare(g) ? 1 : 2;
            if (cell.kind == 2) distinct.insert(StrategyKey{&g});
            for (std::size_t i = 0; i < slotGenomes.size(); ++i) {
                if (sameStrategy(g, slotGenomes[i])) {
                    cell.slot = static_cast<int>(i);
                    break;
                }
            }
            met[nextPlace] = cell;
            nextPlace = (nextPlace + 1) % kRemembered;
            metCount = std::min(metCount + 1, kRemembered);
        }
        if (cell.kind == 0)
            ++st.blank;
        else if (cell.kind == 1)
            ++st.dead;
        else
            ++st.alive;
        if (cell.slot >= 0)
            ++st.slotCounts[static_cast<std::size_t>(cell.slot)];
        else
            ++st.other;
    }
    st.strategies = static_cast<int>(distinct.size());
    return st;
}

}  // namespace morvane
