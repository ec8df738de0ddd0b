// Whole sweeps in a folder: the same bytes however the runs are spread, resumes that refuse to mix
// two sweeps, merges that refuse to leave runs out, and failures that keep what was finished.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/rng.h"
#include "core/startup.h"
#include "io/scenario_file.h"
#include "support/test_folder.h"
#include "sweep/merge.h"
#include "sweep/seeds.h"
#include "sweep/sweep.h"

namespace {

namespace fs = std::filesystem;
using morvane::PreparedSweep;
using morvane::Shard;
using morvane::SweepOutcome;
using morvane::SweepRequest;

using morvane::testing::lines;
using morvane::testing::readBytes;
using morvane::testing::writeBytes;

class SweepRunner : public morvane::testing::FolderTest {
  protected:
    SweepRunner() : FolderTest("morvane_sweep") {}
    void SetUp() override {
        FolderTest::SetUp();
        saveBaseWorld(5);
        writeSweep("");
    }

    // A small busy world, so a run takes milliseconds; `slotName` renames its slot 2.
    void saveBaseWorld(std::uint64_t seed, const std::string& slotName = "") {
        morvane::World w;
        morvane::Rng rng(seed);
        morvane::makeBusyWorld(w, rng, 6, 5, 2, 1);
        if (!slotName.empty()) w.ListaEstrategias[2].name = slotName;
        std::string text;
        ASSERT_TRUE(morvane::storableScenarioText(w, &text).ok);
        writeBytes(dir_ / "base.dpt", text);
    }

    void writeSweep(const std::string& extra, const std::string& keep = "2") {
        writeBytes(dir_ / "sweep.toml",
                   "scenario = \"base.dpt\"\ngenerations = 12\nrepetitions = 2\nseed = 42\n"
                   "keep = " +
                       keep + "\nsummary_window = 4\n" + extra +
                       "[vary]\nrule = [\"maximax\", \"replicator\"]\nmutation = [0, 0.2]\n");
    }

    PreparedSweep prepared() {
        PreparedSweep sweep;
        const SweepOutcome ok = morvane::prepareSweep((dir_ / "sweep.toml").string(), &sweep);
        EXPECT_EQ(ok.exitCode, 0) << ok.message;
        return sweep;
    }

    SweepOutcome sweepInto(const std::string& out, int jobs, Shard shard = {},
                           bool resume = false) {
        SweepRequest request;
        request.folder = (dir_ / out).string();
        request.jobs = jobs;
        request.shard = shard;
        request.resume = resume;
        return morvane::runSweep(prepared(), request);
    }
};

TEST_F(SweepRunner, SameBytesWithOneJobTwoJobsAndThreeShardsMerged) {
    ASSERT_EQ(sweepInto("one", 1).exitCode, 0);
    ASSERT_EQ(sweepInto("two", 2).exitCode, 0);
    for (int i = 0; i < 3; ++i) {
        const SweepOutcome shard = sweepInto("shards", 2, {i, 3});
        ASSERT_EQ(shard.exitCode, 0) << shard.message;
        EXPECT_FALSE(fs::exists(dir_ / "shards" / "results.csv")) << "a shard merged";
    }
    const SweepOutcome merged = morvane::mergeSweepFolder((dir_ / "shards").string());
    ASSERT_EQ(merged.exitCode, 0) << merged.message;

    const auto one = morvane::testing::sweepFiles(dir_ / "one");
    EXPECT_EQ(one.size(), 2u + 2 * 8 + 1);  // the tables, two files a run, sweep.toml
    EXPECT_EQ(morvane::testing::sweepFiles(dir_ / "two"), one);
    EXPECT_EQ(morvane::testing::sweepFiles(dir_ / "shards"), one);
    EXPECT_TRUE(fs::exists(dir_ / "shards" / "manifest" / "shard-2.json"));

    // Every other generation of every run, in run order, behind one header.
    const auto rows = lines(one.at("results.csv"));
    ASSERT_EQ(rows.size(), 1u + 8 * 6);
    EXPECT_EQ(rows[0].rfind("point,repetition,seed,mutation,rule,generation,coop_role1,", 0), 0u);
    EXPECT_EQ(rows[1].rfind("0,0,6332618229526065668,0,maximax,2,", 0), 0u) << rows[1];
    EXPECT_EQ(rows[7].rfind("0,1,17532488217563185893,0,maximax,2,", 0), 0u) << rows[7];
    std::vector<std::string> last;
    std::stringstream fields(rows[48]);
    for (std::string f; std::getline(fields, f, ',');) last.push_back(f);
    ASSERT_GT(last.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(last.begin(), last.begin() + 6),
              (std::vector<std::string>{"3", "1", std::to_string(morvane::runSeed(42, 3, 1, false)),
                                        "0.2", "replicator", "12"}));
}

TEST_F(SweepRunner, SummariesReadEveryGenerationWhenOnlyTheLastIsKept) {
    ASSERT_EQ(sweepInto("some", 2).exitCode, 0);
    writeSweep("", "\"last\"");
    ASSERT_EQ(sweepInto("last", 2).exitCode, 0);
    EXPECT_EQ(readBytes(dir_ / "last" / "summary.csv"), readBytes(dir_ / "some" / "summary.csv"));
    const auto last = lines(readBytes(dir_ / "last" / "results.csv"));
    const auto some = lines(readBytes(dir_ / "some" / "results.csv"));
    ASSERT_EQ(last.size(), 1u + 8);
    for (std::size_t run = 0; run < 8; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        EXPECT_EQ(last[1 + run], some[6 * (run + 1)]);
    }
    const auto summary = lines(readBytes(dir_ / "some" / "summary.csv"));
    ASSERT_EQ(summary.size(), 9u);
    EXPECT_EQ(
        summary[0].rfind("point,repetition,seed,mutation,rule,mean_coop,final_alive,share:", 0),
        0u);
    EXPECT_EQ(summary[0].substr(summary[0].size() - 20), ",fixation_generation");
}

TEST_F(SweepRunner, MergeRefusesWhileRunsAreMissingAndListsThem) {
    ASSERT_EQ(sweepInto("part", 1, {0, 3}).exitCode, 0);
    const SweepOutcome merged = morvane::mergeSweepFolder((dir_ / "part").string());
    EXPECT_EQ(merged.exitCode, 1);
    const std::string folder = (dir_ / "part").string();
    EXPECT_EQ(merged.message.rfind("5 of 8 runs are missing in " + folder +
                                       "; nothing merged:\n"
                                       "  run 1 (point 0, repetition 1)\n"
                                       "  run 2 (point 1, repetition 0)\n"
                                       "  run 4 (point 2, repetition 0)\n",
                                   0),
              0u)
        << merged.message;
    EXPECT_FALSE(fs::exists(dir_ / "part" / "results.csv"));
    EXPECT_FALSE(fs::exists(dir_ / "part" / "summary.csv"));
}

TEST_F(SweepRunner, ResumeCompletesTheSameSweepAndRefusesAnother) {
    ASSERT_EQ(sweepInto("whole", 2).exitCode, 0);
    const auto whole = morvane::testing::sweepFiles(dir_ / "whole");

    // Half the runs, as an interrupted sweep leaves them, plus a writer's leftover.
    ASSERT_EQ(sweepInto("resumed", 1, {1, 2}).exitCode, 0);
    const fs::path leftover = dir_ / "resumed" / "runs" / ".point-000000-rep-000000.csv.Ab12Cd";
    writeBytes(leftover, "half a row");
    const SweepOutcome refused = sweepInto("resumed", 1);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.message, (dir_ / "resumed").string() +
                                   " is not empty: give --resume to complete the sweep it holds, "
                                   "or name a new folder");
    const SweepOutcome resumed = sweepInto("resumed", 2, {}, true);
    ASSERT_EQ(resumed.exitCode, 0) << resumed.message;
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(morvane::testing::sweepFiles(dir_ / "resumed"), whole);

