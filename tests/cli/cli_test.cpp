// The command line as a researcher uses it: real processes, real files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = morvane::testing::freshTestFolder("morvane_cli"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    Outcome run(const std::string& args) const {
        const std::string errFile = path("stderr.txt");
        const std::string cmd = std::string(MORVANE_CLI_PATH) + " " + args + " 2>" + errFile;
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(errFile)};
    }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> out;
        std::stringstream ss(text);
        for (std::string l; std::getline(ss, l);) out.push_back(l);
        return out;
    }

    fs::path dir_;
};

TEST_F(CliTest, SameSeedGivesIdenticalFilesAndTheCsvAddsUp) {
    for (const char* tag : {"a", "b"}) {
        const auto r =
            run(std::string("run --generations 30 --seed 77 --quiet --csv ") +
                path(std::string(tag) + ".csv") + " --save " + path(std::string(tag) + ".dpt") +
                " --png " + path(std::string(tag) + ".png"));
        ASSERT_EQ(r.status, 0) << r.err;
    }
    for (const char* ext : {".csv", ".dpt", ".png"}) {
        SCOPED_TRACE(ext);
        const auto a = read(path(std::string("a") + ext));
        EXPECT_FALSE(a.empty());
        EXPECT_EQ(a, read(path(std::string("b") + ext)));
    }

    const auto rows = lines(read(path("a.csv")));
    ASSERT_EQ(rows.size(), 31u);  // header + one row per generation
    EXPECT_EQ(rows[0],
              "generation,coop_role1,coop_role2,coop,mean_score,alive,dead,blank,strategies,"
              "Cuadro muerto,Cuadro en blanco,UD,UC,Tit For Tat,Fairman,other");
    for (std::size_t g = 1; g < rows.size(); ++g) {
        SCOPED_TRACE(rows[g]);
        std::vector<std::string> f;
        std::stringstream ss(rows[g]);
        for (std::string item; std::getline(ss, item, ',');) f.push_back(item);
        ASSERT_EQ(f.size(), 16u);
        EXPECT_EQ(std::stoi(f[0]), static_cast<int>(g));
        // Cells by kind and cells by slot both add up to the 1000 cells of the start-up world.
        EXPECT_EQ(std::stoi(f[5]) + std::stoi(f[6]) + std::stoi(f[7]), 1000);
        int bySlot = 0;
        for (std::size_t i = 9; i < f.size(); ++i) bySlot += std::stoi(f[i]);
        EXPECT_EQ(bySlot, 1000);
        const double coop = std::stod(f[3]);
        EXPECT_GE(coop, 0.0);
        EXPECT_LE(coop, 1.0);
    }
}

TEST_F(CliTest, ZeroGenerationsConvertsAScenarioThatLoadsBack) {
    ASSERT_EQ(run("run --generations 0 --seed 1 --save " + path("first.dpt")).status, 0);
    const auto again =
        run("run " + path("first.dpt") + " --generations 0 --save " + path("second.dpt"));
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(read(path("first.dpt")), read(path("second.dpt")));
}

TEST_F(CliTest, BadArgumentsExitWithStatusTwoAndWriteNothing) {
    const std::string out = " --csv " + path("out.csv") + " --save " + path("out.dpt");
    const struct {
        const char* name;
        std::string args;
    } cases[] = {
        {"iterations above 10", "run --iterations 11"},
        {"iterations 0", "run --iterations 0"},
        {"neighbourhood 15", "run --neighbourhood 15"},
        {"negative generations", "run --generations -1"},
        {"unknown rule", "run --rule darwin"},
        {"seven pay-offs", "run --payoffs 1,2,3,4,5,6,7"},
        {"pay-off not finite", "run --payoffs 1,2,3,4,5,6,7,nan"},
        {"pay-off not a number", "run --payoffs 1,2,3,4,5,6,7,x"},
        {"mutation above 1", "run --mutation 1.5"},
        {"missing scenario", "run " + path("nowhere.dpt")},
        {"no subcommand", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = run(c.args + out);
        EXPECT_EQ(r.status, 2);
        EXPECT_FALSE(r.err.empty());
        EXPECT_FALSE(fs::exists(path("out.csv")));
        EXPECT_FALSE(fs::exists(path("out.dpt")));
    }
}

TEST_F(CliTest, PayoffsBeyondTheBoundAreRefusedAndThoseWithinScoreFinitely) {
    const std::string beyond =
        " lies beyond -1.33444e+36..1.33444e+36, where scores would overflow";
    const struct {
        std::string payoffs;
        std::string error;  // empty: accepted
    } cases[] = {
        {"1.334e36,1.334e36,1.334e36,1.334e36,1.334e36,1.334e36,1.334e36,1.334e36", ""},
        {"-1.334e36,-1.334e36,-1.334e36,-1.334e36,-1.334e36,-1.334e36,-1.334e36,-1.334e36", ""},
        {"3e38,3e38,-3e38,-3e38,3e38,3e38,-3e38,-3e38", "--payoffs: T1 = 3e+38" + beyond},
        {"2e37,1e37,1e37,0,2e37,1e37,1e37,0", "--payoffs: T1 = 2e+37" + beyond},
        {"4,3,1,0,4,3,1,-1.335e36", "--payoffs: S2 = -1.335e+36" + beyond},
        {"4,3,1,0,4,inf,1,0", "--payoffs: \"inf\" is not a finite 32-bit float"},
        {"4,3,1,0,4,3,-nan,0", "--payoffs: \"-nan\" is not a finite 32-bit float"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.payoffs);
        const auto r =
            run("run --generations 2 --iterations 10 --seed 5 --quiet --payoffs=" + c.payoffs +
                " --csv " + path("out.csv"));
        if (!c.error.empty()) {
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(lines(r.err).at(0), c.error);
            EXPECT_FALSE(fs::exists(path("out.csv")));
            continue;
        }
        ASSERT_EQ(r.status, 0) << r.err;
        // 24 partners times 10 rounds of the largest pay-offs still give finite scores.
        const auto rows = lines(read(path("out.csv")));
        ASSERT_EQ(rows.size(), 3u);
        for (std::size_t g = 1; g < rows.size(); ++g) {
            std::stringstream ss(rows[g]);
            std::string meanScore;
            for (int f = 0; f <= 4; ++f) std::getline(ss, meanScore, ',');
            // Empty once every cell has died: nobody is scored.
            EXPECT_TRUE(meanScore.empty() || std::isfinite(std::stod(meanScore))) << rows[g];
        }
        fs::remove(path("out.csv"));
    }
}

TEST_F(CliTest, RefusedScenarioNamesTheLineAndWritesNothing) {
    {
        std::ofstream bad(path("bad.dpt"), std::ios::binary);
        bad << " 5  5 \r\n 4 3 1 0 4 3 1\r\n";
    }
    const auto r = run("run " + path("bad.dpt") + " --save " + path("out.dpt"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.dpt:"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("out.dpt")));
}

TEST_F(CliTest, AWriteThatFailsLeavesNoFileAndFails) {
    const auto r = run("run --generations 3 --seed 2 --csv " + path("missing/dir/out.csv"));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("out.csv"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(path("missing")));
}

}  // namespace
