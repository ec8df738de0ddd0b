#pragma once

#include <array>
#include <cstdint>

namespace morvane {

// One player's side of an encounter: what it decided and everything its behaviour function was
// given, so that the results table and its tooltip only format values the engine used.
struct LadoPartida {
    std::int16_t celda = 0;
    std::uint8_t mitad = 0;  // genome half that decided (0 or 1)
    float Ci = 0, Ei = 0;    // what this player saw in its rival
    // Valuations and weights of Ci, Ei, Si as the input x used them: valuations / 100 (1 under
    // the ad-hoc switch), weights by SenMask (0 for an index left out).
    std::array<float, 3> val{}, peso{};
    float x = 0;          // the argument of the behaviour function
    bool xAdHoc = false;  // x was replaced by the rival's valuation (ad-hoc switch)
    float f = 0, disp = 0;
    bool disparo = false;  // the trigger answered
    std::array<std::uint8_t, 6> colores{};
};

// One row of the results table, seen from the selected cell.
struct FilaResultado {
    std::int16_t slot = 0;  // the selected cell's record number; the table row is slot + 1
    float Si = 0;
    std::uint8_t SenMask = 7;
    LadoPartida propio, rival;
};

}  // namespace morvane
