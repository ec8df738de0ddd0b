// The reading half of the scenario file: every line is checked as it is read, into a copy of the
// world that replaces the caller's only when the whole file was read.

#include <cstdint>
#include <string>
#include <string_view>

#include "games/payoff.h"
#include "io/genome_field_names.h"
#include "io/line_reader.h"
#include "io/number_format.h"
#include "io/scenario_file.h"
#include "io/strategy_sections.h"
#include "state/vista.h"
#include "world/neighbourhood.h"

namespace morvane {

namespace {

void readSize(LineReader& in, World& w) {
    if (!in.numbers(2, "the size line")) return;
    const auto cols = in.whole<std::int16_t>(0, "NumColumnas");
    const auto rows = in.whole<std::int16_t>(1, "NumFilas");
    if (!in.ok()) return;
    const std::int32_t cells = std::int32_t{cols} * rows;
    if (cols <= 0 || rows <= 0 || cells > kMaxCells) {
        in.fail("a world of " + std::to_string(cols) + " x " + std::to_string(rows) +
                " cells: columns and rows must be positive and give at most " +
                std::to_string(kMaxCells) + " cells");
        return;
    }
    w.NumColumnas = cols;
    w.NumFilas = rows;
}

// A pay-off beyond the matrix's bound would make scores overflow; the file is refused at it.
float readPayoff(LineReader& in, std::size_t i, std::string_view name) {
    const float v = in.real(i, name);
    if (in.ok() && !payoffWithinBound(v)) in.failField(i, name, payoffBeyondBoundReason());
    return v;
}

void readPayoffs(LineReader& in, PayoffMatrix& m) {
    if (!in.numbers(8, "the pay-offs")) return;
    m.T[1] = readPayoff(in, 0, "T(1)");
    m.R[1] = readPayoff(in, 1, "R(1)");
    m.P[1] = readPayoff(in, 2, "P(1)");
    m.S[1] = readPayoff(in, 3, "S(1)");
    m.T[2] = readPayoff(in, 4, "T(2)");
    m.R[2] = readPayoff(in, 5, "R(2)");
    m.P[2] = readPayoff(in, 6, "P(2)");
    m.S[2] = readPayoff(in, 7, "S(2)");
    if (in.ok()) UpdatePayoffMatrix(m);
}

void readSettings(LineReader& in, World& w) {
    if (in.numbers(5, "the thresholds line")) {
        w.UmbralSupervivencia = in.real(0, "UmbralSupervivencia");
        w.UmbralReproduccion = in.real(1, "UmbralReproduccion");
        w.UmbralHoy = in.real(2, "UmbralHoy");
        w.FrecMutacion = in.real(3, "FrecMutacion");
        w.payoffs.GameIndex = in.whole<std::int16_t>(4, "GameIndex");
    }
    Neighbourhood& v = w.neighbourhood;
    RunOptions& o = w.options;
    if (in.numbers(4, "the neighbourhood and options line")) {
        v.CodVecin[0] = in.whole<std::uint8_t>(0, "CodVecin(0)");
        v.CodVecin[1] = in.whole<std::uint8_t>(1, "CodVecin(1)");
        o.Opciones[0] = in.whole<std::int16_t>(2, "Opciones(0)");
        o.Opciones[1] = in.whole<std::int16_t>(3, "Opciones(1)");
    }
    if (in.numbers(2, "the neighbourhood masks")) {
        v.MascaraVecinos[0] = in.whole<std::int32_t>(0, "MascaraVecinos(0)");
        v.MascaraVecinos[1] = in.whole<std::int32_t>(1, "MascaraVecinos(1)");
    }
    if (in.numbers(1, "Repes")) {
        v.Repes = in.whole<std::uint8_t>(0, "Repes");
        // The run sizes its move records from Repes and walks the positions of the code.
        const int partners = partnerCount(v.CodVecin[kActual]);
        if (in.ok() && v.Repes != partners) {
            in.fail("Repes " + std::to_string(v.Repes) + " does not match the neighbourhood code " +
                    std::to_string(v.CodVecin[kActual]) + ", which gives " +
                    std::to_string(partners) + " partners");
        }
    }
}

float readVista(LineReader& in) {
    if (!in.numbers(1, "Vista")) return 0;
    const float x = in.real(0, "Vista");
    if (!in.ok()) return 0;
    if (!(x >= 0.0f && x <= kVistaMax)) {
        in.failField(0, "Vista", "lies outside 0..1048576");
    } else if (vistaIteraciones(x) == 0) {
        in.failField(0, "Vista", "gives 0 rounds");
    }
    return x;
}

void readCell(LineReader& in, Genoma& g) {
    using namespace field_names;
    GenomePart& a = g.parte[0];
    GenomePart& b = g.parte[1];
    readPair(in, "Busqueda", a.Busqueda, b.Busqueda, "the cell block");
    readBytes(in, "the cell block", a.Y0, a.X1, a.Y1, kCurveFirst[0]);
    readBytes(in, "the cell block", a.X2, a.Y2, a.Y3, kCurveSecond[0]);
    readBytes(in, "the cell block", b.Y0, b.X1, b.Y1, kCurveFirst[1]);
    readBytes(in, "the cell block", b.X2, b.Y2, b.Y3, kCurveSecond[1]);
    readBytes(in, "the cell block", a.SenIC, a.SenIA, a.SenIP, kSen[0]);
    readBytes(in, "the cell block", b.SenIC, b.SenIA, b.SenIP, kSen[1]);
    readBytes(in, "the cell block", a.ValIC, a.ValIA, a.ValIP, kVal[0]);
    readBytes(in, "the cell block", b.ValIC, b.ValIA, b.ValIP, kVal[1]);
    readPair(in, "Incertidumbre", a.Incertidumbre, b.Incertidumbre, "the cell block");
    readPair(in, "Irregular", a.Irregular, b.Irregular, "the cell block");
    if (in.numbers(1, "the cell block")) {
        g.VecinosImitacion = in.whole<std::int32_t>(0, "VecinosImitacion");
    }
    readPair(in, "TriggerMin", a.TriggerMin, b.TriggerMin, "the cell block");
    readPair(in, "TriggerMax", a.TriggerMax, b.TriggerMax, "the cell block");
    readPair(in, "Trigger", a.Trigger, b.Trigger, "the cell block");
    readBytes(in, "the cell block", g.Colores[0], g.Colores[1], g.Colores[2], kColour[0]);
    readBytes(in, "the cell block", g.Colores[3], g.Colores[4], g.Colores[5], kColour[1]);
}

// The cell blocks end where the sections begin: an empty line or a header there means the file
// holds fewer cells than its size line gives.
bool cellBlockEnded(const LineReader& in) {
    const auto next = in.peek();
    return next && (next->find_first_not_of(" \t") == std::string_view::npos ||
                    next->find('[') != std::string_view::npos);
}

void readCells(LineReader& in, World& w) {
    for (int c = 1; c <= w.NumJugadores && in.ok(); ++c) {
        if (cellBlockEnded(in)) {
            in.failAt(in.lineNumber() + 1, "the cell blocks end before cell " + std::to_string(c) +
                                               " of the " + std::to_string(w.NumJugadores) +
                                               " the size line gives");
            return;
        }
        in.setContext("cell " + std::to_string(c));
        readCell(in, w.genoma(kActual, c));
    }
    in.setContext("");
    // One more block where the sections should begin: the size line gives too few cells.
    const auto next = in.peek();
    if (in.ok() && next && !splitNumbers(*next).empty() && next->find('[') == std::string::npos) {
        in.failAt(in.lineNumber() + 1, "more cell blocks than the " +
                                           std::to_string(w.NumJugadores) + " the size line gives");
    }
}

}  // namespace

LoadResult readScenarioText(World& w, std::string_view text, const ReadLimits& limits) {
    if (text.size() > limits.maxBytes) {
        return {false, 0,
                "its " + std::to_string(text.size()) + " bytes are more than the " +
                    std::to_string(limits.maxBytes) + " a scenario file may hold"};
    }
    // Editors that save UTF-8 may put a byte-order mark before the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    if (auto bad = checkTextFile(text)) return {false, bad->line, bad->reason};
    LineReader in(text);
    World n = w;
    readSize(in, n);
    readPayoffs(in, n.payoffs);
    readSettings(in, n);
    const float vista = readVista(in);
    if (in.ok()) {
        CrearMundo(n);
        readCells(in, n);
    }
    if (in.ok()) readStrategySections(in, n.Rangos, n.ListaEstrategias, limits.maxNameLength);
    if (!in.ok()) return {false, in.error()->line, in.error()->reason};

    PrepararCeldaCero(n);
    decodeVista(n, vista);
    n.CasillaSel = initialSelectedCell(n);
    BuildNeighbourTable(n.neighbourhood, n.NumColumnas, n.NumFilas, n.NumJugadores);
    w = std::move(n);
    return {};
}

}  // namespace morvane
