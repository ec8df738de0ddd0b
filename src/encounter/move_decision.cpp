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
    // The chart keeps 100 samples; a step of 0 or less gives an infinite or NaN quotient and
    // nothing is added.
    aj.grafico = static_cast<double>(w.Generacion) / w.PasoCoop < 101.0;
    aj.mitad1 = aj.prob[1] == 1.0f ? 1 : 0;
    aj.mitad2 = aj.prob[2] == 1.0f ? 1 : 0;
    aj.mitad2SigueDisp = aj.prob[2] != 1.0f && aj.sucesivas && aj.prob[2] != 0.0f;
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

FichaMitad fichaMitad(const Genoma& genoma, int half, std::uint8_t senMask) {
    const GenomePart& g = genoma.parte[half];
    FichaMitad f;
    f.curva = curvaNewton01(g);
    f.complemento = {1.0f - centesima(g.ValIC), 1.0f - centesima(g.ValIA),
                     1.0f - centesima(g.ValIP)};
    f.peso = decision::pesos(senMask, {centesima(g.SenIC), centesima(g.SenIA), centesima(g.SenIP)});
    f.busqueda = g.Busqueda;
    f.incertidumbre = g.Incertidumbre;
    f.trigger = g.Trigger;
    f.triggerMin = g.TriggerMin;
    f.triggerMax = g.TriggerMax;
    f.colorBicho = {genoma.Colores[3], genoma.Colores[4], genoma.Colores[5], 0};
    return f;
}

void decidir(const World& w, const AjustesPartida& aj, int b, int r, int role, int half,
             const FichaMitad& ficha, std::uint16_t word, float Si, const ListaRegistros& propia,
             int nPropio, float f1, Rng& rng, LadoPartida& lado) {
    const std::int16_t trigger = w.genoma(aj.copia, b).parte[half].Trigger;
    decidirCon<false>(
        w.genoma(aj.copia, b), w.genoma(aj.copia, r), aj, role, half, ficha, word, Si, f1, rng,
        lado, [&] { return disparoEnRegistros(propia, r, nPropio, role - 1, trigger) != 0; });
    lado.celda = static_cast<std::int16_t>(b);
}

}  // namespace morvane
