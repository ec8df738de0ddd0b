#include "core/mutation_view.h"

#include "base/shown_number.h"

namespace morvane {

const std::array<std::string_view, kMutationViewRows>& mutationRowTitles() {
    static const std::array<std::string_view, kMutationViewRows> titles = {
        "Player",
        "RGB bug",
        "RGB bug",
        "RGB bug",
        "RGB user",
        "RGB user",
        "RGB user",
        "Search Type",
        "y0",
        "x1",
        "y1",
        "x2",
        "y2",
        "y3",
        "Ci sen (val)",
        "Ei sen (val)",
        "Si sen (val)",
        "Uncer Ci",
        "Uncer Ei",
        "Copy",
        "Irregular",
        "Mirar vecinos",
        "Trigger Min-Max",
        "Trigger Res",
        "Whom-When",
    };
    return titles;
}

namespace {

std::string percent(int v) {
    return shownNumber(v / 100.0, 2);
}

std::string sensibility(int sen, int val) {
    return percent(sen) + " (" + percent(val) + ")";
}

}  // namespace

std::array<std::string, kMutationViewRows> mutationColumnTexts(int cell, int parte,
                                                               const Genoma& g) {
    const GenomePart& p = g.parte[parte];
    auto n = [](long v) { return std::to_string(v); };
    return {
        n(cell) + " (" + n(parte) + ")",
        n(g.Colores[3]),
        n(g.Colores[4]),
        n(g.Colores[5]),
        n(g.Colores[0]),
        n(g.Colores[1]),
        n(g.Colores[2]),
        n(p.Busqueda & 24) + " -> " + n(packed::prof(p.Busqueda)) + " -> " +
            n(packed::historial(p.Busqueda)),
        percent(p.Y0),
        percent(p.X1),
        percent(p.Y1),
        percent(p.X2),
        percent(p.Y2),
        percent(p.Y3),
        sensibility(p.SenIC, p.ValIC),
        sensibility(p.SenIA, p.ValIA),
        sensibility(p.SenIP, p.ValIP),
        n(packed::incerIC(p.Incertidumbre)),
        n(packed::incerIA(p.Incertidumbre)),
        n(packed::copia(p.Incertidumbre)),
        n(p.Irregular),
        n(g.VecinosImitacion),
        n(p.TriggerMin) + " - " + n(p.TriggerMax),
        n(packed::triggerResp(p.Trigger)),
        n(packed::aquien(p.Trigger)) + " -> " + n(packed::cuando(p.Trigger)),
    };
}

}  // namespace morvane
