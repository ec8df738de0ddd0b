#include "sweep/sweep_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>

#include "games/payoff.h"
#include "io/statistics_csv.h"

namespace morvane {

namespace {

constexpr std::int64_t kMaxRuns = 10'000'000;
constexpr std::int64_t kMaxRepetitions = 1'000'000;

// A value of one parameter as read: what it changes, how the tables and the resolved file show it.
struct ParameterValue {
    RunSettings patch;
    std::string column;
    std::string toml;
};

struct Failure {
    SweepFileError error;
};

[[noreturn]] void refuse(const toml::node& at, std::string reason) {
    throw Failure{{static_cast<int>(at.source().begin.line), std::move(reason)}};
}

[[noreturn]] void refuseKey(const toml::key& at, std::string reason) {
    throw Failure{{static_cast<int>(at.source().begin.line), std::move(reason)}};
}

const char* typeName(const toml::node& n) {
    switch (n.type()) {
        case toml::node_type::string:
            return "a string";
        case toml::node_type::integer:
            return "a whole number";
        case toml::node_type::floating_point:
            return "a decimal number";
        case toml::node_type::boolean:
            return "true or false";
        case toml::node_type::array:
            return "a list";
        case toml::node_type::table:
            return "a table";
        default:
            return "a date or time";
    }
}

std::string tomlString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            static const char* const kHex = "0123456789ABCDEF";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xf];
            out += kHex[c & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::int64_t wholeNumber(const std::string& key, const toml::node& n, std::int64_t lo,
                         std::int64_t hi) {
    if (!n.is_integer()) refuse(n, key + " must be a whole number, not " + typeName(n));
    const std::int64_t v = n.as_integer()->get();
    if (v < lo || v > hi) {
        refuse(n, key + " = " + std::to_string(v) + " lies outside " + std::to_string(lo) + ".." +
                      std::to_string(hi));
    }
    return v;
}

// Integers are taken where a number with a fraction is expected.
float realNumber(const std::string& key, const toml::node& n, float lo, float hi) {
    double v = 0;
    if (n.is_integer()) {
        v = static_cast<double>(n.as_integer()->get());
    } else if (n.is_floating_point()) {
        v = n.as_floating_point()->get();
    } else {
        refuse(n, key + " must be a number, not " + typeName(n));
    }
    const float f = static_cast<float>(v);
    if (!std::isfinite(v) || !std::isfinite(f)) refuse(n, key + " must be a finite 32-bit number");
    if (!(f >= lo && f <= hi)) {
        refuse(n, key + " = " + shortestFloat(f) + " lies outside " + shortestFloat(lo) + ".." +
                      shortestFloat(hi));
    }
    return f;
}

bool truth(const std::string& key, const toml::node& n) {
    if (!n.is_boolean()) refuse(n, key + " must be true or false, not " + typeName(n));
    return n.as_boolean()->get();
}

float payoffNumber(const std::string& key, const toml::node& n) {
    constexpr float kMax = std::numeric_limits<float>::max();
    const float v = realNumber(key, n, -kMax, kMax);
    if (!payoffWithinBound(v))
        refuse(n, key + " = " + shortestFloat(v) + " " + payoffBeyondBoundReason());
    return v;
}

const std::vector<std::string>& parameterKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k = {"payoffs",           "rule",
                                      "neighbourhood",     "iterations",
                                      "mutation",          "threshold_today",
                                      "threshold_survive", "threshold_reproduce",
                                      "sum_mode"};
        for (const char* p : kPayoffNames) k.emplace_back(p);
        for (int i = 0; i < 10; ++i) k.push_back("option" + std::to_string(i));
        return k;
    }();
    return keys;
}

