#pragma once

#include <cstdint>
#include <optional>

#include "encounter/history.h"

namespace morvane {

// The sums of the two bytes of the records a search counts.
struct Recuento {
    int a = 0, b = 0, count = 0;
    void add(const Registro& r) {
        a += r.movA;
        b += r.movB;
        ++count;
    }
    // Both averages, each rounded to the nearest whole number with halves to even, as a
    // knowledge word.
    std::uint16_t word() const;
};

// Whether the list's index covers its slots 1..n: the records it holds and at most a preview on
// top of them, as player 2 reads player 1's list under successive moves.
bool indiceCubre(const ListaRegistros& l, int n);

// The history search and the trigger look-up read through the index: only the records with the
// one partner, or in the one role, that they can count. The caller has checked indiceCubre.
std::optional<std::uint16_t> buscarIndexado(const ListaRegistros& l, int a, int n, int role,
                                            std::int16_t word);
int disparoIndexado(const ListaRegistros& l, int partner, int n, int role, std::int16_t trigger);

}  // namespace morvane
