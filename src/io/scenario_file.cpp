#include "io/scenario_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "core/vista.h"
#include "games/payoff.h"
#include "io/number_format.h"
#include "io/strategy_sections.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

constexpr std::uintmax_t kMaxScenarioBytes = 64u << 20;

std::string shortReals(std::initializer_list<float> values) {
    std::string s;
    for (auto v : values) s += shortFloat(v);
    return s;
}

void writeHeader(std::string& out, const World& w) {
    const PayoffMatrix& m = w.pagos;
    const Neighbourhood& v = w.vecindad;
    const RunOptions& o = w.opciones;
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
    const auto& live = w.genomas[kActual];
    for (int c = 1; c <= w.NumJugadores && c < static_cast<int>(live.size()); ++c)
        writeCell(out, live[c]);
    writeStrategySections(out, w.rangos, w.estrategias);
    return out;
}

SaveResult GuardarEscenario(const World& w, const std::string& path) {
    if (w.NumJugadores <= 0 || w.NumJugadores != w.NumColumnas * w.NumFilas ||
        static_cast<int>(w.genomas[kActual].size()) <= w.NumJugadores) {
        return {false, "there is no world to store"};
    }
    const std::string text = scenarioText(w);
    // A file that would not load back is worse than none: the user believes the world is kept.
    World check = w;
    const LoadResult back = readScenarioText(check, text);
    if (!back.ok) {
        return {false, "the world cannot be stored: line " + std::to_string(back.line) +
                           " would read back as an error: " + back.reason};
    }

    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return {false, "cannot create " + temp.string() + ": " + std::strerror(errno)};
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {false, "cannot write " + temp.string()};
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, "cannot replace " + target.string() + ": " + ec.message()};
    }
    return {};
}

LoadResult CargarEscenario(World& w, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(path, ec)) return {false, 0, "cannot open " + path + ": it is a folder"};
    // The largest world's file is about 2 MB; anything far beyond it is not a scenario, and is
    // not read into memory whole.
    const auto size = fs::file_size(path, ec);
    if (!ec && size > kMaxScenarioBytes) {
        return {false, 0, "cannot open " + path + ": too large for a scenario file"};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, 0, "cannot open " + path + ": " + std::strerror(errno)};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return {false, 0, "cannot read " + path};
    return readScenarioText(w, buffer.str());
}

}  // namespace morvane
