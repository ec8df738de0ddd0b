#include "strategy/strategy_list.h"

#include <cstdint>
#include <utility>

namespace morvane {

namespace {

struct Curve {
    std::uint8_t Y0, X1, Y1, X2, Y2, Y3;
};

constexpr Curve kIdentity{0, 25, 25, 75, 75, 100};
// Active with 200 tenths of a percent: five strategies share the world equally at start-up.
constexpr std::int16_t kStartShare = 1224;

ListGenomePart makePart(std::int16_t busqueda, Curve c, float senIC, float senIA,
                        float uncertainty) {
    ListGenomePart p;
    p.Busqueda = busqueda;
    p.Y0 = c.Y0, p.X1 = c.X1, p.Y1 = c.Y1, p.X2 = c.X2, p.Y2 = c.Y2, p.Y3 = c.Y3;
    p.SenIC = senIC, p.SenIA = senIA, p.SenIP = 0;
    p.ValIC = 100, p.ValIA = 100, p.ValIP = 100;
    p.Incertidumbre = uncertainty;
    p.Irregular = 0;
    // An empty trigger range (Min above Max): the trigger never fires.
    p.TriggerMin = 100, p.TriggerMax = 0, p.Trigger = 0;
    return p;
}

StrategySlot makeSlot(std::string name, ListGenomePart part0, ListGenomePart part1,
                      std::array<std::int16_t, 6> colours, std::int16_t reparto) {
    StrategySlot s;
    s.name = std::move(name);
    s.genoma.parte = {part0, part1};
    s.genoma.VecinosImitacion = 16777215;  // every neighbour position may be imitated
    s.genoma.Colores = colours;
    s.Reparto = reparto;
    return s;
}

StrategySlot symmetric(std::string name, std::int16_t busqueda, Curve c, float uncertainty,
                       std::array<std::int16_t, 6> colours, std::int16_t reparto) {
    const ListGenomePart p = makePart(busqueda, c, 100, 0, uncertainty);
    return makeSlot(std::move(name), p, p, colours, reparto);
}

StrategySlot fairman() {
    // Weighs only equality; searches deeper (type 16, depth 15) when it moves first, and answers
    // with half the equality it sees.
    ListGenomePart p0 = makePart(2000, {0, 40, 20, 60, 30, 50}, 0, 100, 12900);
    ListGenomePart p1 = makePart(1088, kIdentity, 0, 100, 12900);
    p0.TriggerMin = p1.TriggerMin = 0;  // a range of 0..0 with response 0
    return makeSlot("Fairman", p0, p1, {155, 55, 155, 200, 245, 5}, kStartShare);
}

}  // namespace

StrategyList initialStrategyList() {
    StrategyList list{};
    list[2] = symmetric("Cuadro muerto", 88, kIdentity, 0, {255, 255, 255, 1, 1, 1}, kStartShare);
    list[3] = symmetric("Cuadro en blanco", 96, {100, 75, 75, 25, 25, 0}, 0,
                        {255, 255, 255, 128, 128, 128}, kStartShare);
    list[4] = symmetric("UD", 64, {0, 25, 0, 75, 0, 0}, 0, {250, 1, 1, 1, 1, 1}, kStartShare);
    list[5] =
        symmetric("UC", 64, {100, 25, 100, 75, 100, 100}, 0, {1, 250, 1, 1, 1, 1}, kStartShare);
    // No data counts as full cooperation and equality (IncerIC 100, IncerIA 100).
    list[6] = symmetric("Tit For Tat", 64, kIdentity, 12900, {1, 1, 250, 250, 1, 1}, 0);
    list[7] = fairman();
    return list;
}

std::vector<std::string> listedStrategies(const StrategyList& list) {
    std::vector<std::string> combo{"Del mapa!"};
    for (int s = 2; s <= kMaxListed && !list[s].name.empty(); ++s) combo.push_back(list[s].name);
    return combo;
}

int addStrategy(StrategyList& list, const std::string& name) {
    for (int slot = 2; slot <= kMaxListed; ++slot) {
        if (!list[slot].name.empty()) continue;
        list[slot].genoma = list[kSlotWorkingCopy].genoma;
        list[slot].name = name;
        return slot;
    }
    return 0;
}

std::string strategyNameRefusal(const StrategyList& list, const std::string& name, int slot) {
    if (name.empty()) return "The strategy needs a name: an unnamed slot ends the list in a file.";
    if (name == "Sin_Nombre")
        return "\"Sin_Nombre\" is what a file writes for an empty slot: choose another name.";
    if (name.front() == ' ' || name.front() == '\t')
        return "A name may not start with a blank: a file would not read it back.";
    std::size_t characters = 0;
    for (unsigned char c : name) characters += (c & 0xC0) != 0x80;
    if (characters > kMaxStrategyNameLength)
        return "The name has " + std::to_string(characters) + " characters; at most " +
               std::to_string(kMaxStrategyNameLength) + " fit a file's name line.";
    for (int s = 1; s <= kMaxListed; ++s)
        if (s != slot && list[s].name == name)
            return "Slot " + std::to_string(s) + " is already named \"" + name +
                   "\": two strategies of one name could not be told apart in the statistics "
                   "and the chart.";
    return {};
}

int findStrategy(const StrategyList& list, const std::string& name) {
    if (name.empty()) return 0;  // an empty name marks an empty slot, never a strategy
    for (int s = 1; s <= kMaxListed; ++s)
        if (list[s].name == name) return s;
    return 0;
}

}  // namespace morvane
