#include "encounter/history.h"

#include <cmath>

namespace morvane {

namespace {

// One tally of the record-by-record scan: sums of the two bytes and the number of records.
struct Tally {
    int a = 0, b = 0, count = 0;
    void add(const RecordList& l, int i) {
        a += l.a(i);
        b += l.b(i);
        ++count;
    }
    std::uint16_t word() const {
        const auto avg = [this](int sum) {
            return static_cast<int>(std::nearbyint(static_cast<double>(sum) / count));
        };
        return static_cast<std::uint16_t>(avg(b) * 128 + avg(a));
    }
};

// What one record does to the search: counted as "own", as "other", or not at all.
enum class Use { none, own, other };

// The scan behind both the search and the list of records it used. Type 16 and above counts every
// record that passes the role filter; types 0 and 8 count the records against the searcher and, as
// long as none was found, keep the newest `depth` others for type 8's fall-back.
template <typename Visit>
void scanRecords(const RecordList& l, int a, int n, int role, std::int16_t word, Visit visit) {
    const int searchType = word & 24;
    const int depth = packed::prof(word);
    const int historyType = packed::historial(word);
    int own = 0, other = 0;
    for (int i = n; i >= 1; --i) {
        const std::int32_t r = l.jugada(i);
        if (passesRoleFilter(moveRecord::role(r), historyType, role)) {
            if (searchType >= 16 || moveRecord::partner(r) == a) {
                ++own;
                visit(i, Use::own);
            } else if (other < depth && own == 0) {
                ++other;
                visit(i, Use::other);
            }
        }
        if (own == depth) break;
    }
}

}  // namespace

bool validCell(const World& w, int cell) {
    return cell >= 1 && cell <= w.NumJugadores;
}

bool validSlot(const World& w, const GenerationReport& r, int cell, int slot) {
    return validCell(w, cell) && slot >= 1 && static_cast<std::size_t>(slot) < r.slotsPerCell &&
           slot <= r.jugadas(cell, 0);
}

std::optional<std::uint16_t> searchRecords(const RecordList& l, int a, int n, int role,
                                           std::int16_t word) {
    Tally own, other;
    scanRecords(l, a, n, role, word,
                [&](int i, Use use) { (use == Use::own ? own : other).add(l, i); });
    if (own.count > 0) return own.word();
    if ((word & 24) == 8 && other.count > 0) return other.word();
    return std::nullopt;
}

std::vector<int> slotsUsed(const RecordList& l, int a, int n, int role, std::int16_t word) {
    std::vector<int> own, other;
    scanRecords(l, a, n, role, word,
                [&](int i, Use use) { (use == Use::own ? own : other).push_back(i); });
    if (!own.empty()) return own;
    if ((word & 24) == 8) return other;
    return {};
}

std::uint16_t BuscarHistorial(const World& w, const GenerationReport& r, int a, int o, int n,
                              int half, int copia, int role, std::int16_t word) {
    if (auto found = searchRecords(recordList(r, o), a, n, role, word)) return *found;
    return static_cast<std::uint16_t>(w.genoma(copia, a).parte[half].Incertidumbre);
}

int firedInRecords(const RecordList& l, int partner, int n, int role, std::int16_t trigger) {
    const int whom = packed::aquien(trigger);
    const int when = packed::cuando(trigger);
    if (when > 2) return 0;  // an undefined "when" selects no encounter
    if (whom == 1 && when == 2) return n > 0 && moveRecord::fired(l.jugada(n)) ? 1 : 0;
    const int target = when == 0 ? role : 1 - role;
    for (int i = n; i >= 1; --i) {
        const std::int32_t r = l.jugada(i);
        const bool partnerOk = whom == 1 || moveRecord::partner(r) == partner;
        const bool roleOk = when == 2 || moveRecord::role(r) == target;
        if (partnerOk && roleOk) return moveRecord::fired(r) ? 1 : 0;
    }
    return 0;
}

int DisparoPrevio(const World& w, const GenerationReport& r, int b, int partner, int n, int half,
                  int copia, int role) {
    return firedInRecords(recordList(r, b), partner, n, role,
                          w.genoma(copia, b).parte[half].Trigger);
}

std::string searchCodeText(std::int16_t busqueda) {
    return std::to_string(packed::tipo(busqueda)) + " -> " +
           std::to_string(packed::prof(busqueda)) + " -> " +
           std::to_string(packed::historial(busqueda));
}

namespace {

// Characters from a 1-based position, as many as there are.
std::string_view mid(std::string_view s, std::size_t from1, std::size_t count) {
    if (from1 == 0 || from1 > s.size()) return {};
    return s.substr(from1 - 1, count);
}

std::string typeSentence(std::string_view type, const std::string& p, const std::string& q) {
    if (type == "0 ")
        return "0 = p " + p + " searchs only for previous moves of p " + q +
               " against himself (p " + p + ").";
    if (type == "8 ")
        return "8 = p " + p + " searchs for previous moves of p " + q + " against himself (p " + p +
               "). If fails, searchs for previous moves of p " + q + " against other players.";
    if (type == "16")
        return "16 = p " + p + " searchs for previous moves of p " + q +
               " against any player, including him self (p " + p + ").";
    return {};
}

std::string historySentence(std::string_view h, const std::string& p, const std::string& q) {
    if (h == "0")
        return "0 = p " + p + " searchs only for previous moves of p " + q +
               " playing the same rol as in this current move.";
    if (h == "1")
        return "1 = p " + p + " searchs only for previous moves of p " + q +
               " playing the opposite rol as in this current move.";
    if (h == "2")
        return "2 = p " + p + " searchs for any previous moves of p " + q + " playing any rol.";
    return {};
}

}  // namespace

std::string TextoBusqueda(std::string_view code, int p, int q) {
    const std::string ps = std::to_string(p), qs = std::to_string(q);
    const std::string_view type = code.substr(0, 2);
    // The depth is read as two characters, so a one-digit depth keeps the blank that follows it.
    const std::string depth(mid(code, type == "16" ? 7 : 6, 2));
    const std::string_view history = code.empty() ? code : code.substr(code.size() - 1);
    return typeSentence(type, ps, qs) + " | " + depth + " = p " + ps + " searchs for the " + depth +
           " previous moves of p " + qs + " | " + historySentence(history, ps, qs);
}

}  // namespace morvane
