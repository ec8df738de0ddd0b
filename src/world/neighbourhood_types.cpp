#include "world/neighbourhood_types.h"

#include "base/copies.h"
#include "base/shown_number.h"
#include "world/neighbourhood.h"

namespace morvane {

const std::array<std::string, kNumNeighbourhoodTypes>& neighbourhoodCaptions() {
    static const std::array<std::string, kNumNeighbourhoodTypes> captions = {
        " 0)    4 inner neighbours (Von Neumann)",
        " 1)    4 random neighbours",
        " 2)    8 inner neighbourss (Moore)",
        " 3)    8 random neighbours",
        " 4)    4 inner neighbours (no Von Neumann) + random neighbours",
        " 5)    8 outer neighbours",
        " 6)    8 outer neighbours (same as 3)",
        " 7)  16 outer neighbours",
        " 8)  16 random neighbours",
        " 9)    8 outer neighbours + 8 random neighbours",
        "10)  12 inner and outer neighbours",
        "11)  12 random neighbours (inner and outer)",
        "12)   24 inner and outer neighbours",
        "13)   24 random neighbours (inner and outer)",
        "14)   12 inner and outer neighbours + 12 random",
    };
    return captions;
}

namespace {

bool oneOf(int i, std::initializer_list<int> list) {
    for (int v : list)
        if (v == i) return true;
    return false;
}

struct TypeCode {
    std::uint8_t code, repes;
};

TypeCode typeCode(int i) {
    // Inner ring, outer ring only, or both.
    TypeCode t = i < 5 ? TypeCode{0, 8} : i < 10 ? TypeCode{6, 16} : TypeCode{2, 24};
    if (oneOf(i, {0, 1, 5, 6, 10, 11})) {
        t.code |= 1;  // every other position
        t.repes /= 2;
    }
    if (oneOf(i, {1, 4, 6, 9, 11, 14})) t.code |= 8;    // random partners at even positions only
    if (!oneOf(i, {0, 2, 5, 7, 10, 12})) t.code |= 16;  // random partners
    return t;
}

}  // namespace

std::uint8_t neighbourhoodCode(int i) {
    return typeCode(i).code;
}
std::uint8_t neighbourhoodRepes(int i) {
    return typeCode(i).repes;
}

int neighbourhoodTypeOf(std::uint8_t code) {
    for (int i = 0; i < kNumNeighbourhoodTypes; ++i)
        if (neighbourhoodCode(i) == (code & 31)) return i;
    return 0;
}

std::int32_t neighbourhoodMask(std::uint8_t code) {
    const int step = (code & 1) + 1;
    std::int32_t mask = 0;
    auto add = [&](int from, int to) {
        for (int j = from; j <= to; j += step) mask |= 1 << j;
    };
    if ((code & 4) == 0) {
        add(0, 3);
        add(12, 15);
    }
    if (code & 2) {
        add(4, 11);
        add(16, 23);
    }
    return mask;
}

namespace {

std::string percentageLine(std::uint8_t repes, int cellCount) {
    std::string line = "Porcentaje de la población contra la que juega: " + std::to_string(repes);
    // A world of one cell has nobody to play against: the quotient is left out rather than
    // divided by zero.
    if (cellCount <= 1) return line + " / 0";
    const int others = cellCount - 1;
    const double percent = static_cast<double>(repes) / others * 100.0;
    return line + " / " + std::to_string(others) + " = " + shownNumber(percent, 2) + " % ";
}

}  // namespace

NeighbourhoodDisplay neighbourhoodDisplay(std::uint8_t code, std::uint8_t repes, int cellCount) {
    NeighbourhoodDisplay d;
    d.lineCodVecin = "CodVecin: " + std::to_string(code);
    d.mask = neighbourhoodMask(code);
    for (int j = 0; j < kNumPositions; ++j) {
        if ((d.mask & (1 << j)) == 0) continue;
        const bool random = (code & 16) && (!(code & 8) || j % 2 == 0);
        d.txtJugador[j] = random ? "?" : std::to_string(j);
    }
    d.lineVecinosFijos = "Vecinos fijos: " + std::to_string(d.mask);
    d.hsbReservar = (code & 16) ? repes : 1;
    d.lblPorcentaje = percentageLine(repes, cellCount);
    return d;
}

void ChooseNeighbourhood(Neighbourhood& n, bool sameNeighbours, int i) {
    if (i < 0 || i >= kNumNeighbourhoodTypes) return;
    const TypeCode t = typeCode(i);
    std::uint8_t code = t.code;
    if (sameNeighbours) code = static_cast<std::uint8_t>(code + 32);
    n.CodVecin[kActual] = code;
    n.Repes = t.repes;
    n.MascaraVecinos[kActual] = neighbourhoodMask(code);
}

}  // namespace morvane
