// `morvane-cli sweep` and `merge` as a researcher meets them: real processes, signals, files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "base/rng.h"
#include "core/startup.h"
#include "io/scenario_file.h"
#include "support/test_folder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out, err;
};

using morvane::testing::readBytes;
using morvane::testing::writeBytes;

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

    Outcome run(const std::string& args, const std::string& env = "") const {
        const std::string cmd = env + " " + MORVANE_CLI_PATH + " " + args + " >" +
                                path("stdout.txt") + " 2>" + path("stderr.txt");
        const int raw = std::system(cmd.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(path("stdout.txt")),
                readBytes(path("stderr.txt"))};
    }

    // Starts a sweep, waits until it has finished `runs` runs, sends `signal`; the exit status.
    int interruptAfter(const std::vector<std::string>& args, int runs, int signal,
                       const fs::path& folder) const {
        const pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> argv{const_cast<char*>(MORVANE_CLI_PATH)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            freopen("/dev/null", "w", stderr);
            execv(MORVANE_CLI_PATH, argv.data());
            _exit(127);
        }
        int status = 0;
        while (finishedRuns(folder) < runs && waitpid(pid, &status, WNOHANG) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(pid, signal);
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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

    writeBytes(dir_ / "good.toml", "generations = 2\n");
    fs::create_directories(dir_ / "busy");
    writeBytes(dir_ / "busy" / "notes.txt", "mine");
    const Outcome busy = run("sweep " + path("good.toml") + " --out " + path("busy"));
    EXPECT_EQ(busy.status, 2);
    EXPECT_EQ(busy.err, "morvane-cli: " + path("busy") +
                            " is not empty: give --resume to complete the sweep it holds, or "
                            "name a new folder\n");
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
                              "env PATH=" + path("no-slurm-here"));
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
