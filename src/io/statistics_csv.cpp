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
    std::vector<std::string> names;
    for (int s : slots) names.push_back(w.ListaEstrategias[s].name);
    return csvHeader(names);
}

std::string csvHeader(const std::vector<std::string>& slotNames) {
    std::string h = "generation,coop_role1,coop_role2,coop,mean_score,alive,dead,blank,strategies";
    for (const std::string& name : slotNames) h += "," + csvField(name);
    h += ",other\n";
    return h;
}

std::string csvRow(const GenerationStatistics& st) {
    return csvRow(st, std::vector<std::optional<int>>(st.slotCounts.begin(), st.slotCounts.end()));
}

std::string csvRow(const GenerationStatistics& st, const std::vector<std::optional<int>>& counts) {
    auto opt = [](const std::optional<double>& v) {
        return v ? shortestFloat(static_cast<float>(*v)) : std::string();
    };
    std::string r = std::to_string(st.generation);
    for (const auto& v : {st.coopRole1, st.coopRole2, st.coop, st.meanScore}) r += "," + opt(v);
    for (int n : {st.alive, st.dead, st.blank, st.strategies}) r += "," + std::to_string(n);
    for (const auto& n : counts) r += "," + (n ? std::to_string(*n) : std::string());
    r += "," + std::to_string(st.other) + "\n";
    return r;
}

std::string historyCsv(const StatisticsHistory& history) {
    const auto& series = history.series();
    std::vector<std::string> names;
    for (const auto& s : series) names.push_back(s.name);
    std::string text = csvHeader(names);
    std::vector<std::optional<int>> counts(series.size());
    for (std::size_t row = 0; row < history.size(); ++row) {
        for (std::size_t k = 0; k < series.size(); ++k) {
            counts[k] = series[k].covers(row)
                            ? std::optional<int>(series[k].counts[row - series[k].firstRow])
                            : std::nullopt;
        }
        text += csvRow(history.row(row), counts);
    }
    return text;
}

}  // namespace morvane
