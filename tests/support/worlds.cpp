#include "support/worlds.h"

#include <stdexcept>
#include <string>

#include "strategy/limits.h"
#include "strategy/strategy_list.h"

namespace morvane::testing {

World worldOf(int columns, int rows, std::initializer_list<std::string_view> strategies) {
    World w;
    w.NumColumnas = static_cast<std::int16_t>(columns);
    w.NumFilas = static_cast<std::int16_t>(rows);
    w.ListaEstrategias = initialStrategyList();
    w.Rangos = defaultRangos();
    CrearMundo(w);
    PrepararCeldaCero(w);
    int cell = 1;
    for (std::string_view name : strategies) {
        if (cell > w.NumJugadores) throw std::invalid_argument("more strategies than cells");
        place(w, cell++, genomeOf(w, name));
    }
    return w;
}

Genoma genomeOf(const World& w, std::string_view name) {
    const int slot = findStrategy(w.ListaEstrategias, std::string(name));
    if (slot == 0) throw std::invalid_argument("no strategy named " + std::string(name));
    return toCellForm(w.ListaEstrategias[slot].genoma);
}

void place(World& w, int cell, const Genoma& g) {
    w.genoma(kPrevio, cell) = g;
    w.genoma(kActual, cell) = g;
}

}  // namespace morvane::testing
