#include "encounter/results_table.h"

#include <algorithm>

#include "encounter/encounter.h"
#include "encounter/history.h"
#include "encounter/number_text.h"

namespace morvane {

TablaResultados MostrarPartidas(const World& w, const GenerationReport& rep, int cell,
                                Rng& replayRng) {
    TablaResultados t;
    if (!celdaValida(w, cell) || !registrosLegibles(w, rep)) return t;
    t.celda = static_cast<std::int16_t>(cell);
    t.colores = w.genoma(kPrevio, cell).Colores;
    const int n = std::min<int>(rep.jugadas(cell, 0), static_cast<int>(rep.slotsPerCell) - 1);
    for (int k = 1; k <= n; ++k) {
        const std::int32_t r = rep.jugadas(cell, k);
        const int partner = registro::partner(r), slot = registro::partnerSlot(r);
        if (!slotValido(w, rep, partner, slot)) break;
        EncounterValues v;
        if (registro::role(r) == 0)
            replayEncounter(w, rep, cell, partner, k - 1, slot - 1, replayRng, v);
        else
            replayEncounter(w, rep, partner, cell, slot - 1, k - 1, replayRng, v);
        t.filas.push_back(filaResultado(v, cell));
    }
    return t;
}

CabecerasIndice cabecerasIndice(const World& w) {
    const bool exito = w.opciones.CiEsExitoMenu != 0;
    CabecerasIndice c;
    c.ciR = exito ? "Sc R" : "Ci R";
    c.ciP = exito ? "Sc P" : "Ci P";
    c.cursiva = w.opciones.CiEsExitoMenu != w.opciones.CiEsExito;
    c.etiquetaMedia = exito ? "Average Success R" : "Average Coop R";
    c.cabeceraDetalle = exito ? "Success R" : "Coop R";
    return c;
}

CabecerasIndice CambiarIndice(World& w) {
    w.opciones.CiEsExitoMenu = w.opciones.CiEsExitoMenu == 0 ? 1 : 0;
    return cabecerasIndice(w);
}

std::string TextoFormula(const FilaResultado& fila, bool rival) {
    const LadoPartida& lado = rival ? fila.rival : fila.propio;
    const int mask = fila.SenMask & 7;
    const std::string x = " -> x = " + textoDecimal(lado.x, 2);
    if (mask == 0) return "Cte. -> x = 1";
    const std::array<float, 3> idx = {lado.Ci, lado.Ei, fila.Si};
    const auto termino = [&](int i) {
        return textoDecimal(idx[i], 2) + " - (1 - " + textoDecimal(lado.val[i], 2) + ")| * ";
    };
    std::string texto = "Function " + std::to_string(lado.mitad) + " -> |";
    if (mask == 1 || mask == 2 || mask == 4) {
        const int i = mask == 1 ? 0 : mask == 2 ? 1 : 2;
        return texto + termino(i) + "1 " + x;
    }
    bool primero = true;
    for (int i = 0; i < 3; ++i) {
        if ((mask >> i & 1) == 0) continue;
        if (!primero) texto += " + |";
        texto += termino(i) + textoDecimal(lado.peso[i], 2);
        primero = false;
    }
    return texto + x;
}

}  // namespace morvane
