// The command line as a researcher uses it, real processes and real files: reproducible outputs,
// outputs that must not be damaged, arguments refused before any work, and runs interrupted at
// random moments.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "io/scenario_file.h"
#include "state/world.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Launch {
    Launch(std::vector<std::string> a) : args(std::move(a)) {}
    std::vector<std::string> args;
    std::string out = "/dev/null";  // standard output
    std::optional<rlim_t> fileSizeLimit;
};

class Cli : public morvane::testing::FolderTest {
  protected:
    Cli() : FolderTest("morvane_cli") {}
    void SetUp() override {
        FolderTest::SetUp();
        fs::create_directories(dir_ / "run");
    }

    // Outputs go to run/, which holds nothing else, so a leftover temporary file shows.
    std::string path(const std::string& name) const { return (dir_ / "run" / name).string(); }
    std::string errPath() const { return (dir_ / "stderr.txt").string(); }

    pid_t start(const Launch& l) const {
        const pid_t pid = fork();
        if (pid != 0) return pid;
        if (l.fileSizeLimit) {
            const rlimit limit{*l.fileSizeLimit, *l.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const int out = open(l.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(MORVANE_CLI_PATH)};
        for (const auto& a : l.args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(MORVANE_CLI_PATH, argv.data());
        _exit(127);
    }

    // The exit status, or 128 + the signal that ended the process.
    static int finish(pid_t pid) {
        int raw = 0;
        waitpid(pid, &raw, 0);
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }

    int run(const Launch& l) const { return finish(start(l)); }
    std::string err() const { return read(errPath()); }
    void put(const std::string& name, const std::string& bytes) const {
        morvane::testing::writeBytes(path(name), bytes);
    }
};

std::vector<std::string> runArgs(std::initializer_list<std::string> more) {
    std::vector<std::string> args{"run", "--quiet", "--seed", "5", "--generations", "2"};
    args.insert(args.end(), more);
    return args;
}

TEST_F(Cli, SameSeedGivesIdenticalFilesAndTheCsvAddsUp) {
    for (const std::string tag : {"a", "b"}) {
        const Launch l{{"run", "--generations", "30", "--seed", "77", "--quiet", "--csv",
                        path(tag + ".csv"), "--save", path(tag + ".dpt"), "--png",
                        path(tag + ".png")}};
        ASSERT_EQ(run(l), 0) << err();
    }
    for (const std::string ext : {".csv", ".dpt", ".png"}) {
        SCOPED_TRACE(ext);
        EXPECT_FALSE(read(path("a" + ext)).empty());
        EXPECT_EQ(read(path("a" + ext)), read(path("b" + ext)));
    }
    const auto rows = morvane::testing::lines(read(path("a.csv")));
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
        EXPECT_TRUE(std::stod(f[3]) >= 0.0 && std::stod(f[3]) <= 1.0);
    }
    // Zero generations convert a scenario into one that loads back to the same bytes.
    ASSERT_EQ(run({{"run", path("a.dpt"), "--generations", "0", "--save", path("c.dpt")}}), 0)
        << err();
    EXPECT_EQ(read(path("c.dpt")), read(path("a.dpt")));
}

// The writer's own test holds how targets are checked, replaced and kept; here the command line
// checks every output before the run and says which option named it.
TEST_F(Cli, BadOutputsAreRefusedBeforeTheRun) {
    fs::create_directory(dir_ / "locked");
    chmod((dir_ / "locked").c_str(), 0555);
    const bool root = geteuid() == 0;  // root writes in a read-only folder all the same
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {"empty --csv", runArgs({"--save", path("a.dpt"), "--csv", ""}),
         "--csv: the file name is empty"},
        {"one file twice", runArgs({"--csv", path("same.out"), "--save", path("same.out")}),
         "--save and --csv name the same file " + path("same.out")},
        {"missing folder", runArgs({"--csv", path("a.csv"), "--png", path("no/a.png")}),
         "--png: cannot write " + path("no/a.png") + ": the folder " + path("no") +
             " does not exist"},
        {"read-only folder",
         runArgs({"--csv", path("a.csv"), "--save", (dir_ / "locked/a.dpt").string()}),
         "--save: cannot write " + (dir_ / "locked/a.dpt").string() + ": the folder " +
             (dir_ / "locked").string() + " cannot be written: Permission denied"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (root && std::string(row.name) == "read-only folder") continue;
        EXPECT_EQ(run({row.args}), 2);
        EXPECT_NE(err().find(row.message), std::string::npos) << err();
        EXPECT_TRUE(names("run").empty());
    }
}

TEST_F(Cli, AFullDiskSaysWhyAndKeepsTheOldFiles) {
    put("out.csv", "old csv");
    put("out.dpt", "old dpt");
    // The CSV outgrows the limit long before the end; the scenario never gets written.
    Launch l{{"run", "--quiet", "--seed", "5", "--generations", "300", "--csv", path("out.csv"),
              "--save", path("out.dpt")}};
    l.fileSizeLimit = 4096;
    EXPECT_EQ(run(l), 1);
    EXPECT_EQ(err(), "morvane-cli: cannot write " + path("out.csv") + ": File too large\n");
    EXPECT_EQ(read(path("out.csv")), "old csv");
    EXPECT_EQ(read(path("out.dpt")), "old dpt");
    EXPECT_EQ(names("run"), (std::set<std::string>{"out.csv", "out.dpt"}));

    Launch full{runArgs({"--csv", "-", "--save", path("out.dpt")})};
    full.out = "/dev/full";
    EXPECT_EQ(run(full), 1);
    EXPECT_EQ(err(),
              "morvane-cli: cannot write the CSV to standard output: No space left on device\n");
    EXPECT_EQ(read(path("out.dpt")), "old dpt");
    EXPECT_EQ(names("run"), (std::set<std::string>{"out.csv", "out.dpt"}));
}

TEST_F(Cli, ArgumentsAreTakenInOneSpellingOnlyAndRefusedWithTheirReason) {
    const auto u64max = std::string("18446744073709551615");
    const struct {
        std::string option, value;
        int status;
        std::string message;
    } rows[] = {
        {"--seed", "0", 0, ""},
        {"--seed", u64max, 0, ""},
        {"--seed", "-1", 2, "--seed: \"-1\" is not a whole number in plain decimal digits"},
        {"--seed", "18446744073709551616", 2,
         "--seed: \"18446744073709551616\" is above " + u64max},
        {"--seed", "99999999999999999999999", 2, "is above " + u64max},
        {"--seed", "-" + u64max, 2, "is not a whole number in plain decimal digits"},
        {"--seed", "", 2, "--seed: \"\" is not a whole number in plain decimal digits"},
        {"--seed", "010", 2, "--seed: \"010\" has a leading zero"},
        {"--seed", "+5", 2, "--seed: \"+5\" is not a whole number in plain decimal digits"},
        {"--iterations", "010", 2, "--iterations: \"010\" has a leading zero"},
        {"--iterations", "11", 2, "--iterations: \"11\" lies outside 1..10"},
        {"--generations", "0x2", 2, "--generations: \"0x2\" is not a whole number"},
        {"--generations", "2147483648", 2, "lies outside 0..2147483647"},
        {"--neighbourhood", "14", 0, ""},
        {"--neighbourhood", "1" + std::string(100, '0'), 2,
         "--neighbourhood: \"1" + std::string(39, '0') + "\xE2\x80\xA6\" lies outside 0..14"},
        {"--mutation", "1e-40", 0, ""},
        {"--mutation", "0x1p-2", 2, "--mutation: \"0x1p-2\" is not a number"},
        {"--mutation", "1.5", 2, "--mutation: \"1.5\" lies outside 0..1"},
        {"--payoffs", "1e-40,1,0,0,1e-40,1,0,0", 0, ""},
        {"--payoffs", "4,3,1,0,4,3,1,0x1p2", 2, "--payoffs: \"0x1p2\" is not a number"},
        {"--payoffs", "4,3,1,0,4,3,1,1e39", 2, "--payoffs: \"1e39\" is not a finite 32-bit float"},
        {"--payoffs", "4,3,1,0,4,3,1", 2, "expects exactly eight numbers"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.option + " " + row.value);
        std::vector<std::string> args{"run",     "--quiet", row.option,
                                      row.value, "--save",  path("out.dpt")};
        if (row.option != "--generations") args.insert(args.end(), {"--generations", "0"});
        const int status = run(args);
        EXPECT_EQ(status, row.status) << err();
        EXPECT_NE(err().find(row.message), std::string::npos) << err();
        EXPECT_EQ(fs::exists(path("out.dpt")), row.status == 0);
        fs::remove(path("out.dpt"));
    }
    // Whatever else is wrong is refused as early, with its reason, and nothing is written.
    put("bad.dpt", " 5  5 \r\n 4 3 1 0 4 3 1\r\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } refused[] = {
        {{"run", "--rule", "darwin"}, "--rule: darwin not in {maximax,replicator,best,maximin}"},
        {{"run", "--generations", "-1"},
         "--generations: \"-1\" is not a whole number in plain decimal digits"},
        {{"run", "--iterations", "0"}, "--iterations: \"0\" lies outside 1..10"},
        {{"run", path("nowhere.dpt")}, "scenario: " + path("nowhere.dpt") + " does not exist"},
        {{"run", path("bad.dpt")},
         "morvane-cli: " + path("bad.dpt") + ":2: the pay-offs: expected 8 numbers, found 7"},
        {{}, "A subcommand is required"},
    };
    for (const auto& row : refused) {
        std::vector<std::string> args = row.args;
        args.insert(args.end(), {"--save", path("out.dpt")});
        SCOPED_TRACE(row.message);
        EXPECT_EQ(run(args), 2);
        EXPECT_NE(err().find(row.message), std::string::npos) << err();
        EXPECT_FALSE(fs::exists(path("out.dpt")));
    }
}

TEST_F(Cli, PayoffsBeyondTheBoundAreRefusedAndThoseWithinScoreFinitely) {
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
        const int status = run({{"run", "--generations", "2", "--iterations", "10", "--seed", "5",
                                 "--quiet", "--payoffs=" + c.payoffs, "--csv", path("out.csv")}});
        if (!c.error.empty()) {
            EXPECT_EQ(status, 2);
            EXPECT_EQ(morvane::testing::lines(err()).at(0), c.error);
            EXPECT_FALSE(fs::exists(path("out.csv")));
            continue;
        }
        ASSERT_EQ(status, 0) << err();
        // 24 partners times 10 rounds of the largest pay-offs still give finite scores.
        const auto rows = morvane::testing::lines(read(path("out.csv")));
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

// A run's three files are each the old bytes or a whole new file.
struct Outputs {
    std::string csv, dpt, png;
};

bool wholeNewCsv(const std::string& text, int generations) {
    return !text.empty() && text.back() == '\n' &&
           std::count(text.begin(), text.end(), '\n') == generations + 1;
}
bool wholeNewScenario(const std::string& file) {
    morvane::World w;
    return morvane::CargarEscenario(w, file).ok;
}
bool wholeNewPng(const std::string& bytes) {
    return bytes.size() > 20 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
           bytes.compare(bytes.size() - 8, 4, "IEND") == 0;
}

TEST_F(Cli, AnInterruptedRunLeavesAllOldOrAllNew) {
    constexpr int kGenerations = 20;
    const Outputs old{"old csv", "old dpt", "old png"};
    const Launch l{{"run", "--quiet", "--seed", "9", "--generations", std::to_string(kGenerations),
                    "--csv", path("out.csv"), "--save", path("out.dpt"), "--png", path("out.png")}};
    const auto reset = [&] {
        fs::remove_all(dir_ / "run");
        fs::create_directories(dir_ / "run");
        put("out.csv", old.csv);
        put("out.dpt", old.dpt);
        put("out.png", old.png);
    };
    // One whole run sets the span over which the kills are spread; nothing is asserted about it.
    reset();
    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(run(l), 0) << err();
    const auto span = std::chrono::steady_clock::now() - began;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(span).count() * 3 / 2);

    int allOld = 0, allNew = 0;
    for (int signal : {SIGINT, SIGTERM, SIGKILL}) {
        for (int trial = 0; trial < 5; ++trial) {
            SCOPED_TRACE("signal " + std::to_string(signal) + ", trial " + std::to_string(trial));
            reset();
            const pid_t pid = start(l);
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            kill(pid, signal);
            const int status = finish(pid);
            const bool csvOld = read(path("out.csv")) == old.csv;
            const bool dptOld = read(path("out.dpt")) == old.dpt;
            const bool pngOld = read(path("out.png")) == old.png;
            EXPECT_TRUE(csvOld || wholeNewCsv(read(path("out.csv")), kGenerations));
            EXPECT_TRUE(dptOld || wholeNewScenario(path("out.dpt")));
            EXPECT_TRUE(pngOld || wholeNewPng(read(path("out.png"))));
            if (signal == SIGKILL) continue;  // nothing can remove what a SIGKILL leaves behind
            EXPECT_TRUE(status == 0 || status == 128 + signal) << status;
            EXPECT_TRUE(csvOld == dptOld && dptOld == pngOld) << "all old or all new";
            EXPECT_EQ(names("run"), (std::set<std::string>{"out.csv", "out.dpt", "out.png"}));
            (csvOld ? allOld : allNew)++;
        }
    }
    // Not asserted (it depends on the machine's pace), but shown so a run that never interrupted
    // anything can be noticed.
    std::cout << "whole run " << std::chrono::duration_cast<std::chrono::milliseconds>(span).count()
              << " ms; interrupted runs: " << allOld << " all old, " << allNew << " all new\n";
}

}  // namespace
