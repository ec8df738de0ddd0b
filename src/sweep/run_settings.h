#pragma once

#include <array>
#include <optional>

#include "state/world.h"

namespace morvane {

// The settings a run may change in the world it starts from, each left as the world has it when
// absent. `morvane-cli run` and every point of a sweep apply them through one routine, so a point
// re-run alone with the same options gives the same rows.
struct RunSettings {
    std::array<std::optional<float>, 8> payoff;  // T1, R1, P1, S1, T2, R2, P2, S2
    std::optional<int> rule;                     // 1 Maxi Max .. 4 Maxi Min
    std::optional<int> neighbourhood;            // 0..14
    std::optional<int> iterations;               // 1..10
    std::optional<float> mutation;               // 0..1; above 0 ticks option 0, 0 unticks it
    std::optional<float> thresholdToday, thresholdSurvive, thresholdReproduce;
    std::optional<int> sumMode;                  // 1..3
    std::array<std::optional<bool>, 10> option;  // 0..9; a mutation given decides option 0
};

// Every setting `patch` holds replaces the one in `into`.
void overlay(RunSettings& into, const RunSettings& patch);

// Applies the settings to a world that is loaded or started and not yet prepared.
void applyRunSettings(World& w, const RunSettings& s);

// The names the command line and sweep files give the transition rules, in `Regla` order.
inline constexpr std::array<const char*, 4> kRuleNames = {"maximax", "replicator", "best",
                                                          "maximin"};
inline constexpr std::array<const char*, 8> kPayoffNames = {"T1", "R1", "P1", "S1",
                                                            "T2", "R2", "P2", "S2"};

}  // namespace morvane
