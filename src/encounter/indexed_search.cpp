// The history search and the trigger look-up read through the record index: the memories of the
// rival's records with the searcher, or of all its records, instead of the record list. Where the
// index does not cover a list they read it record by record.
#include <array>

#include "encounter/history.h"

namespace morvane {

namespace {

// 2^32 / c rounded up, for c = 1..255: (sum * kInversas[c]) >> 32 is sum / c rounded down for
// every sum below 2^16, since the excess stays under 2^-16 while the fraction of such a quotient is
// at most 1 - 1/255. Integer division is slow, and each search ends in two.
constexpr std::array<std::uint64_t, 256> kInversas = [] {
    std::array<std::uint64_t, 256> t{};
    for (std::uint64_t c = 1; c < 256; ++c) t[c] = (std::uint64_t{1} << 32) / c + 1;
    return t;
}();

// sum / count to the nearest whole number, halves to even. Sums and counts are small, so this is
// exactly the rounding of their floating-point quotient.
int promedio(int sum, int count) {
    const int q = count < 256 && sum < 65536
                      ? static_cast<int>((static_cast<std::uint64_t>(sum) * kInversas[count]) >> 32)
                      : sum / count;
    const int twice = 2 * (sum - q * count);
    return twice > count || (twice == count && (q & 1) != 0) ? q + 1 : q;
}

// The record roles that pass the role filter of history type h for a searcher in role bit
// `role`, as a mask: bit r set when a record played in role bit r passes.
int mascaraRol(int h, int role) {
    switch (h) {
        case 0:
            return 1 << (1 - role);
        case 1:
            return 1 << role;
        case 2:
            return 3;
        default:
            return 0;
    }
}

bool pasa(int mascara, int rol) {
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

// Adds the newest min(d, c) of the c records a ring of the last 16 holds (d <= 15).
void sumarRing(Recuento& t, const std::array<std::array<std::uint8_t, 2>, 16>& ring, int c, int d) {
    const int m = d < c ? d : c;
    int a = 0, b = 0;
    for (int i = 1; i <= m; ++i) {
        const auto& par = ring[(c - i) & 15];
        a += par[0];
        b += par[1];
    }
    t.a += a;
    t.b += b;
    t.count += m;
}

// Adds a memory's newest d records (1 <= d <= 15) whose role passes the mask.
void recientes(Recuento& t, const Memoria& m, int mascara, int d) {
    if (mascara == 3)
        sumarRing(t, m.todos, m.cuenta[0] + m.cuenta[1], d);
    else if (mascara != 0)
        sumarRing(t, m.porRol[mascara >> 1], m.cuenta[mascara >> 1], d);
}

// Adds all of a memory's records whose role passes the mask.
void todos(Recuento& t, const Memoria& m, int mascara) {
    for (int r = 0; r < 2; ++r) {
        if (!pasa(mascara, r)) continue;
        t.a += m.sumaA[r];
        t.b += m.sumaB[r];
        t.count += m.cuenta[r];
    }
}

// Whether the index answers a look-up of slots 1..n of the list: live play asks for all the
// records the cell holds, player 2 under successive moves for those and the preview on top of
// them; replays of earlier moments read the records one by one.
bool indiceCubre(const ListaRegistros& l, int n) {
    if (!l.indice.disponible()) return false;
    const int r = l.indice.registros();
    return (n == r && (l.slotPrevio < 1 || l.slotPrevio > n)) || (n == r + 1 && l.slotPrevio == n);
}

// The record-by-record scan counts records newest first and stops once `depth` counted; with
// depth 0 it stops after the newest record unless that one counts, and then counts every record
// it can. Types 0 and 8 count the records with the searcher; type 8 falls back on the others only
// when no record with the searcher passes the role filter, and takes the newest `depth` of them;
// type 16 counts every record that passes. The preview, when there is one, is the newest record.
int buscarIndexado(const ListaRegistros& l, int a, int n, int role, std::int16_t word) {
    constexpr int kNada = -1;
    if (n < 1) return kNada;
    const int tipo = word & 24;
    const int depth = packed::prof(word);
    const int mascara = mascaraRol(packed::historial(word), role);
    const IndiceCelda& ix = l.indice;
    const bool hayPrevio = l.slotPrevio == n;
    const int rolPrevio = registro::role(l.previo.jugada);
    const bool previoPasa = hayPrevio && pasa(mascara, rolPrevio);
    const bool previoPropio = previoPasa && registro::partner(l.previo.jugada) == a;
    Recuento t;
    const auto conPrevio = [&](bool cuenta) {
        if (cuenta) t.add(l.previo.movA, l.previo.movB);
    };

    if (tipo >= 16) {
        if (depth == 0) {
            const bool newestPasa = hayPrevio ? previoPasa : pasa(mascara, ix.deCelda->rolUltimo);
            if (!newestPasa) return kNada;
            conPrevio(hayPrevio);
            todos(t, *ix.deCelda, mascara);
        } else {
            conPrevio(previoPasa);
            if (t.count < depth) recientes(t, *ix.deCelda, mascara, depth - t.count);
        }
        if (t.count > 0) return t.word();
        return kNada;
    }

    const Memoria* propia = ix.con(a);
    if (depth == 0) {
        const bool newestPropio =
            hayPrevio ? previoPropio
                      : ix.cabecera->ultimoSocio == a && pasa(mascara, ix.deCelda->rolUltimo);
        if (!newestPropio) return kNada;
        conPrevio(hayPrevio);
        if (propia != nullptr) todos(t, *propia, mascara);
        return t.word();
    }
    conPrevio(previoPropio);
    if (propia != nullptr && t.count < depth) recientes(t, *propia, mascara, depth - t.count);
    if (t.count > 0) return t.word();
    if (tipo != 8) return kNada;
    // No record with the searcher passes the filter, so every record that passes is an "other".
    conPrevio(previoPasa);
    if (t.count < depth) recientes(t, *ix.deCelda, mascara, depth - t.count);
    if (t.count > 0) return t.word();
    return kNada;
}

int disparoIndexado(const ListaRegistros& l, int partner, int n, int role, std::int16_t trigger) {
    const int whom = packed::aquien(trigger);
    const int when = packed::cuando(trigger);
    if (n < 1 || when > 2) return 0;  // an undefined "when" selects no encounter
    const int target = when == 0 ? role : 1 - role;
    const std::int32_t previo = l.previo.jugada;
    if (l.slotPrevio == n && (whom == 1 || registro::partner(previo) == partner) &&
        (when == 2 || registro::role(previo) == target))
        return registro::fired(previo) ? 1 : 0;
    const Memoria* m = whom == 1 ? l.indice.deCelda : l.indice.con(partner);
    if (m == nullptr) return 0;
    if (when == 2) return m->cuenta[0] + m->cuenta[1] > 0 ? m->disparo : 0;
    return m->cuenta[target] > 0 ? m->disparoRol[target] : 0;
}

}  // namespace

int buscarPalabra(const ListaRegistros& l, int a, int n, int role, std::int16_t word) {
    if (indiceCubre(l, n)) return buscarIndexado(l, a, n, role, word);
    const auto found = buscarEnRegistrosUnoAUno(l, a, n, role, word);
    return found ? *found : -1;
}

std::optional<std::uint16_t> buscarEnRegistros(const ListaRegistros& l, int a, int n, int role,
                                               std::int16_t word) {
    const int found = buscarPalabra(l, a, n, role, word);
    if (found < 0) return std::nullopt;
    return static_cast<std::uint16_t>(found);
}

int disparoEnRegistros(const ListaRegistros& l, int partner, int n, int role,
                       std::int16_t trigger) {
    if (indiceCubre(l, n)) return disparoIndexado(l, partner, n, role, trigger);
    return disparoEnRegistrosUnoAUno(l, partner, n, role, trigger);
}

}  // namespace morvane
