#pragma once

#include <array>
#include <cstdint>

namespace morvane {

// One player's side of an encounter: what it decided and everything its behaviour function was
// given, so that the results table and its tooltip only format values the engine used.
struct EncounterSide {
    std::int16_t cell = 0;
    std::uint8_t half = 0;  // genome half that decided (0 or 1)
    float Ci = 0, Ei = 0;   // what this player saw in its rival
    // Valuations and weights of Ci, Ei, Si as the input x used them: valuations / 100 (1 under
    // the ad-hoc switch), weights by SenMask (0 for an index left out).
    std::array<float, 3> val{}, weights{};
    float x = 0;          // the argument of the behaviour function
    bool xAdHoc = false;  // x was replaced by the rival's valuation (ad-hoc switch)
    float f = 0, disp = 0;
    bool fired = false;  // the trigger answered
    std::array<std::uint8_t, 6> colours{};
};

// One row of the results table, seen from the selected cell.
struct ResultRow {
    std::int16_t slot = 0;  // the selected cell's record number; the table row is slot + 1
    float Si = 0;
    std::uint8_t SenMask = 7;
    EncounterSide own, rival;
};

}  // namespace morvane
