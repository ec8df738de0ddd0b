#include "io/scenario_file.h"

#include "games/payoff.h"
#include "io/atomic_writer.h"
#include "io/bounded_read.h"
#include "io/number_format.h"
#include "io/strategy_sections.h"
#include "state/vista.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

std::string shortReals(std::initializer_list<float> values) {
    std::string s;
    for (auto v : values) s += shortFloat(v);
    return s;
}

void writeHeader(std::string& out, const World& w) {
    const PayoffMatrix& m = w.payoffs;
    const Neighbourhood& v = w.neighbourhood;
    const RunOptions& o = w.options;
    appendLine(out, generalWholes({w.NumColumnas, w.NumFilas}));
    appendLine(out, shortReals({m.T[1], m.R[1], m.P[1], m.S[1], m.T[2], m.R[2], m.P[2], m.S[2]}));
    appendLine(out, shortReals({w.UmbralSupervivencia, w.UmbralReproduccion, w.UmbralHoy,
                                w.FrecMutacion}) +
                        generalWhole(m.GameIndex));
    appendLine(out, generalWholes({v.CodVecin[0], v.CodVecin[1], o.Opciones[0], o.Opciones[1]}));
    appendLine(out, generalWholes({v.MascaraVecinos[0], v.MascaraVecinos[1]}));
    appendLine(out, generalWholes({v.Repes}));
    appendLine(out, shortFloat(encodeVista(w)));
}

void writeCell(std::string& out, const Genoma& g) {
    const GenomePart& a = g.parte[0];
    const GenomePart& b = g.parte[1];
    appendLine(out, generalWholes({a.Busqueda, b.Busqueda}));
    for (const GenomePart* p : {&a, &b}) {
        appendLine(out, generalWholes({p->Y0, p->X1, p->Y1}));
        appendLine(out, generalWholes({p->X2, p->Y2, p->Y3}));
    }
    appendLine(out, generalWholes({a.SenIC, a.SenIA, a.SenIP}));
    appendLine(out, generalWholes({b.SenIC, b.SenIA, b.SenIP}));
    appendLine(out, generalWholes({a.ValIC, a.ValIA, a.ValIP}));
    appendLine(out, generalWholes({b.ValIC, b.ValIA, b.ValIP}));
    appendLine(out, generalWholes({a.Incertidumbre, b.Incertidumbre}));
    appendLine(out, generalWholes({a.Irregular, b.Irregular}));
    appendLine(out, generalWholes({g.VecinosImitacion}));
    appendLine(out, generalWholes({a.TriggerMin, b.TriggerMin}));
    appendLine(out, generalWholes({a.TriggerMax, b.TriggerMax}));
    appendLine(out, generalWholes({a.Trigger, b.Trigger}));
    appendLine(out, generalWholes({g.Colores[0], g.Colores[1], g.Colores[2]}));
    appendLine(out, generalWholes({g.Colores[3], g.Colores[4], g.Colores[5]}));
}

}  // namespace

std::string scenarioText(const World& w) {
    std::string out;
    writeHeader(out, w);
    const auto& live = w.genomes[kActual];
    for (int c = 1; c <= w.NumJugadores && c < static_cast<int>(live.size()); ++c)
        writeCell(out, live[c]);
    writeStrategySections(out, w.Rangos, w.ListaEstrategias);
    return out;
}

SaveResult storableScenarioText(const World& w, std::string* text, const ReadLimits& limits) {
    if (w.NumJugadores <= 0 || w.NumJugadores != w.NumColumnas * w.NumFilas ||
        static_cast<int>(w.genomes[kActual].size()) <= w.NumJugadores) {
        return {false, "there is no world to store"};
    }
    *text = scenarioText(w);
    // A file that would not load back is worse than none: the user believes the world is kept.
    World check = w;
    const LoadResult back = readScenarioText(check, *text, limits);
    if (back.ok) return {};
    if (back.line == 0) return {false, "the world cannot be stored: " + back.reason};
    return {false, "the world cannot be stored: line " + std::to_string(back.line) +
                       " would read back as an error: " + back.reason};
}

SaveResult GuardarEscenario(const World& w, const std::string& path, const ReadLimits& limits) {
    std::string text;
    if (SaveResult refused = storableScenarioText(w, &text, limits); !refused.ok) return refused;
    const WriteOutcome written = writeFileAtomically(path, text);
    return {written.ok, written.reason};
}

LoadResult CargarEscenario(World& w, const std::string& path, const ReadLimits& limits) {
    std::string text;
    if (auto refused = readRegularFile(path, limits.maxBytes, &text))
        return {false, 0, "cannot open " + path + ": " + *refused};
    return readScenarioText(w, text, limits);
}

}  // namespace morvane
