#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "world/neighbourhood_settings.h"

namespace morvane {

constexpr int kNumNeighbourhoodTypes = 15;

// Captions of the fifteen neighbourhood types, as the "Neighbourhoods" window lists them.
const std::array<std::string, kNumNeighbourhoodTypes>& neighbourhoodCaptions();

// Code (without the bit 32 of option [7]) and partner count of type i (0..14).
std::uint8_t neighbourhoodCode(int i);
std::uint8_t neighbourhoodRepes(int i);

// The type whose code equals code AND 31; type 0 when no type has that code (an edited file).
int neighbourhoodTypeOf(std::uint8_t code);

// Bit j set when position j belongs to the pattern of the code, fixed or random.
std::int32_t neighbourhoodMask(std::uint8_t code);

// What the "Neighbourhoods" window shows for a chosen code.
struct NeighbourhoodDisplay {
    // Box text of each position: its number, "?" for a random partner, empty outside the pattern.
    std::array<std::string, kNumPositions> txtJugador;
    std::string lineCodVecin;  // "CodVecin: 18"
    std::int32_t mask = 0;
    std::string lineVecinosFijos;  // "Vecinos fijos: 16777215"
    int hsbReservar = 1;           // reservation bar: 1 without random partners, else Repes
    std::string lblPorcentaje;
};
NeighbourhoodDisplay neighbourhoodDisplay(std::uint8_t code, std::uint8_t repes, int cellCount);

}  // namespace morvane
