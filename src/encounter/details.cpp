#include "encounter/details.h"

#include <algorithm>

#include "core/numeric.h"
#include "encounter/history.h"
#include "encounter/move_decision.h"
#include "encounter/number_text.h"
#include "games/payoff.h"

namespace morvane {

namespace {

std::string t3(double x) {
    return textoDecimal(x, 3);
}

// "i (r) -> k [h]": record i, played in role r, the k-th of the cell's records in that role, with
// genome half h.
std::string textoRegistro(const GenerationReport& rep, int cell, int slot) {
    const std::int32_t r = rep.jugadas(cell, slot);
    const int role = registro::role(r);
    int k = 0;
    for (int i = 1; i <= slot; ++i) k += registro::role(rep.jugadas(cell, i)) == role ? 1 : 0;
    return std::to_string(slot) + " (" + std::to_string(role + 1) + ") -> " + std::to_string(k) +
           " [" + std::to_string(registro::half(r)) + "]";
}

// Values of a row as shown: they also feed the averages of the search.
struct ValoresFila {
    double a = 0, b = 0, x = 0;
};

FilaDetalle filaDetalle(const World& w, const GenerationReport& rep, int rival, int i,
                        ValoresFila& shown) {
    const PayoffMatrix& m = w.pagos;
    const std::int32_t r = rep.jugadas(rival, i);
    const int socio = registro::partner(r), s = registro::partnerSlot(r);
    FilaDetalle f;
    f.rival = static_cast<std::int16_t>(rival);
    f.socio = static_cast<std::int16_t>(socio);
    f.coloresRival = w.genoma(kPrevio, rival).Colores;
    f.cursiva = registro::fired(r);
    f.texto[0] = textoRegistro(rep, rival, i);
    f.texto[1] = std::to_string(rival);
    f.texto[2] = std::to_string(socio);
    const float a = rep.movA(rival, i) / 100.0f;
    const int roleRival = registro::role(r) + 1;
    const float x = DispositionToProb(m.EquilibriumAbsProb[kPrevio][roleRival], a);
    shown = {roundDecimals(a, 3), roundDecimals(rep.movB(rival, i) / 100.0f, 3), x};
    f.texto[6] = t3(a);
    f.texto[7] = t3(rep.movB(rival, i) / 100.0f);
    if (!slotValido(w, rep, socio, s)) {
        f.texto[4] = t3(a);
        f.texto[5] = t3(x);
        return f;
    }
    f.coloresSocio = w.genoma(kPrevio, socio).Colores;
    f.texto[3] = textoRegistro(rep, socio, s);
    const float b = rep.movA(socio, s) / 100.0f;
    const int roleSocio = registro::role(rep.jugadas(socio, s)) + 1;
    const float y = DispositionToProb(m.EquilibriumAbsProb[kPrevio][roleSocio], b);
    f.texto[4] = t3(a) + " - " + t3(b);
    f.texto[5] = t3(x) + " - " + t3(y);
    const float p = pagoEsperado(m, kPrevio, roleRival, x, y);
    const float q = pagoEsperado(m, kPrevio, 3 - roleRival, y, x);
    f.texto[9] = t3(p) + " - " + t3(q);
    return f;
}

}  // namespace

Explicacion ExplicarPartida(const World& w, const GenerationReport& rep, int rival, int searcher,
                            int current, Rng& /*rng*/) {
    Explicacion e;
    if (!registrosLegibles(w, rep) || !slotValido(w, rep, rival, current)) return e;
    const std::int32_t estudiado = rep.jugadas(rival, current);
    const int s = registro::partnerSlot(estudiado);
    if (registro::partner(estudiado) != searcher || !slotValido(w, rep, searcher, s)) return e;
    e.valida = true;
    e.rival = static_cast<std::int16_t>(rival);
    e.buscador = static_cast<std::int16_t>(searcher);
    e.actual = static_cast<std::int16_t>(current);
    e.coloresRival = w.genoma(kPrevio, rival).Colores;
    e.coloresBuscador = w.genoma(kPrevio, searcher).Colores;

    const std::int32_t propio = rep.jugadas(searcher, s);
    const int roleBuscador = registro::role(propio);
    const GenomePart& g = w.genoma(kPrevio, searcher).parte[registro::half(propio)];

    const int n = std::min<int>(rep.jugadas(rival, 0), static_cast<int>(rep.slotsPerCell) - 1);
    std::vector<ValoresFila> shown(n + 1);
    for (int i = 1; i <= n; ++i) e.filas.push_back(filaDetalle(w, rep, rival, i, shown[i]));

    FilaDetalle& roja = e.filas[current - 1];
    roja.roja = true;
    // With successive moves player 2 weighed player 1's move before it was played out: the
    // estimate it saw stands in for the actual equality.
    const bool previo = registro::role(estudiado) == 0 && (w.opciones.Opciones[kPrevio] & 16) != 0;
    if (previo) {
        const std::uint16_t valor = ValorarJugada(w, static_cast<float>(shown[current].x), kPrevio);
        const double estimada = (valor & 127) / 100.0;
        e.equidadEstimada = t3(estimada);
        e.equidadReal = t3(rep.movB(rival, current) / 100.0f);
        roja.texto[7] = e.equidadEstimada;
        shown[current].b = roundDecimals(estimada, 3);
    }

    const int desde = previo ? current : current - 1;
    const std::vector<int> usados =
        slotsUsados(listaRegistros(w, rep, nullptr, rival), searcher, desde, roleBuscador, g.Busqueda);
    double sumaA = 0, sumaB = 0;
    for (int i : usados) {
        e.filas[i - 1].usado = true;
        sumaA += shown[i].a;
        sumaB += shown[i].b;
    }
    if (!usados.empty()) {
        e.mediaIc = t3(sumaA / usados.size());
        e.mediaIa = t3(sumaB / usados.size());
    } else {
        e.sinDatos = true;
        e.mediaIc = t3(packed::incerIC(g.Incertidumbre) / 100.0);
        e.mediaIa = t3(packed::incerIA(g.Incertidumbre) / 100.0);
    }

    e.filaSuperior = current < 33 ? 1 : current - 32;
    e.codigo = codigoBusqueda(g.Busqueda);
    e.explicacion = TextoBusqueda(e.codigo, searcher, rival);
    return e;
}

}  // namespace morvane
