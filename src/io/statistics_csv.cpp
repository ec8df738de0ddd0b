#include "io/statistics_csv.h"

#include <charconv>

namespace morvane {

std::string shortestFloat(float v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string csvField(const std::string& text) {
    const bool needsQuotes = text.find_first_of(",\"\r\n") != std::string::npos ||
                             (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!needsQuotes) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string csvHeader(const World& w, const std::vector<int>& slots) {
    std::string h = "generation,coop_role1,coop_role2,coop,mean_score,alive,dead,blank,strategies";
    for (int s : slots) h += "," + csvField(w.ListaEstrategias[s].name);
    h += ",other\n";
    return h;
}

std::string csvRow(const GenerationStatistics& st) {
    auto opt = [](const std::optional<double>& v) {
        return v ? shortestFloat(static_cast<float>(*v)) : std::string();
    };
    std::string r = std::to_string(st.generation);
    for (const auto& v : {st.coopRole1, st.coopRole2, st.coop, st.meanScore}) r += "," + opt(v);
    for (int n : {st.alive, st.dead, st.blank, st.strategies}) r += "," + std::to_string(n);
    for (int n : st.slotCounts) r += "," + std::to_string(n);
    r += "," + std::to_string(st.other) + "\n";
    return r;
}

}  // namespace morvane