    const std::string another = (dir_ / "whole").string() +
                                " holds another sweep: its sweep.toml differs from this one (a "
                                "changed sweep file or base scenario); use a new folder";
    writeSweep("paired = true\n");
    EXPECT_EQ(sweepInto("whole", 1, {}, true).message, another);
    writeSweep("");
    saveBaseWorld(6);
    EXPECT_EQ(sweepInto("whole", 1, {}, true).message, another);
    EXPECT_EQ(sweepInto("whole", 1, {0, 2}).message, another);
    EXPECT_EQ(morvane::testing::sweepFiles(dir_ / "whole"), whole);
}

TEST_F(SweepRunner, AFailedWriteStopsTheSweepNamingTheFileAndKeepsFinishedRuns) {
    const PreparedSweep sweep = prepared();
    const fs::path out = dir_ / "out";
    fs::create_directories(out / "runs" / "point-000002-rep-000000.csv");
    writeBytes(out / "sweep.toml", sweep.resolved);
    SweepRequest request;
    request.folder = out.string();
    request.resume = true;
    const SweepOutcome failed = morvane::runSweep(sweep, request);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.message,
              "cannot replace " + out.string() +
                  "/runs/point-000002-rep-000000.csv: Is a directory (no file was replaced)");
    int finished = 0;
    for (const auto& e : fs::directory_iterator(out / "runs")) {
        const std::string name = e.path().filename().string();
        EXPECT_NE(name[0], '.') << "a temporary file was left: " << name;
        finished += name.find(".summary.csv") != std::string::npos;
    }
    EXPECT_EQ(finished, 4);
    EXPECT_FALSE(fs::exists(out / "results.csv"));
}

TEST_F(SweepRunner, RefusesASlotNamedLikeAColumnAndABaseScenarioTheReaderRefuses) {
    writeBytes(dir_ / "base.dpt", "not a scenario\n");
    PreparedSweep sweep;
    const SweepOutcome bad = morvane::prepareSweep((dir_ / "sweep.toml").string(), &sweep);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.message.rfind((dir_ / "base.dpt").string() + ":1: ", 0), 0u) << bad.message;

    saveBaseWorld(1, "rule");
    const SweepOutcome clash = morvane::prepareSweep((dir_ / "sweep.toml").string(), &sweep);
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_EQ(clash.message,
              "the strategy slot named rule would repeat a column of the sweep's tables: rename "
              "the slot");
}

}  // namespace
