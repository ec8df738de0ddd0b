#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "strategy/strategy_list.h"

namespace morvane {

// Reparto, the distribution word of a list slot:
//   bits 0..9  portion, in tenths of a percent (0..1000; 200 = 20 %)
//   bit 10     the slot takes part in the distribution
// Other bits are kept by every writer. A portion is held within 0..1000, so it never spills into
// the active bit.
namespace reparto {

constexpr std::int32_t kPortionMask = 1023;
constexpr std::int32_t kActiveBit = 1024;
constexpr int kMaxPortion = 1000;

inline int portion(std::int16_t w) {
    return w & kPortionMask;
}
inline bool active(std::int16_t w) {
    return (w & kActiveBit) != 0;
}
std::int16_t withPortion(std::int16_t w, int portion);
std::int16_t withActive(std::int16_t w, bool on);

}  // namespace reparto

// The distribution window has one row per offered slot: row i stands for slot i + 1, and the last
// row (slot 20) always seeds random genomes.
constexpr int kDistributionRows = 20;
constexpr int kRandomRow = kDistributionRows - 1;
inline int slotOfRow(int row) {
    return row + 1;
}

// What one row of the window holds: its scroll value (tenths of a percent) and its tick.
struct DistributionRow {
    int portion = 0;
    bool active = false;
};
using DistributionRows = std::array<DistributionRow, kDistributionRows>;

// The rows as the window shows them when it opens; a portion above 1000 (from a file) shows 1000.
DistributionRows distributionRows(const StrategyList& list);

// The name a row shows: "Random" for the last row whatever slot 20 holds, the slot's name
// otherwise.
std::string distributionRowName(const StrategyList& list, int row);

// A typed percentage as the scroll takes it: round(percent x 10), halves to even, held in 0..1000.
int portionFromPercent(double percent);

// The recomputation after every change in the window: Reparto(i + 1) = portion + 1024 x active.
// Returns the new total.
double recomputeDistribution(StrategyList& list, const DistributionRows& rows);

// The sum of the active rows' percentages, to one decimal (what the total box shows).
double distributionTotal(const StrategyList& list);

// "Equal distribution": every active row gets round(10 x share), share = 100 / n rounded to five
// decimals, halves to even; inactive rows keep their portions. With no active row nothing changes
// and the result is false.
bool equalDistribution(StrategyList& list);

// "Fill world" goes ahead only when the total reads exactly 100.
bool canFillWorld(const StrategyList& list);

}  // namespace morvane
