#include "io/strategy_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "io/scenario_worlds.h"
#include "strategy/limits.h"
#include "support/test_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing_io::startUpWorld;

// A world whose list and limits are not the start-up ones, so a copy is seen to be taken.
World editedWorld() {
    World w = startUpWorld(3, 2);
    w.Rangos = defaultRangos();
    w.Rangos.limits[7][1] = {3, 9};
    w.ListaEstrategias[8].name = "Generous";
    w.ListaEstrategias[8].Reparto = 1024 + 150;
    w.ListaEstrategias[8].genoma.parte[0].SenIC = 33.5f;
    return w;
}

class StrategyFolder : public testing::FolderTest {
  protected:
    StrategyFolder() : FolderTest("morvane_est") {}
};

TEST_F(StrategyFolder, HoldsAScenariosTailByteForByteAndReadsItBack) {
    const World w = editedWorld();
    const std::string scenario = scenarioText(w);
    const std::string est = strategyFileText(w.Rangos, w.ListaEstrategias);
    ASSERT_GT(scenario.size(), est.size());
    EXPECT_EQ(scenario.substr(scenario.size() - est.size()), est);
    EXPECT_TRUE(est.starts_with("\r\n[Rangos]\r\n\r\n"));

    // Save, open, save: the same bytes; a scenario's tail reads as the same contents.
    ASSERT_TRUE(saveStrategyFile((dir_ / "a.est").string(), w.Rangos, w.ListaEstrategias).ok);
    EXPECT_EQ(readBytes(dir_ / "a.est"), est);
    StrategyFileContents read;
    read.limits = defaultRangos();
    ASSERT_TRUE(loadStrategyFile((dir_ / "a.est").string(), read).ok);
    // Every value the file holds is written again: the same bytes mean every value came back.
    ASSERT_TRUE(saveStrategyFile((dir_ / "b.est").string(), read.limits, read.list).ok);
    EXPECT_EQ(readBytes(dir_ / "b.est"), est);

    testing::writeBytes(dir_ / "w.dpt", scenario);
    StrategyFileContents fromScenario;
    ASSERT_TRUE(loadStrategyFile((dir_ / "w.dpt").string(), fromScenario).ok);
    EXPECT_EQ(strategyFileText(fromScenario.limits, fromScenario.list), est);
}

TEST(StrategyFile, RefusesMalformedFilesAtTheirLine) {
    const World w = editedWorld();
    const std::string good = strategyFileText(w.Rangos, w.ListaEstrategias);
    auto replaceLine = [&](int line, const std::string& with) {
        std::string t = good;
        std::size_t at = 0;
        for (int k = 1; k < line; ++k) at = t.find("\r\n", at) + 2;
        t.replace(at, t.find("\r\n", at) - at, with);
        return t;
    };
    // Lines: 1..3 empty, [Rangos], empty; 4..34 limits; 35..37 empty, [Estrategias], empty; then
    // 19 lines per slot from 38 (slot 2), so slot s starts at 38 + 19 (s - 2). What a scenario's
    // sections refuse alike is held by the scenario file's test; here, what only a strategy file
    // refuses.
    const int slot10 = 38 + 19 * 8;
    const struct {
        const char* row;
        std::string text;
        int line;
        std::string reason;
    } rows[] = {
        {"another header", replaceLine(36, "[Otras]"), 36,
         "expected the header [Estrategias], found \"[Otras]\""},
        {"named after unnamed", replaceLine(slot10, "Late"), slot10,
         "strategy slot 10 is named \"Late\" after the unnamed slot 9: the list would end at the "
         "unnamed slot"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        StrategyFileContents into;
        const LoadResult r = readStrategyText(row.text, false, into);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, row.line);
        EXPECT_EQ(r.reason, row.reason);
    }
}

TEST_F(StrategyFolder, ASaveThatFailsOrWouldNotReadBackLeavesTheOldFile) {
    const World w = editedWorld();
    const fs::path target = dir_ / "old.est";
    testing::writeBytes(target, "old bytes");

    World holed = w;
    holed.ListaEstrategias[10].name = "after a hole";  // slot 9 has no name
    const SaveResult refused =
        saveStrategyFile(target.string(), holed.Rangos, holed.ListaEstrategias);
    EXPECT_EQ(refused.reason,
              "the strategies cannot be stored: line " + std::to_string(38 + 19 * 8) +
                  " would read back as an error: strategy slot 10 is named \"after a hole\" "
                  "after the unnamed slot 9: the list would end at the unnamed slot");

    // A file size limit makes the write itself fail, as a full disk would.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    const SaveResult failed = saveStrategyFile(target.string(), w.Rangos, w.ListaEstrategias);
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(failed.ok);
    EXPECT_NE(failed.reason.find("File too large"), std::string::npos) << failed.reason;
    EXPECT_EQ(readBytes(target), "old bytes");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace morvane