bool isParameter(const std::string& key) {
    const auto& keys = parameterKeys();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

ParameterValue readParameter(const std::string& key, const toml::node& n) {
    ParameterValue out;
    RunSettings& s = out.patch;
    const auto real = [&](std::optional<float>& field, float lo, float hi) {
        field = realNumber(key, n, lo, hi);
        out.column = shortestFloat(*field);
        out.toml = out.column;
    };
    const auto whole = [&](std::optional<int>& field, int lo, int hi) {
        field = static_cast<int>(wholeNumber(key, n, lo, hi));
        out.column = std::to_string(*field);
        out.toml = out.column;
    };
    constexpr float kMax = std::numeric_limits<float>::max();
    if (key == "payoffs") {
        const toml::array* list = n.as_array();
        if (!list || list->size() != 8)
            refuse(n, "payoffs must be a list of eight numbers (T1, R1, P1, S1, T2, R2, P2, S2)");
        out.toml = "[";
        for (std::size_t i = 0; i < 8; ++i) {
            s.payoff[i] = payoffNumber(std::string("payoffs ") + kPayoffNames[i], *list->get(i));
            const std::string text = shortestFloat(*s.payoff[i]);
            out.column += (i ? ";" : "") + text;
            out.toml += (i ? ", " : "") + text;
        }
        out.toml += "]";
    } else if (const auto it = std::find(kPayoffNames.begin(), kPayoffNames.end(), key);
               it != kPayoffNames.end()) {
        auto& field = s.payoff[static_cast<std::size_t>(it - kPayoffNames.begin())];
        field = payoffNumber(key, n);
        out.column = shortestFloat(*field);
        out.toml = out.column;
    } else if (key == "rule") {
        if (!n.is_string()) refuse(n, "rule must be a string, not " + std::string(typeName(n)));
        const std::string name = n.as_string()->get();
        const auto it = std::find(kRuleNames.begin(), kRuleNames.end(), name);
        if (it == kRuleNames.end())
            refuse(n,
                   "rule " + tomlString(name) + " is none of maximax, replicator, best, maximin");
        s.rule = static_cast<int>(it - kRuleNames.begin()) + 1;
        out.column = name;
        out.toml = tomlString(name);
    } else if (key == "neighbourhood") {
        whole(s.neighbourhood, 0, 14);
    } else if (key == "iterations") {
        whole(s.iterations, 1, 10);
    } else if (key == "sum_mode") {
        whole(s.sumMode, 1, 3);
    } else if (key == "mutation") {
        real(s.mutation, 0.0f, 1.0f);
    } else if (key == "threshold_today") {
        real(s.thresholdToday, -kMax, kMax);
    } else if (key == "threshold_survive") {
        real(s.thresholdSurvive, -kMax, kMax);
    } else if (key == "threshold_reproduce") {
        real(s.thresholdReproduce, -kMax, kMax);
    } else {  // option0 .. option9
        const auto k = static_cast<std::size_t>(key.back() - '0');
        s.option[k] = truth(key, n);
        out.column = *s.option[k] ? "true" : "false";
        out.toml = out.column;
    }
    return out;
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            const bool same = std::tolower(a[i - 1]) == std::tolower(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string unknownKey(const std::string& key, const std::vector<std::string>& valid) {
    std::string best;
    std::size_t bestDistance = std::numeric_limits<std::size_t>::max();
    for (const auto& v : valid) {
        const std::size_t d = editDistance(key, v);
        if (d < bestDistance) bestDistance = d, best = v;
    }
    std::string reason = "unknown key " + tomlString(key);
    if (bestDistance <= std::max<std::size_t>(2, key.size() / 3))
        reason += " (did you mean " + best + "?)";
    return reason;
}

const std::vector<std::string>& topLevelKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k = {
            "scenario", "scenario_sha256", "generations", "repetitions", "seed", "paired",
            "keep",     "summary_window",  "vary",        "point"};
        for (const auto& p : parameterKeys()) k.push_back(p);
        return k;
    }();
    return keys;
}

// Mutation decides option 0; naming both would leave one of them ignored.
void refuseOptionZeroBeside(const RunSettings& s, const toml::node& at) {
    if (s.mutation && s.option[0])
        refuse(at,
               "option0 and mutation both given: mutation above 0 ticks option 0, 0 unticks it");
}

bool bothPayoffForms(const std::vector<std::string>& keys) {
    const bool whole = std::find(keys.begin(), keys.end(), "payoffs") != keys.end();
    const bool single = std::any_of(keys.begin(), keys.end(), [](const std::string& k) {
        return std::find(kPayoffNames.begin(), kPayoffNames.end(), k) != kPayoffNames.end();
    });
    return whole && single;
}

struct Reader {
    SweepPlan plan;
    RunSettings fixed;
    std::string fixedToml;
    std::vector<std::string> fixedKeys;

    void readTopLevel(const toml::table& root, const std::string& folder);
    void readVary(const toml::key& at, const toml::node& node);
    void readPoints(const toml::key& at, const toml::node& node);
    void checkFixedAndVaried(const toml::node& at, const std::string& key) const {
        if (std::find(fixedKeys.begin(), fixedKeys.end(), key) != fixedKeys.end())
            refuse(at, key + " is both fixed and varied: give it in one place");
    }
};

void Reader::readTopLevel(const toml::table& root, const std::string& folder) {
    for (auto&& [key, node] : root) {
        const std::string k(key.str());
        if (k == "vary" || k == "point") continue;
        if (k == "scenario") {
            if (!node.is_string())
                refuse(node, "scenario must be a string, not " + std::string(typeName(node)));
            const std::string given = node.as_string()->get();
            if (given.empty()) refuse(node, "scenario is empty");
            std::filesystem::path p(given);
            if (p.is_relative()) p = std::filesystem::path(folder) / p;
            plan.scenario = p.lexically_normal().string();
        } else if (k == "scenario_sha256") {
            const auto* s = node.as_string();
            if (!s || s->get().size() != 64 ||
                s->get().find_first_not_of("0123456789abcdef") != std::string::npos)
                refuse(node, "scenario_sha256 must be 64 lower-case hexadecimal digits");
            plan.scenarioSha256 = s->get();
        } else if (k == "generations") {
            plan.generations =
                static_cast<int>(wholeNumber(k, node, 1, std::numeric_limits<int>::max()));
        } else if (k == "repetitions") {
            plan.repetitions = static_cast<int>(wholeNumber(k, node, 1, kMaxRepetitions));
        } else if (k == "seed") {
            plan.seed = static_cast<std::uint64_t>(
                wholeNumber(k, node, 0, std::numeric_limits<std::int64_t>::max()));
        } else if (k == "paired") {
            plan.paired = truth(k, node);
        } else if (k == "keep") {
            if (node.is_string()) {
                const std::string v = node.as_string()->get();
                if (v != "every" && v != "last")
                    refuse(node, "keep must be \"every\", \"last\" or a whole number, not " +
                                     tomlString(v));
                plan.keep = {1, v == "last"};
            } else if (node.is_integer()) {
                plan.keep = {
                    static_cast<int>(wholeNumber(k, node, 1, std::numeric_limits<int>::max())),
                    false};
            } else {
                refuse(node, "keep must be \"every\", \"last\" or a whole number, not " +
                                 std::string(typeName(node)));
            }
        } else if (k == "summary_window") {
            plan.summaryWindow =
                static_cast<int>(wholeNumber(k, node, 1, std::numeric_limits<int>::max()));
        } else if (isParameter(k)) {
            ParameterValue v = readParameter(k, node);
            overlay(fixed, v.patch);
            fixedToml += k + " = " + v.toml + "\n";
            fixedKeys.push_back(k);
            refuseOptionZeroBeside(fixed, node);
        } else {
            refuseKey(key, unknownKey(k, topLevelKeys()));
        }
    }
}

void Reader::readVary(const toml::key& at, const toml::node& node) {
    const toml::table* vary = node.as_table();
    if (!vary) refuseKey(at, "vary must be a table ([vary]), not " + std::string(typeName(node)));
    std::vector<std::vector<ParameterValue>> lists;
    std::string text = "\n[vary]\n";
    for (auto&& [key, value] : *vary) {
        const std::string k(key.str());
        if (!isParameter(k)) refuseKey(key, unknownKey(k, parameterKeys()));
        checkFixedAndVaried(value, k);
        const toml::array* list = value.as_array();
        if (!list) refuse(value, "vary." + k + " must be a list, not " + typeName(value));
        if (list->empty()) refuse(value, "vary." + k + " is an empty list");
        std::vector<ParameterValue> values;
        text += k + " = [";
        for (const toml::node& item : *list) {
            values.push_back(readParameter(k, item));
            RunSettings both = fixed;
            overlay(both, values.back().patch);
            refuseOptionZeroBeside(both, item);
            text += (values.size() > 1 ? ", " : "") + values.back().toml;
        }
        text += "]\n";
        plan.columnKeys.push_back(k);
        lists.push_back(std::move(values));
    }
    if (bothPayoffForms(plan.columnKeys))
        refuseKey(at, "vary gives payoffs and single pay-offs (T1 .. S2): give one form");
    if (vary->contains("mutation") && vary->contains("option0"))
        refuseKey(at,
                  "option0 and mutation both given: mutation above 0 ticks option 0, 0 unticks it");
    std::int64_t count = 1;
    for (const auto& l : lists) {
        count *= static_cast<std::int64_t>(l.size());
        if (count * plan.repetitions > kMaxRuns)
            refuseKey(at, "the sweep has more than " + std::to_string(kMaxRuns) + " runs");
    }
    // The last key varies fastest.
    std::vector<std::size_t> digit(lists.size(), 0);
    for (std::int64_t p = 0; p < count; ++p) {
        SweepPoint point{fixed, {}};
        for (std::size_t i = 0; i < lists.size(); ++i) {
            overlay(point.settings, lists[i][digit[i]].patch);
            point.columns.push_back(lists[i][digit[i]].column);
        }
        plan.points.push_back(std::move(point));
        for (std::size_t i = lists.size(); i-- > 0;) {
            if (++digit[i] < lists[i].size()) break;
            digit[i] = 0;
        }
    }
    plan.settingsToml = fixedToml + text;
}

void Reader::readPoints(const toml::key& at, const toml::node& node) {
    const toml::array* tables = node.as_array();
    if (!tables || !tables->is_array_of_tables())
        refuseKey(at, "point must be a list of tables ([[point]])");
    if (tables->empty()) refuseKey(at, "point is an empty list");
    if (static_cast<std::int64_t>(tables->size()) * plan.repetitions > kMaxRuns)
        refuseKey(at, "the sweep has more than " + std::to_string(kMaxRuns) + " runs");
    for (const toml::node& entry : *tables) {
        for (auto&& [key, value] : *entry.as_table()) {
            const std::string k(key.str());
            if (!isParameter(k)) refuseKey(key, unknownKey(k, parameterKeys()));
            checkFixedAndVaried(value, k);
            if (std::find(plan.columnKeys.begin(), plan.columnKeys.end(), k) ==
                plan.columnKeys.end())
                plan.columnKeys.push_back(k);
        }
    }
    std::sort(plan.columnKeys.begin(), plan.columnKeys.end());
    std::string text;
    for (const toml::node& entry : *tables) {
        const toml::table& table = *entry.as_table();
        std::vector<std::string> keys;
        SweepPoint point{fixed, std::vector<std::string>(plan.columnKeys.size())};
        text += "\n[[point]]\n";
        for (auto&& [key, value] : table) {
            const std::string k(key.str());
            const ParameterValue v = readParameter(k, value);
            overlay(point.settings, v.patch);
            refuseOptionZeroBeside(point.settings, value);
            const auto column = std::find(plan.columnKeys.begin(), plan.columnKeys.end(), k);
            point.columns[static_cast<std::size_t>(column - plan.columnKeys.begin())] = v.column;
            text += k + " = " + v.toml + "\n";
            keys.push_back(k);
        }
        if (bothPayoffForms(keys))
            refuse(entry, "a point gives payoffs and single pay-offs (T1 .. S2): give one form");
        plan.points.push_back(std::move(point));
    }
    plan.settingsToml = fixedToml + text;
}

}  // namespace

