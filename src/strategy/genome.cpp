#include "strategy/genome.h"

#include "base/numeric.h"

namespace morvane {

namespace {

std::uint8_t toByte(float v) {
    return roundToField<std::uint8_t>(v, 0, 255);
}
std::int16_t toInt16(float v) {
    return roundToField<std::int16_t>(v, -32768, 32767);
}

GenomePart toCellPart(const ListGenomePart& l) {
    GenomePart c;
    c.Busqueda = l.Busqueda;
    c.Y0 = l.Y0, c.X1 = l.X1, c.Y1 = l.Y1, c.X2 = l.X2, c.Y2 = l.Y2, c.Y3 = l.Y3;
    c.SenIC = toByte(l.SenIC), c.SenIA = toByte(l.SenIA), c.SenIP = toByte(l.SenIP);
    c.ValIC = toByte(l.ValIC), c.ValIA = toByte(l.ValIA), c.ValIP = toByte(l.ValIP);
    c.Incertidumbre = toInt16(l.Incertidumbre);
    c.Irregular = l.Irregular;
    c.TriggerMin = l.TriggerMin, c.TriggerMax = l.TriggerMax;
    c.Trigger = l.Trigger;
    return c;
}

ListGenomePart toListPart(const GenomePart& c) {
    ListGenomePart l;
    l.Busqueda = c.Busqueda;
    l.Y0 = c.Y0, l.X1 = c.X1, l.Y1 = c.Y1, l.X2 = c.X2, l.Y2 = c.Y2, l.Y3 = c.Y3;
    l.SenIC = c.SenIC, l.SenIA = c.SenIA, l.SenIP = c.SenIP;
    l.ValIC = c.ValIC, l.ValIA = c.ValIA, l.ValIP = c.ValIP;
    l.Incertidumbre = c.Incertidumbre;
    l.Irregular = c.Irregular;
    l.TriggerMin = c.TriggerMin, l.TriggerMax = c.TriggerMax;
    l.Trigger = c.Trigger;
    return l;
}

}  // namespace

Genoma toCellForm(const ListGenoma& g) {
    Genoma c;
    for (int p = 0; p < 2; ++p) c.parte[p] = toCellPart(g.parte[p]);
    c.VecinosImitacion = g.VecinosImitacion;
    for (int k = 0; k < 6; ++k) c.Colores[k] = static_cast<std::uint8_t>(g.Colores[k] & 0xFF);
    return c;
}

ListGenoma toListForm(const Genoma& g) {
    ListGenoma l;
    for (int p = 0; p < 2; ++p) l.parte[p] = toListPart(g.parte[p]);
    l.VecinosImitacion = g.VecinosImitacion;
    for (int k = 0; k < 6; ++k) l.Colores[k] = g.Colores[k];
    return l;
}

Genoma deadSquareGenome() {
    Genoma g;
    for (auto& p : g.parte) {
        p.Busqueda = 88;  // dead square: type 3, depth 1, history 0
        p.Y0 = 0, p.X1 = 25, p.Y1 = 25, p.X2 = 75, p.Y2 = 75, p.Y3 = 100;
        p.SenIC = 100, p.SenIA = 0, p.SenIP = 0;
        p.ValIC = 100, p.ValIA = 100, p.ValIP = 100;
        p.Incertidumbre = 0, p.Irregular = 0;
        p.TriggerMin = 100, p.TriggerMax = 0, p.Trigger = 0;
    }
    g.VecinosImitacion = 16777215;
    g.Colores = {255, 255, 255, 1, 1, 1};
    return g;
}

}  // namespace morvane
