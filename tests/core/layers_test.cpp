// The engine's include graph, read from the sources: plain data-type headers include nothing else
// of ours, the world state and the report only those, the modules never the generation cycle, and
// no two modules include each other. A new file is placed in its layer by the tables below.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum Layer { kTypes = 0, kState = 1, kModule = 2, kCycle = 3 };

// Plain data types of each module: structs, constants and packed-word accessors, nothing that
// works.
const std::set<std::string> kTypeHeaders = {
    "core/copies.h",
    "core/numeric.h",
    "core/rng.h",
    "core/run_options.h",
    "core/shown_number.h",
    "encounter/encounter_types.h",
    "encounter/move_record.h",
    "encounter/percent.h",
    "encounter/record_index_types.h",
    "games/payoff_types.h",
    "strategy/genome.h",
    "strategy/strategy_types.h",
    "world/neighbourhood_settings.h",
};

// The ground floor: the world state, what a generation reports, and what reads only those.
const std::set<std::string> kStateFiles = {
    "core/world.h", "core/world.cpp", "core/generation_report.h", "core/generation_report.cpp",
    "core/vista.h", "core/vista.cpp", "core/statistics.h",        "core/statistics.cpp",
};

Layer layerOf(const std::string& file) {
    if (kTypeHeaders.count(file)) return kTypes;
    if (kStateFiles.count(file)) return kState;
    if (file.rfind("core/", 0) == 0) return kCycle;
    return kModule;
}

std::string moduleOf(const std::string& file) {
    return file.substr(0, file.find('/'));
}

struct Include {
    std::string from, to;
};

std::vector<Include> engineIncludes() {
    const fs::path src = fs::path(MORVANE_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> out;
    for (const char* module : {"core", "encounter", "strategy", "games", "world", "io"}) {
        for (const auto& entry : fs::directory_iterator(src / module)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string file = std::string(module) + "/" + entry.path().filename().string();
            std::ifstream in(entry.path());
            std::string line;
            while (std::getline(in, line)) {
                std::smatch m;
                if (std::regex_search(line, m, include)) out.push_back({file, m[1]});
            }
        }
    }
    return out;
}

TEST(Layers, EveryIncludePointsDownOrAcrossWithoutCycles) {
    const std::vector<Include> includes = engineIncludes();
    ASSERT_GT(includes.size(), 100u) << "the sources were not found under " << MORVANE_SOURCE_DIR;
    std::map<std::string, std::set<std::string>> moduleEdges;
    for (const Include& i : includes) {
        SCOPED_TRACE(i.from + " includes " + i.to);
        const Layer from = layerOf(i.from), to = layerOf(i.to);
        if (from == kTypes) {
            // A type header knows the types of its own module at most.
            EXPECT_EQ(to, kTypes);
            EXPECT_EQ(moduleOf(i.from), moduleOf(i.to));
            continue;
        }
        EXPECT_LE(to, from) << "an include upwards";
        if (from == kModule && to == kModule && moduleOf(i.from) != moduleOf(i.to))
            moduleEdges[moduleOf(i.from)].insert(moduleOf(i.to));
    }
    // The modules' graph has no cycle: peel off modules that include no remaining module.
    std::set<std::string> left;
    for (const auto& [m, targets] : moduleEdges) {
        left.insert(m);
        left.insert(targets.begin(), targets.end());
    }
    bool peeled = true;
    while (!left.empty() && peeled) {
        peeled = false;
        for (auto it = left.begin(); it != left.end();) {
            bool leaf = true;
            for (const std::string& t : moduleEdges[*it]) leaf = leaf && !left.count(t);
            if (leaf) {
                it = left.erase(it);
                peeled = true;
            } else {
                ++it;
            }
        }
    }
    std::ostringstream cycle;
    for (const std::string& m : left) cycle << m << ' ';
    EXPECT_TRUE(left.empty()) << "modules that include each other: " << cycle.str();
}

}  // namespace