SweepFileResult parseSweepText(std::string_view text, const std::string& folder) {
    SweepFileResult result;
    try {
        const toml::table root = toml::parse(text);
        Reader reader;
        reader.readTopLevel(root, folder);
        const toml::node* vary = root.get("vary");
        const toml::node* point = root.get("point");
        if (vary && point) {
            throw Failure{{static_cast<int>(point->source().begin.line),
                           "give either [vary] or [[point]], not both"}};
        }
        const auto keyOf = [&](const char* name) -> const toml::key& {
            return root.lower_bound(name)->first;
        };
        if (vary) {
            reader.readVary(keyOf("vary"), *vary);
        } else if (point) {
            reader.readPoints(keyOf("point"), *point);
        } else {
            reader.plan.points.push_back({reader.fixed, {}});
            reader.plan.settingsToml = reader.fixedToml;
        }
        result.plan = std::move(reader.plan);
        result.ok = true;
    } catch (const toml::parse_error& e) {
        result.error = {static_cast<int>(e.source().begin.line), std::string(e.description())};
    } catch (const Failure& f) {
        result.error = f.error;
    }
    return result;
}

SweepFileResult readSweepFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SweepFileResult r;
        r.error = {0, "cannot be read"};
        return r;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto folder = std::filesystem::absolute(path).parent_path().string();
    return parseSweepText(text, folder);
}

