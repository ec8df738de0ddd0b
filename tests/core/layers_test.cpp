// The engine's include graph, read from the sources. Folders form layers: `base` (the generator and
// numeric helpers) includes nothing else of ours; each module's plain data-type headers include
// only `base` and their own module's types; `state` (the world state and the generation report)
// gathers those types; the modules work on the state; `core` (the generation cycle and
// `Simulation`) sits on top, and `sweep` (many Simulations at once) on it. No folder includes one
// above it, and no two folders include each other, directly or round a loop.
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

const std::vector<std::string> kEngineFolders = {"base",      "state", "strategy", "games", "world",
                                                 "encounter", "io",    "core",     "sweep"};

// Plain data types of the modules: structs, constants and packed-word accessors, nothing that
// works.
const std::set<std::string> kTypeHeaders = {
    "encounter/move_record.h",        "encounter/percent.h", "encounter/record_index_types.h",
    "games/payoff_types.h",           "strategy/genome.h",   "strategy/strategy_types.h",
    "world/neighbourhood_settings.h",
};

std::string folderOf(const std::string& file) {
    return file.substr(0, file.find('/'));
}

struct Include {
    std::string from, to;
};

std::vector<Include> engineIncludes() {
    const fs::path src = fs::path(MORVANE_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Include> out;
    for (const std::string& folder : kEngineFolders) {
        for (const auto& entry : fs::directory_iterator(src / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string file = folder + "/" + entry.path().filename().string();
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

// The folders that can be reached from `from` by following includes.
std::set<std::string> reachable(const std::map<std::string, std::set<std::string>>& edges,
                                const std::string& from) {
    std::set<std::string> seen;
    std::vector<std::string> todo = {from};
    while (!todo.empty()) {
        const std::string f = todo.back();
        todo.pop_back();
        const auto it = edges.find(f);
        if (it == edges.end()) continue;
        for (const std::string& t : it->second)
            if (seen.insert(t).second) todo.push_back(t);
    }
    return seen;
}

TEST(Layers, NoFolderIncludesOneAboveItAndTypeHeadersStayPlain) {
    const std::vector<Include> includes = engineIncludes();
    ASSERT_GT(includes.size(), 100u) << "the sources were not found under " << MORVANE_SOURCE_DIR;
    std::map<std::string, std::set<std::string>> edges;
    for (const Include& i : includes) {
        SCOPED_TRACE(i.from + " includes " + i.to);
        const std::string from = folderOf(i.from), to = folderOf(i.to);
        if (from == "base") {
            EXPECT_EQ(to, "base");
        }
        if (kTypeHeaders.count(i.from)) {
            EXPECT_TRUE(to == "base" || kTypeHeaders.count(i.to)) << "a type header that works";
            EXPECT_TRUE(to == "base" || to == from) << "a type header of another module";
        }
        if (from == "state") {
            EXPECT_TRUE(to == "base" || to == "state" || kTypeHeaders.count(i.to))
                << "the state includes more than types";
        }
        if (from != "core" && from != "sweep") {
            EXPECT_NE(to, "core") << "a module includes the generation cycle";
        }
        if (from != "sweep") {
            EXPECT_NE(to, "sweep") << "the engine includes the sweeps built on it";
        }
        if (from != to) edges[from].insert(to);
    }
    for (const std::string& folder : kEngineFolders) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(reachable(edges, folder).count(folder), 0u)
            << "folders that include each other round a loop";
    }
}

}  // namespace
