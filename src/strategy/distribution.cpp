#include "strategy/distribution.h"

#include <algorithm>

#include "base/numeric.h"

namespace morvane {

namespace reparto {

std::int16_t withPortion(std::int16_t w, int portion) {
    const int p = std::clamp(portion, 0, kMaxPortion);
    return static_cast<std::int16_t>((w & ~kPortionMask) | p);
}

std::int16_t withActive(std::int16_t w, bool on) {
    return static_cast<std::int16_t>(on ? (w | kActiveBit) : (w & ~kActiveBit));
}

}  // namespace reparto

namespace {

// The total in tenths of a percent: every portion is a whole number of tenths, so the sum is
// exact and "reads exactly 100" is a plain comparison.
int totalTenths(const StrategyList& list) {
    int sum = 0;
    for (int row = 0; row < kDistributionRows; ++row) {
        const std::int16_t w = list[slotOfRow(row)].Reparto;
        if (reparto::active(w)) sum += std::min(reparto::portion(w), reparto::kMaxPortion);
    }
    return sum;
}

}  // namespace

DistributionRows distributionRows(const StrategyList& list) {
    DistributionRows rows{};
    for (int row = 0; row < kDistributionRows; ++row) {
        const std::int16_t w = list[slotOfRow(row)].Reparto;
        rows[row] = {std::min(reparto::portion(w), reparto::kMaxPortion), reparto::active(w)};
    }
    return rows;
}

std::string distributionRowName(const StrategyList& list, int row) {
    if (row == kRandomRow) return "Random";
    return list[slotOfRow(row)].name;
}

int portionFromPercent(double percent) {
    // A NaN lands on 0; anything beyond the scroll's range stops at its ends.
    return roundToField<int>(percent * 10.0, 0, reparto::kMaxPortion);
}

double recomputeDistribution(StrategyList& list, const DistributionRows& rows) {
    for (int row = 0; row < kDistributionRows; ++row) {
        std::int16_t& w = list[slotOfRow(row)].Reparto;
        // The word is rebuilt whole: portion and active bit, nothing else.
        w = reparto::withActive(reparto::withPortion(0, rows[row].portion), rows[row].active);
    }
    return distributionTotal(list);
}

double distributionTotal(const StrategyList& list) {
    return totalTenths(list) / 10.0;
}

bool equalDistribution(StrategyList& list) {
    DistributionRows rows = distributionRows(list);
    const auto n = std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.active; });
    if (n == 0) return false;
    const double share = roundDecimals(100.0 / static_cast<double>(n), 5);
    const int portion = portionFromPercent(share);
    for (auto& r : rows)
        if (r.active) r.portion = portion;
    recomputeDistribution(list, rows);
    return true;
}

bool canFillWorld(const StrategyList& list) {
    return totalTenths(list) == 1000;
}

}  // namespace morvane
