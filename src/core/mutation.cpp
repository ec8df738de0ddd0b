#include "core/mutation.h"

#include <algorithm>

#include "base/rng.h"
#include "strategy/limits.h"

namespace morvane {

namespace {

// A colour component 1..254: colours 0 and 255 stay free for the board's own marks.
std::uint8_t drawColour(Rng& rng) {
    return static_cast<std::uint8_t>(rng.below(254) + 1);
}

// 0, 1 or 2 with probabilities 1/4, 1/2, 1/4.
int drawComponent(Rng& rng) {
    return static_cast<int>(rng.integer(2, 0.5));
}

struct Mutation {
    World& w;
    Rng& rng;
    Genoma& g;
    int h;
    std::uint32_t rows = 0;

    GenomePart& part() { return g.parte[h]; }
    // Held within the field of parameter q, as seeding holds it.
    int drawField(int q) { return drawForField(w.Rangos, rng, q, h); }

    // A drawn value lands in its own sub-field only: the masks keep exactly the other fields.
    std::int16_t packedWrite(std::int32_t kept, std::int32_t keepMask, int value, int scale,
                             std::int32_t fieldMask) {
        return static_cast<std::int16_t>(((value * scale) & fieldMask) + (kept & keepMask));
    }

    void curveInputs(int q);
    void sensibilities(int q);
    void apply(int q);
};

// The inputs keep X1 < X2 and stay within 1..99. The drawn value is
// X1 = floor(u (X2 - 2)) + 1 or X2 = floor(u (98 - X1)) + X1 + 1, clamped into 1..X2-1 or
// X1+1..99; when that range is empty (X2 <= 1, X1 >= 99) the field keeps its value. Either way
// exactly one draw is made.
void Mutation::curveInputs(int q) {
    GenomePart& pt = part();
    const float u = rng.uniform();
    if (q == 10) {
        const int hi = pt.X2 - 1;
        const int x1 = static_cast<int>(drawInteger(u, pt.X2 - 2, 1));
        if (hi >= 1) pt.X1 = static_cast<std::uint8_t>(std::clamp(x1, 1, hi));
    } else {
        const int lo = pt.X1 + 1;
        const int x2 = static_cast<int>(drawInteger(u, 98 - pt.X1, pt.X1 + 1));
        if (lo <= 99) pt.X2 = static_cast<std::uint8_t>(std::clamp(x2, lo, 99));
    }
}

// One sensibility is drawn within its limits, the next within what is left, and the third takes
// the rest, so the triple keeps summing to 100.
void Mutation::sensibilities(int q) {
    GenomePart& pt = part();
    const int first = drawField(q);
    const int second = rng.below(101 - first);
    const int third = 100 - second - first;
    auto set = [](std::uint8_t& a, std::uint8_t& b, std::uint8_t& c, int x, int y, int z) {
        a = static_cast<std::uint8_t>(x), b = static_cast<std::uint8_t>(y),
        c = static_cast<std::uint8_t>(z);
    };
    if (q == 15) set(pt.SenIC, pt.SenIA, pt.SenIP, first, second, third);
    if (q == 16) set(pt.SenIA, pt.SenIP, pt.SenIC, first, second, third);
    if (q == 17) set(pt.SenIP, pt.SenIC, pt.SenIA, first, second, third);
}

void Mutation::apply(int q) {
    GenomePart& pt = part();
    auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    switch (q) {
        case 3:
        case 4:
        case 5:
            g.Colores[q] = drawColour(rng);
            break;
        case 6:
            pt.Busqueda = packedWrite(pt.Busqueda, 16320, drawField(6), 8, 56);
            break;
        case 7:
            pt.Busqueda = packedWrite(pt.Busqueda, 15423, drawField(7), 64, 960);
            break;
        case 8:
            pt.Busqueda = packedWrite(pt.Busqueda, 1023, drawField(8), 1024, 15360);
            break;
        case 9:
            pt.Y0 = byte(drawField(9));
            break;
        case 10:
        case 12:
            curveInputs(q);
            break;
        case 11:
            pt.Y1 = byte(drawField(11));
            break;
        case 13:
            pt.Y2 = byte(drawField(13));
            break;
        case 14:
            pt.Y3 = byte(drawField(14));
            break;
        case 15:
        case 16:
        case 17:
            sensibilities(q);
            break;
        case 18:
            pt.ValIC = byte(drawField(18));
            break;
        case 19:
            pt.ValIA = byte(drawField(19));
            break;
        case 20:
            pt.ValIP = byte(drawField(20));
            break;
        case 21:
            pt.Incertidumbre = packedWrite(pt.Incertidumbre, 32640, drawField(21), 1, 127);
            break;
        case 22:
            pt.Incertidumbre = packedWrite(pt.Incertidumbre, 16511, drawField(22), 128, 16256);
            break;
        case 23:
            pt.Incertidumbre = static_cast<std::int16_t>(pt.Incertidumbre ^ 16384);
            break;
        case 24:
            pt.Irregular = byte(drawField(24));
            break;
        case 25:
            g.VecinosImitacion = rng.below(16777215) + 1;
            break;
        case 26:
            pt.TriggerMin = byte(drawField(26));
            break;
        case 27:
            pt.TriggerMax = byte(drawField(27));
            break;
        case 28:
            pt.Trigger = packedWrite(pt.Trigger, 1920, drawField(28), 1, 127);
            break;
        case 29:
            pt.Trigger = packedWrite(pt.Trigger, 1791, drawField(29), 256, 256);
            break;
        default:
            pt.Trigger = packedWrite(pt.Trigger, 511, drawField(30), 512, 7680);
            break;
    }
    rows |= 1u << mutationViewRow(q);
}

}  // namespace

int mutationViewRow(int p) {
    if (p <= 5) return p - 2;
    if (p <= 8) return 7;
    if (p <= 17) return p - 1;
    if (p <= 25) return p - 4;
    if (p <= 27) return 22;
    if (p == 28) return 23;
    return 24;
}

void Mutar(World& w, Rng& rng, int cell, std::vector<MutationRecord>* records) {
    const int p = static_cast<int>(rng.integer(27, 0.5)) + 3;
    const bool complete = w.options.mnuOpcion[1];
    const int h = static_cast<int>(rng.integer(1, 0.5));
    Genoma& g = w.genoma(kActual, cell);

    MutationRecord* record = nullptr;
    if (records != nullptr && w.options.mnuVerMutaciones) {
        record = &records->emplace_back();
        record->generation = w.Generacion;
        record->cell = static_cast<std::int16_t>(cell);
        record->parte = static_cast<std::uint8_t>(h);
        record->before = g;
    }

    Mutation m{w, rng, g, h};
    for (int q = 3; q <= 30; ++q) {
        // The triple is rebalanced by one case only: 16 and 17 never run under complete mutation.
        if (q == p || (complete && q != 16 && q != 17)) m.apply(q);
    }
    // A mutant changes colour so that it can be told apart on the board.
    if (w.options.mnuOpcion[2] && p > 5) {
        const int c = drawComponent(rng) + 3;
        g.Colores[c] = drawColour(rng);
    }
    if (!(w.options.mnuOpcion[5] && p <= 5)) {
        const int c = drawComponent(rng);
        g.Colores[c] = drawColour(rng);
    }
    if (record != nullptr) {
        record->coloursAfter = g.Colores;
        record->changedRows = m.rows;
    }
}

}  // namespace morvane
