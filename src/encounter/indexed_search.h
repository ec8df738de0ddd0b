#pragma once

// The history search and the trigger look-up as the record index answers them: from the memories
// of a cell's records with one partner and with anybody, and the preview on top. The list forms
// in history.h use these where the index covers a list; the live rounds call them directly.
#include <array>
#include <cstdint>

#include "encounter/history.h"
#include "encounter/record_index.h"

namespace morvane {

namespace busqueda {

// 2^32 / c rounded up, for c = 1..255: (sum * kInversas[c]) >> 32 is sum / c rounded down for
// every sum below 2^16, since the excess stays under 2^-16 while the fraction of such a quotient is
// at most 1 - 1/255. Integer division is slow, and each search ends in two.
inline constexpr std::array<std::uint64_t, 256> kInversas = [] {
    std::array<std::uint64_t, 256> t{};
    for (std::uint64_t c = 1; c < 256; ++c) t[c] = (std::uint64_t{1} << 32) / c + 1;
    return t;
}();

// sum / count to the nearest whole number, halves to even. Sums and counts are small, so this is
// exactly the rounding of their floating-point quotient.
inline int promedio(int sum, int count) {
    const int q = count < 256 && sum < 65536
                      ? static_cast<int>((static_cast<std::uint64_t>(sum) * kInversas[count]) >> 32)
                      : sum / count;
    const int twice = 2 * (sum - q * count);
    // Up on more than half, and on exactly half when q is odd; without a branch, as remainders
    // fall at random.
    return q + static_cast<int>((twice > count) | ((twice == count) & ((q & 1) != 0)));
}

// The record roles that pass the role filter of history type h for a searcher in role bit
// `role`, as a mask: bit r set when a record played in role bit r passes.
inline int mascaraRol(int h, int role) {
    // By history type 0..15 and role bit; a table, as history types differ from bug to bug.
    static constexpr std::array<std::array<std::uint8_t, 2>, 16> kMascaras = {
        {{2, 1}, {1, 2}, {3, 3}}};
    return kMascaras[h & 15][role & 1];
}

inline bool pasa(int mascara, int rol) {
    return ((mascara >> rol) & 1) != 0;
}

// The sums of the two bytes of the records a search counts, and their averages as a knowledge
// word.
struct Recuento {
    int a = 0, b = 0, count = 0;
    void add(std::uint8_t movA, std::uint8_t movB) {
        a += movA;
        b += movB;
        ++count;
    }
    std::uint16_t word() const {
        return static_cast<std::uint16_t>(promedio(b, count) * 128 + promedio(a, count));
    }
};

// Adds the newest min(d, c) of the c records of a ring of running sums (d <= 15).
inline void sumarRing(Recuento& t, const std::array<std::uint32_t, 16>& ring, int c, int d) {
    const int m = d < c ? d : c;
    const std::uint32_t suma = ring[c & 15] - ring[(c - m) & 15];
    t.a += sumaA(suma);
    t.b += sumaB(suma);
    t.count += m;
}

// Adds a memory's newest d records (1 <= d <= 15) whose role passes the mask: ring mask - 1, chosen
// by index rather than by branches, as masks differ from bug to bug.
inline void recientes(Recuento& t, const Memoria& m, int mascara, int d) {
    if (mascara == 0) return;
    sumarRing(t, m.anillos[mascara - 1], m.cuenta[mascara - 1], d);
}

// Adds all of a memory's records whose role passes the mask.
inline void todos(Recuento& t, const Memoria& m, int mascara) {
    for (int r = 0; r < 2; ++r) {
        if (!pasa(mascara, r)) continue;
        const std::uint32_t suma = sumaRol(m, r);
        t.a += sumaA(suma);
        t.b += sumaB(suma);
        t.count += m.cuenta[r];
    }
}

}  // namespace busqueda

// What an indexed look-up reads of one cell's records: the memory of all of them, the memory of
// those with the partner in question (null when the cell never met it), the newest record's
// partner, and the preview that stands on top of them while player 2 weighs player 1's move.
struct VistaMemorias {
    const Memoria* deCelda = nullptr;
    const Memoria* conSocio = nullptr;
    int ultimoSocio = 0;
    const Registro* previo = nullptr;
};

// The search of the cell's records by searcher a (role bit `role`) with the search word `word`, as
// the record-by-record scan makes it: records newest first, stopping once `depth` counted; with
// depth 0 it stops after the newest record unless that one counts, and then counts every record
// it can. Types 0 and 8 count the records with the searcher (v.conSocio must be the memory of a);
// type 8 falls back on the others only when no record with the searcher passes the role filter,
// and takes the newest `depth` of them; type 16 counts every record that passes. The word, or -1
// when nothing counts.
inline int palabraIndexada(const VistaMemorias& v, int a, int role, std::int16_t word) {
    using namespace busqueda;
    constexpr int kNada = -1;
    const Memoria& todas = *v.deCelda;
    const Registro* previo = v.previo;
    if (previo == nullptr && todas.cuenta[2] == 0) return kNada;
    const int tipo = word & 24;
    const int depth = packed::prof(word);
    const int mascara = mascaraRol(packed::historial(word), role);
    const bool previoPasa = previo != nullptr && pasa(mascara, registro::role(previo->jugada));
    const bool previoPropio = previoPasa && registro::partner(previo->jugada) == a;
    Recuento t;
    const auto conPrevio = [&](bool cuenta) {
        if (cuenta) t.add(previo->movA, previo->movB);
    };

    // Type 16 counts from the memory of all records what types 0 and 8 count from the memory with
    // the searcher: the two are one path on a chosen memory, as types differ from bug to bug.
    const bool cualquiera = tipo >= 16;
    const Memoria* fuente = cualquiera ? &todas : v.conSocio;
    const bool previoCuenta = cualquiera ? previoPasa : previoPropio;
    if (depth == 0) {
        // The newest record decides whether anything counts.
        const bool newestPasa = pasa(mascara, todas.rolUltimo);
        const bool newestCuenta =
            previo != nullptr ? previoCuenta : newestPasa && (cualquiera || v.ultimoSocio == a);
        if (!newestCuenta) return kNada;
        conPrevio(previo != nullptr);
        if (fuente != nullptr) todos(t, *fuente, mascara);
        return t.count > 0 ? t.word() : kNada;
    }
    conPrevio(previoCuenta);
    if (fuente != nullptr && t.count < depth) recientes(t, *fuente, mascara, depth - t.count);
    if (t.count > 0) return t.word();
    if (tipo != 8) return kNada;
    // No record with the searcher passes the filter, so every record that passes is an "other".
    conPrevio(previoPasa);
    if (t.count < depth) recientes(t, todas, mascara, depth - t.count);
    if (t.count > 0) return t.word();
    return kNada;
}

// Whether the cell's trigger fired in the newest of its records that its whom and when fields
// (trigger word `trigger`) select for the partner and its current role bit; v.conSocio must be the
// memory of `partner`.
inline int disparoIndexado(const VistaMemorias& v, int partner, int role, std::int16_t trigger) {
    const int whom = packed::aquien(trigger);
    const int when = packed::cuando(trigger);
    if (when > 2) return 0;  // an undefined "when" selects no encounter
    const int target = role ^ static_cast<int>(when != 0);
    if (v.previo != nullptr) {
        const std::int32_t previo = v.previo->jugada;
        if ((whom == 1 || registro::partner(previo) == partner) &&
            (when == 2 || registro::role(previo) == target))
            return registro::fired(previo) ? 1 : 0;
    }
    const Memoria* m = whom == 1 ? v.deCelda : v.conSocio;
    if (m == nullptr) return 0;
    // A look-up rather than branches: whom and when differ from bug to bug. Entry 2 is both roles;
    // an entry with no record holds 0.
    return m->disparo[when == 2 ? 2 : target];
}

}  // namespace morvane