std::string resolvedSweepText(const SweepPlan& plan, const std::string& scenarioSha256) {
    std::string t =
        "# The sweep as it runs, every default written out. Shards and --resume compare\n"
        "# their own sweep with this file and refuse to mix two different ones.\n";
    if (plan.scenario) {
        t += "scenario = " + tomlString(*plan.scenario) + "\n";
        t += "scenario_sha256 = " + tomlString(scenarioSha256) + "\n";
    }
    t += "generations = " + std::to_string(plan.generations) + "\n";
    t += "repetitions = " + std::to_string(plan.repetitions) + "\n";
    t += "seed = " + std::to_string(plan.seed) + "\n";
    t += std::string("paired = ") + (plan.paired ? "true" : "false") + "\n";
    if (plan.keep.lastOnly)
        t += "keep = \"last\"\n";
    else if (plan.keep.every == 1)
        t += "keep = \"every\"\n";
    else
        t += "keep = " + std::to_string(plan.keep.every) + "\n";
    t += "summary_window = " + std::to_string(plan.summaryWindow) + "\n";
    return t + plan.settingsToml;
}

std::string sweepColumnsHeader(const SweepPlan& plan) {
    std::string h = "point,repetition,seed";
    for (const auto& k : plan.columnKeys) h += "," + k;
    return h;
}

}  // namespace morvane
