#include "encounter/indexed_search.h"

namespace morvane {

namespace {

// sum / count to the nearest whole number, halves to even. Sums and counts are small, so this is
// exactly the rounding of their floating-point quotient.
int promedio(int sum, int count) {
    const int q = sum / count;
    const int twice = 2 * (sum - q * count);
    return twice > count || (twice == count && (q & 1) != 0) ? q + 1 : q;
}

// The records among slots 1..n (n >= 1) whose partner is `socio`, newest first, the preview on
// top included. Stops when visit returns true.
template <typename Visit>
void porSocio(const ListaRegistros& l, int socio, int n, Visit visit) {
    int top = n;
    if (l.slotPrevio == n) {
        --top;
        if (registro::partner(l.previo.jugada) == socio && visit(l.previo)) return;
    }
    const IndiceCelda& ix = l.indice;
    int s = ix.ultimoCon(socio);
    while (s > top) s = ix.anterior[s];
    for (; s != 0; s = ix.anterior[s])
        if (visit(Registro{l.jugadas[s], l.movA[s], l.movB[s]})) return;
}

// The records among slots 1..n (n >= 1) that pass the role filter of history type h for a
// searcher in role bit `role`, newest first, the preview on top included. Stops when visit
// returns true.
template <typename Visit>
void porRol(const ListaRegistros& l, int h, int role, int n, Visit visit) {
    int top = n;
    if (l.slotPrevio == n) {
        --top;
        if (pasaFiltroRol(registro::role(l.previo.jugada), h, role) && visit(l.previo)) return;
    }
    if (h == 2) {
        for (int i = top; i >= 1; --i)
            if (visit(Registro{l.jugadas[i], l.movA[i], l.movB[i]})) return;
        return;
    }
    if (h > 2 || top < 1) return;
    const int r = h == 0 ? 1 - role : role;
    const IndiceCelda& ix = l.indice;
    int s = registro::role(l.jugadas[top]) == r ? top : ix.anteriorRol[top][r];
    for (; s != 0; s = ix.anteriorRol[s][r])
        if (visit(Registro{l.jugadas[s], l.movA[s], l.movB[s]})) return;
}

}  // namespace

std::uint16_t Recuento::word() const {
    return static_cast<std::uint16_t>(promedio(b, count) * 128 + promedio(a, count));
}

bool indiceCubre(const ListaRegistros& l, int n) {
    if (!l.indice.disponible()) return false;
    const bool previoArriba = l.slotPrevio >= 1 && l.slotPrevio == n;
    const bool previoFuera = l.slotPrevio < 1 || l.slotPrevio > n;
    return (previoArriba || previoFuera) && (previoArriba ? n - 1 : n) <= l.indice.registros();
}

// The scan the index stands for stops once `depth` records counted; with depth 0 it stops after
// the newest record unless that one counts, and then counts every record it can. Types 0 and 8
// count the records with the searcher; type 8 falls back on the others only when no record with
// the searcher passes the role filter, and takes the newest `depth` of them; type 16 counts every
// record that passes.
std::optional<std::uint16_t> buscarIndexado(const ListaRegistros& l, int a, int n, int role,
                                            std::int16_t word) {
    if (n < 1) return std::nullopt;
    const int tipo = word & 24;
    const int depth = packed::prof(word);
    const int h = packed::historial(word);
    const std::int32_t newest = l.jugada(n);
    const bool newestPasa = pasaFiltroRol(registro::role(newest), h, role);

    if (tipo >= 16) {
        if (depth == 0 && !newestPasa) return std::nullopt;
        Recuento own;
        porRol(l, h, role, n, [&](const Registro& r) {
            own.add(r);
            return own.count == depth;
        });
        if (own.count > 0) return own.word();
        return std::nullopt;
    }
    if (depth == 0 && !(newestPasa && registro::partner(newest) == a)) return std::nullopt;
    Recuento own;
    porSocio(l, a, n, [&](const Registro& r) {
        if (pasaFiltroRol(registro::role(r.jugada), h, role)) own.add(r);
        return own.count == depth;
    });
    if (own.count > 0) return own.word();
    if (tipo != 8 || depth == 0) return std::nullopt;
    // No record with the searcher passes the filter, so every record that passes is an "other".
    Recuento other;
    porRol(l, h, role, n, [&](const Registro& r) {
        other.add(r);
        return other.count == depth;
    });
    if (other.count > 0) return other.word();
    return std::nullopt;
}

int disparoIndexado(const ListaRegistros& l, int partner, int n, int role, std::int16_t trigger) {
    const int whom = packed::aquien(trigger);
    const int when = packed::cuando(trigger);
    if (n < 1 || when > 2) return 0;  // an undefined "when" selects no encounter
    int fired = 0;
    const auto take = [&](const Registro& r) {
        fired = registro::fired(r.jugada) ? 1 : 0;
        return true;
    };
    // "Playing this same role" is history type 1 for the target role, "the inverse role" type 0.
    const int h = when == 2 ? 2 : when == 0 ? 1 : 0;
    if (whom == 0) {
        porSocio(l, partner, n, [&](const Registro& r) {
            return pasaFiltroRol(registro::role(r.jugada), h, role) && take(r);
        });
    } else {
        porRol(l, h, role, n, take);
    }
    return fired;
}

}  // namespace morvane
