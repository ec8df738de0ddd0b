#include "encounter/encounter.h"

#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "encounter/history.h"
#include "encounter/indexed_search.h"
#include "encounter/move_decision.h"
#include "encounter/record_index.h"

namespace morvane {

namespace {

// Player 1's current move as player 2 sees it before deciding: the record the encounter is about
// to commit, with player 1's provisional success or output and the equality player 2 would give.
Registro registroPrevio(const World& w, const AjustesPartida& aj, const EncounterValues& v) {
    const LadoPartida& p1 = v.jugador[0];
    const std::uint16_t valor = ValorarJugada(w, p1.disp, aj.copia);
    Registro r;
    r.movB = static_cast<std::uint8_t>(valor & 127);
    r.movA = aj.ciEsExito ? static_cast<std::uint8_t>((valor & 16256) / 128)
                          : roundToField<std::uint8_t>(p1.f * 100.0f, 0.0, 100.0);
    r.jugada = registro::make(v.jug2, 0, v.prev2 + 1, p1.disparo, p1.mitad);
    return r;
}

// Both decisions in the live rounds, on the record index: each player's memories of the other are
// found once and serve the rival's search and the player's own trigger.
// con1 is player 1's memory of its records with player 2 (null when they have not met), con2 player
// 2's of player 1.
template <bool kVista>
void decidirAmbosVivo(const World& w, const IndiceRegistros& ix, const AjustesPartida& aj,
                      const FichasGeneracion& fichas, EncounterValues& v, Rng& rng,
                      const Memoria* con1, const Memoria* con2) {
    const Genoma& g1 = w.genoma(kActual, v.jug1);
    const Genoma& g2 = w.genoma(kActual, v.jug2);
    VistaMemorias de1{&ix.deCelda[v.jug1], con1, ix.cabeceras[v.jug1].ultimoSocio, nullptr};
    const VistaMemorias de2{&ix.deCelda[v.jug2], con2, ix.cabeceras[v.jug2].ultimoSocio, nullptr};

    auto& p1 = v.jugador[0];
    const int h1 = mitadJugador1(aj);
    const FichaMitad& ficha1 = fichas.celdas[v.jug1][h1];
    int word1 = v.prev2 > 0 ? palabraIndexada(de2, v.jug1, 0, ficha1.busqueda) : -1;
    if (word1 < 0) word1 = ficha1.incertidumbre;
    decidirCon<true, kVista>(
        g1, g2, aj, 1, h1, ficha1, static_cast<std::uint16_t>(word1), v.Si, 0.0f, rng, p1,
        [&] { return v.prev1 > 0 && disparoIndexado(de1, v.jug2, 0, ficha1.trigger) != 0; });
    p1.celda = static_cast<std::int16_t>(v.jug1);

    const int h2 = mitadJugador2(aj, p1.disp);
    const FichaMitad& ficha2 = fichas.celdas[v.jug2][h2];
    Registro previo;
    if (aj.sucesivas) {
        previo = registroPrevio(w, aj, v);
        de1.previo = &previo;
    }
    int word2 = aj.sucesivas || v.prev1 > 0 ? palabraIndexada(de1, v.jug2, 1, ficha2.busqueda) : -1;
    if (word2 < 0) word2 = ficha2.incertidumbre;
    decidirCon<true, kVista>(
        g2, g1, aj, 2, h2, ficha2, static_cast<std::uint16_t>(word2), v.Si, p1.f, rng, v.jugador[1],
        [&] { return v.prev2 > 0 && disparoIndexado(de2, v.jug1, 1, ficha2.trigger) != 0; });
    v.jugador[1].celda = static_cast<std::int16_t>(v.jug2);
}

// The card of a genome half: the generation's when there is one, else worked out into `local`.
const FichaMitad& fichaDe(const World& w, const AjustesPartida& aj, const FichasGeneracion* fichas,
                          int cell, int half, FichaMitad& local) {
    if (fichas != nullptr) return fichas->celdas[cell][half];
    local = fichaMitad(w.genoma(aj.copia, cell), half, aj.senMask);
    return local;
}

void decidirAmbos(const World& w, const GenerationReport& r, const IndiceRegistros* ix,
                  const AjustesPartida& aj, const FichasGeneracion* fichas, EncounterValues& v,
                  Rng& rng) {
    // The live rounds ask for every record each player holds.
    if (fichas != nullptr && ix != nullptr && v.prev1 == ix->cabeceras[v.jug1].indexados &&
        v.prev2 == ix->cabeceras[v.jug2].indexados) {
        decidirAmbosVivo<true>(w, *ix, aj, *fichas, v, rng,
                               indiceCeldaVivo(*ix, v.jug1).con(v.jug2),
                               indiceCeldaVivo(*ix, v.jug2).con(v.jug1));
        return;
    }
    ListaRegistros lista1 = listaRegistros(w, r, ix, v.jug1);
    const ListaRegistros lista2 = listaRegistros(w, r, ix, v.jug2);
    FichaMitad local1, local2;
    auto& p1 = v.jugador[0];
    const int h1 = mitadJugador1(aj);
    const std::uint16_t word1 = conocimiento(w, aj, v.jug1, 0, h1, lista2, v.prev2, false);
    decidir(w, aj, v.jug1, v.jug2, 1, h1, fichaDe(w, aj, fichas, v.jug1, h1, local1), word1, v.Si,
            lista1, v.prev1, 0.0f, rng, p1);

    // Player 1's own list has served its trigger; player 2 reads it, with the preview on top
    // under successive moves.
    const int h2 = mitadJugador2(aj, p1.disp);
    int n1 = v.prev1;
    if (aj.sucesivas) {
        n1 = v.prev1 + 1;
        lista1.slotPrevio = n1;
        lista1.previo = registroPrevio(w, aj, v);
    }
    const std::uint16_t word2 = conocimiento(w, aj, v.jug2, 1, h2, lista1, n1, aj.sucesivas);
    decidir(w, aj, v.jug2, v.jug1, 2, h2, fichaDe(w, aj, fichas, v.jug2, h2, local2), word2, v.Si,
            lista2, v.prev2, p1.f, rng, v.jugador[1]);
}

void calcularPagos(const World& w, const AjustesPartida& aj, EncounterValues& v) {
    const PayoffMatrix& m = w.pagos;
    const float f1 = v.jugador[0].f, f2 = v.jugador[1].f;
    const float d1 = v.jugador[0].disp, d2 = v.jugador[1].disp;
    if (!aj.tarta) {
        v.pago = {pagoEsperado(m, aj.copia, 1, d1, d2), pagoEsperado(m, aj.copia, 2, d2, d1)};
    } else if ((1.0f - f1) + (1.0f - f2) <= 1.0f) {
        // Each player claims the share of the cake it does not give away.
        v.pago = {(1.0f - f1) * m.PayoffMax[1], (1.0f - f2) * m.PayoffMax[2]};
    } else {
        v.pago = {0.0f, 0.0f};
    }
    v.exito = {exito(m, 1, v.pago[0]), exito(m, 2, v.pago[1])};
    const std::uint8_t e1 = equidad1(v.exito[0], v.exito[1], aj.equidadUno);
    v.equidad = {e1, static_cast<std::uint8_t>(aj.equidadUno ? e1 : 100 - e1)};
}

float entreCeroYUno(float x) {
    if (!(x >= 0.0f)) return 0.0f;  // a NaN counts as nothing
    return x > 1.0f ? 1.0f : x;
}

void anotarFilaSeleccionada(const World& w, GenerationReport& r, const EncounterValues& v) {
    const int sel = w.CasillaSel;
    if (sel != v.jug1 && sel != v.jug2) return;
    FilaResultado fila = filaResultado(v, sel);
    if (fila.slot > w.MovPosibles) return;  // beyond the table, as beyond the records
    if (r.FilasSelCelda != sel) {
        r.FilasSel.clear();
        r.FilasSelCelda = static_cast<std::int16_t>(sel);
    }
    if (r.FilasSel.size() < static_cast<std::size_t>(fila.slot)) r.FilasSel.resize(fila.slot);
    r.FilasSel[fila.slot - 1] = fila;
}

// The two records of the encounter. A generation that gave a cell more moves than MovPosibles
// would write past its list; such an encounter still pays but leaves no record.
void anotarRegistros(const World& w, GenerationReport& r, IndiceRegistros* ix,
                     const AjustesPartida& aj, const FichasGeneracion* fichas,
                     const EncounterValues& v, const std::array<LugarSocio, 2>* lugares) {
    const std::array<int, 2> jug = {v.jug1, v.jug2};
    const std::array<int, 2> slot = {v.prev1 + 1, v.prev2 + 1};
    if (slot[0] > w.MovPosibles || slot[1] > w.MovPosibles) return;
    if (static_cast<std::size_t>(std::max(slot[0], slot[1])) >= r.slotsPerCell) return;
    // Positions worked out before the first byte is stored: a byte store may alias anything, and
    // the world's sizes would be read again after each one.
    const std::array<std::size_t, 2> fila = {r.slotIndex(jug[0], 0), r.slotIndex(jug[1], 0)};
    std::int32_t* const jugadas = r.Jugadas.data();
    std::uint8_t* const movA = r.MovA.data();
    std::uint8_t* const movB = r.MovB.data();
    std::array<std::uint8_t, 2> bytesA{};
    std::array<std::int32_t, 2> registro{};
    for (int k = 0; k < 2; ++k) {
        const LadoPartida& p = v.jugador[k];
        bytesA[k] = byteRegistro((aj.ciEsExito ? v.exito[k] : p.f) * 100.0f);
        registro[k] = registro::make(jug[1 - k], k, slot[1 - k], p.disparo, p.mitad);
    }
    for (int k = 0; k < 2; ++k) {
        jugadas[fila[k]] = slot[k];
        jugadas[fila[k] + slot[k]] = registro[k];
        movA[fila[k] + slot[k]] = bytesA[k];
        movB[fila[k] + slot[k]] = v.equidad[k];
    }
    if (ix == nullptr) return;
    for (int k = 0; k < 2; ++k) {
        if (lugares != nullptr)
            anotarEnIndice(*ix, jug[k], slot[k], registro[k], bytesA[k], v.equidad[k],
                           (*lugares)[k]);
        else if (fichas != nullptr)
            anadirAlIndice(*ix, jug[k], slot[k], registro[k], bytesA[k], v.equidad[k]);
        else
            indexarRegistro(w, r, *ix, jug[k], slot[k]);
    }
}

// `lugares`, when given, are where each player keeps its memory of the other in the live index.
std::uint8_t comprometer(const World& w, GenerationReport& r, IndiceRegistros* ix,
                         const AjustesPartida& aj, const FichasGeneracion* fichas,
                         const EncounterValues& v,
                         const std::array<LugarSocio, 2>* lugares = nullptr) {
    const std::array<int, 2> jug = {v.jug1, v.jug2};
    for (int k = 0; k < 2; ++k) {
        r.PagoTotal[jug[k]] += v.pago[k];
        r.CoopTotal[jug[k]] += entreCeroYUno(aj.ciEsExito ? v.exito[k] : v.jugador[k].f);
    }
    anotarRegistros(w, r, ix, aj, fichas, v, lugares);
    for (int k = 0; k < 2; ++k) {
        if (aj.grafico) {
            r.SumaCoop[k] += v.jugador[k].f;
            r.CuentaCoop[k] += 1;
        }
        r.statCoopSum[k] += v.jugador[k].f;
        r.statCoopCount[k] += 1;
    }
    std::uint8_t result = 0;
    if (v.pago[0] < w.UmbralHoy) result |= 1;
    if (v.pago[1] < w.UmbralHoy) result |= 2;
    return result;
}

}  // namespace

namespace {

// The two decisions and the pay-offs of one encounter into v, every value of which it writes.
void decidirYPagar(const World& w, const GenerationReport& r, const IndiceRegistros* ix,
                   const AjustesPartida& aj, const FichasGeneracion* fichas, EncounterValues& v,
                   int jug1, int jug2, int prev1, int prev2, Rng& rng) {
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    v.copia = aj.copia;
    v.SenMask = aj.senMask;
    v.sucesivas = aj.sucesivas;
    v.tarta = aj.tarta;
    v.Si = similitud(w.genoma(aj.copia, jug1), w.genoma(aj.copia, jug2));
    decidirAmbos(w, r, ix, aj, fichas, v, rng);
    calcularPagos(w, aj, v);
    v.resultado = 0;
}

// One live encounter into v, committed.
std::uint8_t jugar(const World& w, GenerationReport& r, IndiceRegistros* ix,
                   const AjustesPartida& aj, const FichasGeneracion* fichas, EncounterValues& v,
                   int jug1, int jug2, int prev1, int prev2, Rng& rng) {
    decidirYPagar(w, r, ix, aj, fichas, v, jug1, jug2, prev1, prev2, rng);
    anotarFilaSeleccionada(w, r, v);
    v.resultado = comprometer(w, r, ix, aj, fichas, v);
    return v.resultado;
}

}  // namespace

void replayEncounter(const World& w, const GenerationReport& r, int jug1, int jug2, int prev1,
                     int prev2, Rng& rng, EncounterValues& out) {
    const AjustesPartida aj = ajustesPartida(w, kPrevio);
    decidirYPagar(w, r, nullptr, aj, nullptr, out, jug1, jug2, prev1, prev2, rng);
}

std::uint8_t JugarPartida(const World& w, GenerationReport& r, IndiceRegistros* ix, int jug1,
                          int jug2, int prev1, int prev2, int copia, Rng& rng,
                          EncounterValues* out) {
    EncounterValues v;
    std::uint8_t result = 0;
    if (copia == kPrevio) {
        replayEncounter(w, r, jug1, jug2, prev1, prev2, rng, v);
    } else {
        const AjustesPartida aj = ajustesPartida(w, kActual);
        result = jugar(w, r, ix, aj, nullptr, v, jug1, jug2, prev1, prev2, rng);
    }
    if (out != nullptr) *out = v;
    return result;
}

FichasGeneracion prepararFichas(const World& w, GenerationReport& r, IndiceRegistros* ix) {
    FichasGeneracion f;
    f.ajustes = ajustesPartida(w, kActual);
    f.informe = &r;
    f.indice = ix;
    const auto& genomas = w.genomas[kActual];
    f.celdas.resize(genomas.size());
    for (std::size_t c = 0; c < genomas.size(); ++c)
        for (int h = 0; h < 2; ++h) f.celdas[c][h] = fichaMitad(genomas[c], h, f.ajustes.senMask);
    return f;
}

namespace {

// A live encounter on the record index that no view asks about: the encounter jugar() plays, made
// in one piece so that its values stay in registers and those only a view reads are never stored.
[[gnu::flatten]] std::uint8_t jugarSinVista(const World& w, GenerationReport& r,
                                            IndiceRegistros& ix, const FichasGeneracion& fichas,
                                            int jug1, int jug2, int prev1, int prev2, Rng& rng) {
    const AjustesPartida& aj = fichas.ajustes;
    // The generation's scratch values: a fresh local would be cleared field by field every time.
    EncounterValues& v = fichas.enJuego;
    v.jug1 = jug1;
    v.jug2 = jug2;
    v.prev1 = prev1;
    v.prev2 = prev2;
    v.Si = similitud(fichas.celdas[jug1][0], fichas.celdas[jug2][0]);
    // Each player's memory of the other is found once: the searches read it, the records join it.
    const std::array<LugarSocio, 2> lugares = {lugarSocio(ix, jug1, jug2),
                                               lugarSocio(ix, jug2, jug1)};
    decidirAmbosVivo<false>(w, ix, aj, fichas, v, rng, memoriaEn(ix, lugares[0]),
                            memoriaEn(ix, lugares[1]));
    calcularPagos(w, aj, v);
    return comprometer(w, r, &ix, aj, &fichas, v, &lugares);
}

}  // namespace

std::uint8_t JugarPartida(const World& w, const FichasGeneracion& fichas, int jug1, int jug2,
                          int prev1, int prev2, Rng& rng) {
    GenerationReport& r = *fichas.informe;
    IndiceRegistros* const ix = fichas.indice;
    if (ix != nullptr && w.CasillaSel != jug1 && w.CasillaSel != jug2 &&
        prev1 == ix->cabeceras[jug1].indexados && prev2 == ix->cabeceras[jug2].indexados)
        return jugarSinVista(w, r, *ix, fichas, jug1, jug2, prev1, prev2, rng);
    return jugar(w, r, ix, fichas.ajustes, &fichas, fichas.enJuego, jug1, jug2, prev1, prev2, rng);
}

FilaResultado filaResultado(const EncounterValues& v, int cell) {
    const int k = cell == v.jug1 ? 0 : 1;
    FilaResultado fila;
    fila.slot = static_cast<std::int16_t>((k == 0 ? v.prev1 : v.prev2) + 1);
    fila.Si = v.Si;
    fila.SenMask = v.SenMask;
    fila.propio = v.jugador[k];
    fila.rival = v.jugador[1 - k];
    return fila;
}

}  // namespace morvane
