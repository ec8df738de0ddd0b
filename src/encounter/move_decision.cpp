#include "encounter/move_decision.h"

#include <cmath>
#include <cstdlib>

#include "core/numeric.h"
#include "core/rng.h"
#include "games/payoff.h"

namespace morvane {

AjustesPartida ajustesPartida(const World& w, int copia) {
    const RunOptions& o = w.opciones;
    AjustesPartida aj;
    aj.copia = copia;
    aj.prob = w.pagos.EquilibriumAbsProb[copia];
    // Live play follows the value committed at the last start or step, which the options copy 0
    // took at the same moment; a replay reads that copy.
    aj.sucesivas = copia == kActual ? o.SucesivasActivo : (o.Opciones[kPrevio] & 16) != 0;
    aj.equidadUno = (o.Opciones[copia] & 512) != 0;
    aj.senMask = o.SenMask;
    aj.adHoc = o.hsbAdHoc;
    aj.ciEsExito = o.CiEsExito != 0;
    aj.tarta = o.chkPartirTarta;
    return aj;
}

std::uint16_t ValorarJugada(const World& w, float disp1, int copia) {
    const PayoffMatrix& m = w.pagos;
    const auto& prob = m.EquilibriumAbsProb[copia];
    float g = 0.0f;  // player 2's answer: 1 = its absolute move
    if (prob[2] == 1.0f)
        g = 1.0f;
    else if (prob[2] != 0.0f)
        g = disp1 < prob[1] ? 1.0f : 0.0f;
    const float pay1 = pagoEsperado(m, copia, 1, disp1, g);
    const float pay2 = pagoEsperado(m, copia, 2, g, disp1);
    const float s1 = exito(m, 1, pay1), s2 = exito(m, 2, pay2);
    const bool uno = (w.opciones.Opciones[copia] & 512) != 0;
    return static_cast<std::uint16_t>(byteRegistro(s1 * 100.0f) * 128 + equidad1(s1, s2, uno));
}

std::uint16_t conocimiento(const World& w, const AjustesPartida& aj, int b, int roleBit, int half,
                           const ListaRegistros& rival, int n, bool buscarSiempre) {
    const GenomePart& g = w.genoma(aj.copia, b).parte[half];
    if (buscarSiempre || n > 0) {
        const int found = buscarPalabra(rival, b, n, roleBit, g.Busqueda);
        if (found >= 0) return static_cast<std::uint16_t>(found);
    }
    return static_cast<std::uint16_t>(g.Incertidumbre);
}

namespace {

float centesimas(int v) {
    return centesima(static_cast<std::uint8_t>(v));
}

// The input x of the behaviour function by SenMask, with the weight each index received. With two
// indexes the first one's sensibility is used and the second gets its complement.
void entrada(World::LadoPartida& lado, std::uint8_t senMask, float Si,
             const std::array<float, 3>& sen) {
    const std::array<float, 3> idx = {lado.Ci, lado.Ei, Si};
    std::array<float, 3> t{};
    for (int i = 0; i < 3; ++i) t[i] = std::fabs(idx[i] - (1.0f - lado.val[i]));
    auto& p = lado.peso;
    switch (senMask & 7) {
        case 0:
            p = {0.0f, 0.0f, 0.0f};
            lado.x = 1.0f;
            return;
        case 1:
            p = {1.0f, 0.0f, 0.0f};
            lado.x = t[0];
            return;
        case 2:
            p = {0.0f, 1.0f, 0.0f};
            lado.x = t[1];
            return;
        case 4:
            p = {0.0f, 0.0f, 1.0f};
            lado.x = t[2];
            return;
        case 3:
            p = {sen[0], 1.0f - sen[0], 0.0f};
            break;
        case 5:
            p = {sen[0], 0.0f, 1.0f - sen[0]};
            break;
        case 6:
            p = {0.0f, sen[1], 1.0f - sen[1]};
            break;
        default:
            p = sen;
            break;
    }
    // A left-out index has weight 0 and adds an exact 0 to the sum.
    lado.x = p[0] * t[0] + p[1] * t[1] + p[2] * t[2];
}

// The trigger: inside its range it answers at once; otherwise, when the range is not empty, it
// answers again if it fired in the earlier meeting its whom and when fields select (DisparoPrevio
// on the bug's own list).
void disparador(World::LadoPartida& lado, const GenomePart& g, const ListaRegistros& propia, int r,
                int role, int nPropio) {
    const float d100 = lado.x * 100.0f;
    const float lo = g.TriggerMin, hi = g.TriggerMax;
    if (lo <= d100 && d100 <= hi) {
        lado.disparo = true;
    } else if (lo <= hi) {
        lado.disparo = disparoEnRegistros(propia, r, nPropio, role - 1, g.Trigger) != 0;
    } else {
        lado.disparo = false;
    }
    if (lado.disparo) lado.f = centesimas(packed::triggerResp(g.Trigger));
}

}  // namespace

FichaMitad fichaMitad(const GenomePart& g) {
    FichaMitad f;
    f.curva = curvaNewton01(g);
    f.val = {centesimas(g.ValIC), centesimas(g.ValIA), centesimas(g.ValIP)};
    f.sen = {centesimas(g.SenIC), centesimas(g.SenIA), centesimas(g.SenIP)};
    return f;
}

void decidir(const World& w, const AjustesPartida& aj, int b, int r, int role, int half,
             const FichaMitad& ficha, std::uint16_t word, float Si, const ListaRegistros& propia,
             int nPropio, float f1, Rng& rng, World::LadoPartida& lado) {
    const Genoma& gb = w.genoma(aj.copia, b);
    const GenomePart& g = gb.parte[half];
    lado.celda = static_cast<std::int16_t>(b);
    lado.mitad = static_cast<std::uint8_t>(half);
    lado.colores = gb.Colores;
    lado.Ci = conocimientoCi(word);
    lado.Ei = conocimientoEi(word);

    const bool adHocValues = (aj.adHoc & (role == 1 ? 1 : 2)) != 0;
    lado.val = adHocValues ? std::array<float, 3>{1.0f, 1.0f, 1.0f} : ficha.val;
    entrada(lado, aj.senMask, Si, ficha.sen);
    if (role == 1 && (aj.adHoc & 1) != 0) {
        lado.x = centesimas(w.genoma(aj.copia, r).parte[0].ValIC);
        lado.xAdHoc = true;
    }

    lado.f = evalCurvaNewton01(ficha.curva, g, lado.x);
    disparador(lado, g, propia, r, role, nPropio);

    if (role == 2 && (aj.adHoc & 2) != 0) {
        lado.disparo = false;
        lado.f = centesimas(gb.parte[0].ValIC) <= f1 ? 1.0f : 0.0f;
    }
    if ((aj.adHoc & 4) != 0) lado.f = rng.uniform() <= centesimas(g.SenIC) ? 1.0f : 0.0f;

    lado.disp = DispositionToProb(aj.prob[role], lado.f);
}

}  // namespace morvane
