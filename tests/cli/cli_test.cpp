// The command line as a researcher uses it, real processes and real files: reproducible outputs,
// outputs that must not be damaged, arguments refused before any work, runs interrupted at random
// moments, and sweeps that resume, refuse and prepare cluster jobs.
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
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/rng.h"
#include "core/startup.h"
#include "io/scenario_file.h"
#include "state/world.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;
using morvane::testing::readBytes;
using morvane::testing::writeBytes;

struct Launch {
    Launch(std::vector<std::string> a) : args(std::move(a)) {}
    std::vector<std::string> args;
    std::string out = "/dev/null", err = "/dev/null";  // standard output and error
    std::optional<rlim_t> fileSizeLimit;
    std::string searchPath;  // the process's PATH, when not empty
};

pid_t start(const Launch& l) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (l.fileSizeLimit) {
        const rlimit limit{*l.fileSizeLimit, *l.fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (!l.searchPath.empty()) setenv("PATH", l.searchPath.c_str(), 1);
    const int out = open(l.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(l.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(MORVANE_CLI_PATH)};
    for (const auto& a : l.args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(MORVANE_CLI_PATH, argv.data());
    _exit(127);
}

// The exit status, or 128 + the signal that ended the process.
int finish(pid_t pid) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

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

    int run(Launch l) const {
        l.err = errPath();
        return finish(start(l));
    }
    std::string err() const { return read(errPath()); }
    void put(const std::string& name, const std::string& bytes) const {
        writeBytes(path(name), bytes);
    }
};

std::vector<std::string> runArgs(std::initializer_list<std::string> more) {
    std::vector<std::string> args{"run", "--quiet", "--seed", "5", "--generations", "2"};
    args.insert(args.end(), more);
    return args;
}

TEST_F(Cli, SameSeedGivesIdenticalFiles) {
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
    // A header and one row per generation; the header's columns are the golden run's.
    EXPECT_EQ(morvane::testing::lines(read(path("a.csv"))).size(), 31u);
    // Zero generations convert a scenario into one that loads back to the same bytes.
    ASSERT_EQ(run({{"run", path("a.dpt"), "--generations", "0", "--save", path("c.dpt")}}), 0)
        << err();
    EXPECT_EQ(read(path("c.dpt")), read(path("a.dpt")));
}

// The writer's own test holds how targets are checked, replaced and kept; here the command line
// checks every output before the run and says which option named it.
TEST_F(Cli, BadOutputsAreRefusedBeforeTheRun) {
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
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
    const std::string beyond =
        " lies beyond -1.33444e+36..1.33444e+36, where scores would overflow";
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
        {"--seed", "", 2, "--seed: \"\" is not a whole number in plain decimal digits"},
        {"--seed", "010", 2, "--seed: \"010\" has a leading zero"},
        {"--seed", "+5", 2, "--seed: \"+5\" is not a whole number in plain decimal digits"},
        {"--iterations", "11", 2, "--iterations: \"11\" lies outside 1..10"},
        {"--generations", "0x2", 2, "--generations: \"0x2\" is not a whole number"},
        {"--generations", "2147483648", 2, "lies outside 0..2147483647"},
        {"--neighbourhood", "14", 0, ""},
        {"--neighbourhood", "1" + std::string(100, '0'), 2,
         "--neighbourhood: \"1" + std::string(39, '0') + "\xE2\x80\xA6\" lies outside 0..14"},
        {"--mutation", "1e-40", 0, ""},
        {"--mutation", "0x1p-2", 2, "--mutation: \"0x1p-2\" is not a number"},
        {"--mutation", "1.5", 2, "--mutation: \"1.5\" lies outside 0..1"},
        {"--payoffs", "4,3,1,0,4,3,1,1e39", 2, "--payoffs: \"1e39\" is not a finite 32-bit float"},
        {"--payoffs", "4,3,1,0,4,3,1", 2, "expects exactly eight numbers"},
        {"--payoffs", "3e38,3e38,-3e38,-3e38,3e38,3e38,-3e38,-3e38", 2,
         "--payoffs: T1 = 3e+38" + beyond},
        {"--payoffs", "2e37,1e37,1e37,0,2e37,1e37,1e37,0", 2, "--payoffs: T1 = 2e+37" + beyond},
        {"--payoffs", "4,3,1,0,4,3,1,-1.335e36", 2, "--payoffs: S2 = -1.335e+36" + beyond},
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

// 24 partners times 10 rounds of the largest pay-offs allowed still give finite scores.
TEST_F(Cli, PayoffsAtTheBoundScoreFinitely) {
    for (const std::string bound : {"1.334e36", "-1.334e36"}) {
        SCOPED_TRACE(bound);
        std::string payoffs = bound;
        for (int k = 1; k < 8; ++k) payoffs += "," + bound;
        ASSERT_EQ(run({{"run", "--generations", "2", "--iterations", "10", "--seed", "5", "--quiet",
                        "--payoffs=" + payoffs, "--csv", path("out.csv")}}),
                  0)
            << err();
        const auto rows = morvane::testing::lines(read(path("out.csv")));
        ASSERT_EQ(rows.size(), 3u);
        for (std::size_t g = 1; g < rows.size(); ++g) {
            std::stringstream ss(rows[g]);
            std::string meanScore;
            for (int f = 0; f <= 4; ++f) std::getline(ss, meanScore, ',');
            // Empty once every cell has died: nobody is scored.
            EXPECT_TRUE(meanScore.empty() || std::isfinite(std::stod(meanScore))) << rows[g];
        }
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

struct Outcome {
    int status;
    std::string out, err;
};

int finishedRuns(const fs::path& folder) {
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder / "runs", ec))
        n += e.path().string().find(".summary.csv") != std::string::npos &&
             e.path().filename().string()[0] != '.';
    return n;
}

class SweepCli : public morvane::testing::FolderTest {
  protected:
    SweepCli() : FolderTest("morvane_sweep_cli") {}
    void SetUp() override {
        FolderTest::SetUp();
        morvane::World w;
        morvane::Rng rng(3);
        morvane::makeBusyWorld(w, rng, 12, 10, 2, 2);
        std::string text;
        ASSERT_TRUE(morvane::storableScenarioText(w, &text).ok);
        writeBytes(dir_ / "base.dpt", text);
    }

    // Runs morvane-cli with the words of `args`.
    Outcome run(const std::string& args, const std::string& searchPath = "") const {
        std::istringstream in(args);
        Launch l{{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()}};
        l.out = path("stdout.txt");
        l.err = path("stderr.txt");
        l.searchPath = searchPath;
        const int status = finish(start(l));
        return {status, readBytes(l.out), readBytes(l.err)};
    }

    // Starts a sweep, waits until it has finished `runs` runs, sends `signal`; the exit status.
    int interruptAfter(const std::vector<std::string>& args, int runs, int signal,
                       const fs::path& folder) const {
        const pid_t pid = start(args);
        // A sweep that ended before the signal is reaped here and reads as status 0.
        while (finishedRuns(folder) < runs && waitpid(pid, nullptr, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(pid, signal);
        return finish(pid);
    }
};

const char* const kLongSweep =
    "scenario = \"base.dpt\"\ngenerations = 60\nrepetitions = 6\nseed = 9\n"
    "[vary]\nrule = [\"maximax\", \"replicator\"]\nneighbourhood = [2, 12]\n";

TEST_F(SweepCli, AnInterruptedSweepResumesToTheBytesOfAnUninterruptedOne) {
    writeBytes(dir_ / "long.toml", kLongSweep);
    ASSERT_EQ(run("sweep " + path("long.toml") + " --out " + path("whole") + " --jobs 1").status,
              0);
    const auto whole = morvane::testing::sweepFiles(dir_ / "whole");
    ASSERT_EQ(whole.size(), 2u + 2 * 24 + 1);
    struct Case {
        int signal, status;
    };
    for (const Case c : {Case{SIGKILL, 128 + SIGKILL}, {SIGTERM, 143}, {SIGINT, 130}}) {
        SCOPED_TRACE(strsignal(c.signal));
        const fs::path out = dir_ / ("cut" + std::to_string(c.signal));
        const int status = interruptAfter(
            {"sweep", path("long.toml"), "--out", out.string(), "--jobs", "2"}, 3, c.signal, out);
        EXPECT_EQ(status, c.status);
        const int kept = finishedRuns(out);
        EXPECT_GE(kept, 3);
        EXPECT_LT(kept, 24) << "the sweep ended before the signal";
        if (c.signal != SIGKILL) {
            for (const auto& e : fs::recursive_directory_iterator(out))
                EXPECT_NE(e.path().filename().string()[0], '.') << "left behind: " << e.path();
        }
        const Outcome resumed = run("sweep " + path("long.toml") + " --out " + out.string() +
                                    " --jobs 2 --resume --quiet");
        ASSERT_EQ(resumed.status, 0) << resumed.err;
        EXPECT_EQ(morvane::testing::sweepFiles(out), whole);
    }
}

TEST_F(SweepCli, EachRunEqualsMorvaneCliRunWithItsSeedAndSettings) {
    writeBytes(dir_ / "points.toml",
               "scenario = \"base.dpt\"\ngenerations = 15\nrepetitions = 1\nseed = 11\n"
               "[[point]]\nthreshold_survive = 0.75\nsum_mode = 3\noption7 = true\n"
               "[[point]]\npayoffs = [4, 3, 1, 0, 4, 3, 1, 0.5]\nmutation = 0\nrule = \"maximin\"\n"
               "[[point]]\nthreshold_today = 0.25\noption8 = false\niterations = 3\n");
    ASSERT_EQ(run("sweep " + path("points.toml") + " --out " + path("p") + " --quiet").status, 0);
    const std::string options[] = {
        "--threshold-survive 0.75 --sum-mode 3 --option 7=on",
        "--payoffs 4,3,1,0,4,3,1,0.5 --mutation 0 --rule maximin",
        "--threshold-today 0.25 --option 8=off --iterations 3",
    };
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(options[p]);
        std::stringstream rows(readBytes(dir_ / "p" / "runs" /
                                         ("point-00000" + std::to_string(p) + "-rep-000000.csv")));
        std::string sweepRun, line, seed;
        while (std::getline(rows, line)) {
            // point, repetition, seed and the nine varied columns come first.
            std::size_t at = 0;
            for (int comma = 0; comma < 12; ++comma) at = line.find(',', at) + 1;
            sweepRun += line.substr(at) + "\n";
            if (seed.empty() && line[0] != 'p') seed = line.substr(4, line.find(',', 4) - 4);
        }
        const Outcome alone = run("run " + path("base.dpt") + " --generations 15 --quiet --seed " +
                                  seed + " --csv - " + options[p]);
        ASSERT_EQ(alone.status, 0) << alone.err;
        EXPECT_EQ(alone.out, sweepRun);
    }
}

TEST_F(SweepCli, RefusesBadFilesAndFoldersWithReasonsAndWritesNothing) {
    writeBytes(dir_ / "bad.toml", "generations = 10\n[vary]\nrule = [\"best\", \"worst\"]\n");
    const Outcome bad = run("sweep " + path("bad.toml") + " --out " + path("never"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "morvane-cli: " + path("bad.toml") +
                           ":3: rule \"worst\" is none of maximax, replicator, best, maximin\n");
    EXPECT_FALSE(fs::exists(dir_ / "never"));

    // The runner's own test holds its refusals of busy folders; a shard's shows the message and
    // the folder untouched.
    writeBytes(dir_ / "good.toml", "generations = 2\n");
    fs::create_directories(dir_ / "busy");
    writeBytes(dir_ / "busy" / "notes.txt", "mine");
    const Outcome shard =
        run("sweep " + path("good.toml") + " --out " + path("busy") + " --shard 1/2");
    EXPECT_EQ(shard.status, 2);
    EXPECT_EQ(shard.err, "morvane-cli: " + path("busy") +
                             " is not empty and holds no sweep.toml: name a new folder\n");
    for (const char* args : {"--shard 2/2", "--shard 1", "--jobs 0", "--partition x"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(run("sweep " + path("good.toml") + " --out " + path("never") + " " + args).status,
                  2);
    }
    EXPECT_FALSE(fs::exists(dir_ / "never"));
    EXPECT_EQ(readBytes(dir_ / "busy" / "notes.txt"), "mine");
    EXPECT_EQ(fs::directory_iterator(dir_ / "busy")->path().filename(), "notes.txt");
}

TEST_F(SweepCli, DryRunCountsTheRunsAndWritesNothing) {
    writeBytes(dir_ / "long.toml", kLongSweep);
    const Outcome dry =
        run("sweep " + path("long.toml") + " --out " + path("dry") + " --dry-run --jobs 2");
    ASSERT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(dry.out.rfind("24 runs: 4 points x 6 repetitions, 60 generations each\nabout ", 0),
              0u)
        << dry.out;
    EXPECT_NE(dry.out.find(" on 2 jobs (one run takes about "), std::string::npos) << dry.out;
    EXPECT_NE(dry.out.find("\npoint 0: neighbourhood=2 rule=maximax\n"
                           "point 1: neighbourhood=2 rule=replicator\n"
                           "point 2: neighbourhood=12 rule=maximax\n"),
              std::string::npos)
        << dry.out;
    EXPECT_FALSE(fs::exists(dir_ / "dry"));
}

TEST_F(SweepCli, SlurmFilesWithoutSbatchSayHowToSubmit) {
    writeBytes(dir_ / "long.toml", kLongSweep);
    const Outcome slurm = run("sweep " + path("long.toml") + " --out " + path("cluster") +
                                  " --slurm --partition short --time 0:30:00 --cpus-per-task 4 "
                                  "--array-size 5",
                              path("no-slurm-here"));
    ASSERT_EQ(slurm.status, 0) << slurm.err;
    const std::string folder = fs::canonical(dir_ / "cluster").string();
    EXPECT_NE(slurm.out.find("sh " + folder + "/submit.sh"), std::string::npos) << slurm.out;
    const std::string batch = readBytes(dir_ / "cluster" / "sweep.sbatch");
    for (const std::string& line :
         {std::string("#SBATCH --array=0-4\n"), std::string("#SBATCH --cpus-per-task=4\n"),
          "#SBATCH --chdir=" + folder + "\n", std::string("#SBATCH --partition=short\n"),
          std::string("#SBATCH --time=0:30:00\n"),
          std::string(" --jobs \"$SLURM_CPUS_PER_TASK\" --shard "
                      "\"$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT\"\n"),
          "exec " + fs::canonical(MORVANE_CLI_PATH).string() + " sweep " +
              fs::canonical(dir_ / "long.toml").string() + " --out " + folder}) {
        EXPECT_NE(batch.find(line), std::string::npos) << line << "\nin\n" << batch;
    }
    EXPECT_NE(readBytes(dir_ / "cluster" / "merge.sbatch").find(" merge " + folder + "\n"),
              std::string::npos);
    EXPECT_NE(readBytes(dir_ / "cluster" / "submit.sh")
                  .find("--dependency=afterok:$A --kill-on-invalid-dep=yes merge.sbatch"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dir_ / "cluster" / "sweep.toml"));
    EXPECT_TRUE(fs::is_directory(dir_ / "cluster" / "logs"));

    // The shards the array will run accept the folder --slurm prepared.
    const Outcome shard =
        run("sweep " + path("long.toml") + " --out " + path("cluster") + " --shard 4/5 --quiet");
    EXPECT_EQ(shard.status, 0) << shard.err;
    EXPECT_EQ(finishedRuns(dir_ / "cluster"), 4);
}

TEST_F(SweepCli, VersionNamesTheRevision) {
    const Outcome version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("morvane-cli 0.1 (revision ", 0), 0u) << version.out;
}

}  // namespace
