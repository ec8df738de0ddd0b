#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "strategy/genome.h"

namespace morvane {

constexpr int kNumListSlots = 22;
constexpr int kNumLimits = 31;

// Longest strategy name, in characters: a name is one line of a scenario file, and a file of
// unbounded lines would be read into unbounded memory.
constexpr std::size_t kMaxStrategyNameLength = 255;

struct StrategySlot {
    ListGenoma genoma;
    std::string name;          // empty = empty slot
    std::int16_t Reparto = 0;  // bits 0..9 portion in tenths of a percent, bit 10 active

    bool operator==(const StrategySlot&) const = default;
};

// Limits of the random draws, per parameter k = 0..30 and part 0/1: [k][part] = {Min, Max}.
struct Rangos {
    std::array<std::array<std::array<std::int32_t, 2>, 2>, kNumLimits> limits{};
    // The widest range the limits window allows; set at program start, never changed.
    std::array<std::array<std::array<std::int32_t, 2>, 2>, kNumLimits> bounds{};
};

}  // namespace morvane
