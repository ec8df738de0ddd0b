#include "io/strategy_sections.h"

#include "io/genome_field_names.h"
#include "io/number_format.h"

namespace morvane {

namespace {

constexpr int kFirstStoredSlot = 2;
constexpr int kLastStoredSlot = 20;
constexpr std::string_view kRangosHeader = "[Rangos]";
constexpr std::string_view kEstrategiasHeader = "[Estrategias]";

std::string reals(std::initializer_list<float> values) {
    std::string s;
    for (auto v : values) s += generalFloat(v);
    return s;
}

// A name is one line of text: a line break pasted into it would split the block, and another
// control character would make the file look binary, so each becomes a blank.
std::string nameLine(const std::string& name) {
    if (name.empty()) return std::string(kUnnamedSlotText);
    std::string line = name;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = ' ';
    return line;
}

void writeSlot(std::string& out, const StrategySlot& slot) {
    const ListGenoma& g = slot.genoma;
    const ListGenomePart& a = g.parte[0];
    const ListGenomePart& b = g.parte[1];
    appendLine(out, nameLine(slot.name));
    appendLine(out, generalWholes({slot.Reparto}));
    appendLine(out, generalWholes({a.Busqueda, b.Busqueda}));
    for (const ListGenomePart* p : {&a, &b}) {
        appendLine(out, generalWholes({p->Y0, p->X1, p->Y1}));
        appendLine(out, generalWholes({p->X2, p->Y2, p->Y3}));
    }
    appendLine(out, reals({a.SenIC, a.SenIA, a.SenIP}));
    appendLine(out, reals({b.SenIC, b.SenIA, b.SenIP}));
    appendLine(out, reals({a.ValIC, a.ValIA, a.ValIP}));
    appendLine(out, reals({b.ValIC, b.ValIA, b.ValIP}));
    appendLine(out, reals({a.Incertidumbre, b.Incertidumbre}));
    appendLine(out, generalWholes({a.Irregular, b.Irregular}));
    appendLine(out, generalWholes({a.TriggerMin, b.TriggerMin}));
    appendLine(out, generalWholes({a.TriggerMax, b.TriggerMax}));
    appendLine(out, generalWholes({a.Trigger, b.Trigger}));
    appendLine(out, generalWholes({g.VecinosImitacion}));
    appendLine(out, generalWholes({g.Colores[0], g.Colores[1], g.Colores[2]}));
    appendLine(out, generalWholes({g.Colores[3], g.Colores[4], g.Colores[5]}));
}

// Sensibilities and valuations: floats in the list that a seeded cell holds in a byte.
void readCellBytes(LineReader& in, std::string_view what, float& x, float& y, float& z,
                   const char* const names[3]) {
    if (!in.numbers(3, what)) return;
    x = in.realFitting(0, names[0], 0, 255);
    y = in.realFitting(1, names[1], 0, 255);
    z = in.realFitting(2, names[2], 0, 255);
}

void readSlotValues(LineReader& in, StrategySlot& slot) {
    using namespace field_names;
    ListGenoma& g = slot.genoma;
    if (in.numbers(1, "Reparto")) slot.Reparto = in.whole<std::int16_t>(0, "Reparto");
    readPair(in, "Busqueda", g.parte[0].Busqueda, g.parte[1].Busqueda);
    for (int p = 0; p < 2; ++p) {
        ListGenomePart& h = g.parte[p];
        readBytes(in, "the curve points", h.Y0, h.X1, h.Y1, kCurveFirst[p]);
        readBytes(in, "the curve points", h.X2, h.Y2, h.Y3, kCurveSecond[p]);
    }
    for (int p = 0; p < 2; ++p) {
        ListGenomePart& h = g.parte[p];
        readCellBytes(in, "the sensibilities", h.SenIC, h.SenIA, h.SenIP, kSen[p]);
    }
    for (int p = 0; p < 2; ++p) {
        ListGenomePart& h = g.parte[p];
        readCellBytes(in, "the valuations", h.ValIC, h.ValIA, h.ValIP, kVal[p]);
    }
    if (in.numbers(2, "Incertidumbre")) {
        g.parte[0].Incertidumbre = in.realFitting(0, "Incertidumbre (part 0)", -32768, 32767);
        g.parte[1].Incertidumbre = in.realFitting(1, "Incertidumbre (part 1)", -32768, 32767);
    }
    readPair(in, "Irregular", g.parte[0].Irregular, g.parte[1].Irregular);
    readPair(in, "TriggerMin", g.parte[0].TriggerMin, g.parte[1].TriggerMin);
    readPair(in, "TriggerMax", g.parte[0].TriggerMax, g.parte[1].TriggerMax);
    readPair(in, "Trigger", g.parte[0].Trigger, g.parte[1].Trigger);
    if (in.numbers(1, "VecinosImitacion")) {
        g.VecinosImitacion = in.whole<std::int32_t>(0, "VecinosImitacion");
    }
    for (int half = 0; half < 2; ++half) {
        if (!in.numbers(3, "the colours")) return;
        for (int k = 0; k < 3; ++k)
            g.Colores[3 * half + k] = in.whole<std::int16_t>(k, kColour[half][k]);
    }
}

bool isHeader(std::string_view line, std::string_view header) {
    const auto first = line.find_first_not_of(" \t");
    const auto last = line.find_last_not_of(" \t");
    return first != std::string_view::npos && line.substr(first, last - first + 1) == header;
}

void readRangos(LineReader& in, Rangos& strategyLimits) {
    in.emptyLine("the empty line before [Rangos]");
    const auto header = in.text("the header [Rangos]");
    if (header && !isHeader(*header, kRangosHeader)) {
        in.fail("expected the header [Rangos], found " + quoteToken(*header));
    }
    in.emptyLine("the empty line after [Rangos]");
    for (int k = 0; k < kNumLimits && in.ok(); ++k) {
        in.setContext("limits of parameter " + std::to_string(k));
        if (!in.numbers(4, "the limits line")) break;
        auto& lim = strategyLimits.limits[k];
        lim[0][0] = in.whole<std::int32_t>(0, "Min (part 0)");
        lim[0][1] = in.whole<std::int32_t>(1, "Max (part 0)");
        lim[1][0] = in.whole<std::int32_t>(2, "Min (part 1)");
        lim[1][1] = in.whole<std::int32_t>(3, "Max (part 1)");
    }
    in.setContext("");
}

// Characters of UTF-8 text: every byte but the continuation bytes starts one.
std::size_t characterCount(std::string_view text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

// What follows the list is nothing or blank lines: text there is a block the list has no slot for,
// or a second file pasted after the first, and would be lost without a word.
void readEnd(LineReader& in) {
    while (in.ok() && in.peek()) {
        const auto line = in.text("the end of the file");
        if (line->find_first_not_of(" \t") != std::string_view::npos)
            in.fail("text after the last strategy block: " + quoteToken(*line));
    }
}

}  // namespace

void writeStrategySections(std::string& out, const Rangos& strategyLimits,
                           const StrategyList& list) {
    appendLine(out, "");
    appendLine(out, kRangosHeader);
    appendLine(out, "");
    for (const auto& lim : strategyLimits.limits)
        appendLine(out, generalWholes({lim[0][0], lim[0][1], lim[1][0], lim[1][1]}));
    appendLine(out, "");
    appendLine(out, kEstrategiasHeader);
    appendLine(out, "");
    for (int s = kFirstStoredSlot; s <= kLastStoredSlot; ++s) writeSlot(out, list[s]);
}

void readStrategySections(LineReader& in, Rangos& strategyLimits, StrategyList& list,
                          std::size_t maxNameLength, StrategyReading mode) {
    const bool strict = mode == StrategyReading::StrategyFile;
    readRangos(in, strategyLimits);
    in.emptyLine("the empty line after the limits");
    const auto header = in.text("the header [Estrategias]");
    if (!in.ok()) return;
    if (header->find_first_not_of(" \t") == std::string_view::npos) {
        in.fail("the strategy header is empty");
        return;
    }
    if (!isHeader(*header, kEstrategiasHeader)) {
        if (strict) in.fail("expected the header [Estrategias], found " + quoteToken(*header));
        // A scenario with some other section keeps the list in memory.
        return;
    }
    in.emptyLine("the empty line after [Estrategias]");
    int firstUnnamed = 0;
    for (int s = kFirstStoredSlot; s <= kLastStoredSlot && in.ok(); ++s) {
        const std::string where = "strategy slot " + std::to_string(s);
        const auto name = in.text("the name of " + where);
        if (!name) break;
        if (const std::size_t length = characterCount(*name); length > maxNameLength) {
            in.fail("the name of " + where + " has " + std::to_string(length) +
                    " characters, more than the " + std::to_string(maxNameLength) + " allowed");
            break;
        }
        StrategySlot slot;
        slot.name = (*name == kUnnamedSlotText) ? std::string() : std::string(*name);
        if (slot.name.empty() && firstUnnamed == 0) firstUnnamed = s;
        if (strict && !slot.name.empty() && firstUnnamed != 0) {
            in.fail(where + " is named " + quoteToken(*name) + " after the unnamed slot " +
                    std::to_string(firstUnnamed) + ": the list would end at the unnamed slot");
            break;
        }
        in.setContext(where);
        readSlotValues(in, slot);
        if (in.ok()) list[s] = slot;
    }
    in.setContext("");
    readEnd(in);
}

}  // namespace morvane
