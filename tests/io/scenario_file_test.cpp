#include "io/scenario_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "games/payoff.h"
#include "io/scenario_worlds.h"
#include "state/vista.h"
#include "support/test_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing_io::expectSameWorld;
using testing_io::randomWorld;
using testing_io::startUpWorld;

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

// Line numbers (1-based) of a 2 x 3 world's file.
constexpr int kFirstCellLine = 8;
constexpr int kRangosHeaderLine = 7 + 6 * 17 + 2;                       // 111
constexpr int kEstrategiasHeaderLine = kRangosHeaderLine + 1 + 31 + 2;  // 145
constexpr int slotLine(int slot, int line) {
    return kEstrategiasHeaderLine + 2 + (slot - 2) * 19 + (line - 1);
}

// The start-up world's file, byte for byte: the header, every cell block, the limits and the
// predefined strategies with their distribution. Saved files and other programs read these bytes;
// MORVANE_UPDATE_GOLDEN=1 stores the file anew after a deliberate change.
TEST(ScenarioFile, StartUpWorldIsWrittenAsStored) {
    constexpr const char* kGoldenFile = MORVANE_TEST_DATA "/startup_2x3.dpt";
    World w = startUpWorld(2, 3);
    w.ListaEstrategias[5].genoma.parte[0].SenIC = 33.5f;
    w.genoma(kActual, 2) = deadSquareGenome();
    const std::string text = scenarioText(w);
    if (std::getenv("MORVANE_UPDATE_GOLDEN")) {
        std::ofstream(kGoldenFile, std::ios::binary) << text;
        GTEST_SKIP() << "stored a new start-up file in " << kGoldenFile;
    }
    const std::string stored = readBytes(kGoldenFile);
    ASSERT_FALSE(stored.empty()) << "missing " << kGoldenFile;
    ASSERT_EQ(text, stored);

    World back;
    ASSERT_TRUE(readScenarioText(back, text).ok);
    EXPECT_EQ(back.ListaEstrategias[5].genoma.parte[0].SenIC, 33.5f);
}

TEST(ScenarioFile, SaveLoadSaveGivesTheSameBytes) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        const World w = randomWorld(5, 4, seed);
        const std::string first = scenarioText(w);
        World back;
        back.PasoCoop = 33;
        const LoadResult r = readScenarioText(back, first);
        ASSERT_TRUE(r.ok) << r.line << ": " << r.reason;
        // Every stored field is drawn so that its text reads back exactly: the same bytes mean
        // every value came back.
        EXPECT_EQ(scenarioText(back), first);
        EXPECT_EQ(back.PasoCoop, 33) << "what the file does not hold keeps its value";
    }
}

TEST(ScenarioFile, LoadSetsUpTheWorldAndKeepsWhatTheFileDoesNotHold) {
    World w = startUpWorld(1, 3);
    clickRegla(w, 3);  // "Maxi Min"
    w.Iteraciones = 10;
    w.genoma(kActual, 0) = Genoma{};  // the selected strategy of the world in memory
    setPayoffs(w.payoffs, {1.334e36f, 4, 3, 3, 1, 1, 0, -1.334e36f});  // the bound is taken
    const std::string text = scenarioText(w);

    World target = startUpWorld(4, 4);
    target.PasoCoop = 7;
    target.Rangos.bounds[9][0] = {3, 4};
    target.restorePayoffs = {1, 2, 3, 4, 5, 6, 7, 8};
    target.CasillaSel = 16;
    ASSERT_TRUE(readScenarioText(target, text).ok);

    EXPECT_EQ(target.NumJugadores, 3);
    EXPECT_EQ(target.CasillaSel, 3);
    EXPECT_TRUE(target.genoma(kActual, 0) == deadSquareGenome());
    EXPECT_TRUE(target.genoma(kPrevio, 0) == deadSquareGenome());
    EXPECT_EQ(target.options.Regla, 4);
    EXPECT_EQ(target.options.mnuRegla, (std::array<bool, 4>{false, false, false, true}));
    EXPECT_EQ(target.Iteraciones, 10);
    EXPECT_EQ(target.Vista, 131072.0f + 16 + 32768 + 3584 + 2 + 4096 + 8192);
    EXPECT_EQ(target.PasoCoop, 7);
    EXPECT_EQ(target.Rangos.bounds[9][0], (std::array<std::int32_t, 2>{3, 4}));
    EXPECT_EQ(target.restorePayoffs, (PayoffCopy{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(target.payoffs.S[2], -1.334e36f);
    EXPECT_EQ(target.payoffs.PayoffMax[1], 1.334e36f) << "the analysis follows the pay-offs read";
    ASSERT_EQ(target.neighbourhood.Vecinos.size(), 4u);
    EXPECT_EQ(target.vecino(1, 0), 3) << "the neighbour table is built for the loaded size";
}

TEST(ScenarioFile, SlotsAfterAnEmptyOneAndOddNamesComeBack) {
    World w = startUpWorld(2, 2);
    w.ListaEstrategias[9].name = " Tit, For Tat, again";
    w.ListaEstrategias[9].genoma.parte[0].SenIA = 12.25f;
    w.ListaEstrategias[10].name = "two\r\nlines\x01";
    w.ListaEstrategias[20].Reparto = 1024 + 150;  // "Random": active, 15 %
    w.ListaEstrategias[20].genoma.parte[1].Y3 = 77;
    World back = startUpWorld(1, 1);
    back.ListaEstrategias[8].name = "was here";
    ASSERT_TRUE(readScenarioText(back, scenarioText(w)).ok);
    EXPECT_EQ(back.ListaEstrategias[8].name, "");
    EXPECT_EQ(back.ListaEstrategias[9], w.ListaEstrategias[9]);
    EXPECT_EQ(back.ListaEstrategias[10].name, "two  lines ");
    EXPECT_EQ(back.ListaEstrategias[20], w.ListaEstrategias[20]);
}

TEST(ScenarioFile, AnotherSectionAfterTheLimitsKeepsTheList) {
    World w = startUpWorld(2, 2);
    w.Rangos.limits[30][1] = {0, 2};
    auto lines = crlfLines(scenarioText(w));
    const int header = 7 + 4 * 17 + 2 + 1 + 31 + 2;
    ASSERT_EQ(lines[header - 1], "[Estrategias]");
    lines[header - 1] = "[Otra cosa]";
    lines.resize(header);

    World back = startUpWorld(1, 1);
    back.ListaEstrategias[3].name = "kept";
    const LoadResult r = readScenarioText(back, joinCrlf(lines));
    ASSERT_TRUE(r.ok) << r.line << ": " << r.reason;
    EXPECT_EQ(back.NumJugadores, 4);
    EXPECT_EQ(back.Rangos.limits[30][1], (std::array<std::int32_t, 2>{0, 2}));
    EXPECT_EQ(back.ListaEstrategias[3].name, "kept");
}

// A change to one line of a good 2 x 3 file, and the error it must give.
struct Malformed {
    std::string name;
    std::function<void(std::vector<std::string>&)> edit;
    int line;
    std::string reason;
};

TEST(ScenarioFile, RefusesMalformedFilesAndKeepsTheWorld) {
    auto set = [](int line, std::string text) {
        return [=](std::vector<std::string>& l) { l[line - 1] = text; };
    };
    auto cut = [](int lines) { return [=](std::vector<std::string>& l) { l.resize(lines); }; };
    const int sen = slotLine(2, 8);
    const std::string beyond = "lies beyond -1.33444e+36..1.33444e+36, where scores would overflow";
    const std::vector<Malformed> rows{
        {"zero columns", set(1, " 0  3 "), 1,
         "a world of 0 x 3 cells: columns and rows must be positive and give at most 4095 cells"},
        {"too many cells", set(1, " 64  64 "), 1,
         "a world of 64 x 64 cells: columns and rows must be positive and give at most 4095 "
         "cells"},
        {"size beyond 16 bits", set(1, " 2  40000 "), 1,
         "NumFilas: \"40000\" does not fit -32768..32767"},
        {"fewer cells than the size", set(1, " 2  4 "), kRangosHeaderLine - 1,
         "the cell blocks end before cell 7 of the 8 the size line gives"},
        {"more cells than the size", set(1, " 1  3 "), 7 + 3 * 17 + 1,
         "more cell blocks than the 3 the size line gives"},
        {"text for a pay-off", set(2, " 4 3 x 0 4 3 1 0"), 2, "P(1): \"x\" is not a number"},
        {"pay-off beyond the bound", set(2, " 1.335e36 3 1 0 4 3 1 0"), 2,
         "T(1): \"1.335e36\" " + beyond},
        {"negative pay-off beyond the bound", set(2, " 4 3 1 -1.335e36 4 3 1 0"), 2,
         "S(1): \"-1.335e36\" " + beyond},
        {"pay-off 2e37", set(2, " 4 3 1 0 4 2e37 1 0"), 2, "R(2): \"2e37\" " + beyond},
        {"pay-off 3e38", set(2, " 4 3 3e38 0 4 3 1 0"), 2, "P(1): \"3e38\" " + beyond},
        {"pay-off beyond a float", set(2, " 4 1e39 1 0 4 3 1 0"), 2,
         "R(1): \"1e39\" is not a finite 32-bit float"},
        {"fraction for GameIndex", set(3, " 0 0 0 .005 1.5 "), 3,
         "GameIndex: \"1.5\" is not a whole number"},
        {"three numbers for four", set(4, " 2  2  1 "), 4,
         "the neighbourhood and options line: expected 4 numbers, found 3"},
        {"code too wide", set(4, " 2  256  1  1 "), 4, "CodVecin(1): \"256\" does not fit 0..255"},
        {"Repes off the code", set(6, " 8 "), 6,
         "Repes 8 does not match the neighbourhood code 2, which gives 24 partners"},
        {"Vista too large", set(7, " 2000000"), 7, "Vista: \"2000000\" lies outside 0..1048576"},
        {"Vista with no rounds", set(7, " 449.02"), 7, "Vista: \"449.02\" gives 0 rounds"},
        {"fraction in a cell", set(kFirstCellLine + 1, " 1.5  25  25 "), kFirstCellLine + 1,
         "cell 1, Y0 (part 0): \"1.5\" is not a whole number"},
        {"cell sensibility 300", set(kFirstCellLine + 17 + 5, " 300  0  0 "),
         kFirstCellLine + 17 + 5, "cell 2, SenIC (part 0): \"300\" does not fit 0..255"},
        {"missing cell line", [](auto& l) { l.erase(l.begin() + kFirstCellLine + 3); },
         kFirstCellLine + 8, "cell 1, the cell block: expected 3 numbers, found 2"},
        {"limits header", set(kRangosHeaderLine, "[Limits]"), kRangosHeaderLine,
         "expected the header [Rangos], found \"[Limits]\""},
        {"limit beyond 32 bits", set(kRangosHeaderLine + 2, " 1  2147483648  1  254 "),
         kRangosHeaderLine + 2,
         "limits of parameter 0, Max (part 0): \"2147483648\" does not fit "
         "-2147483648..2147483647"},
        {"list sensibility 300", set(sen, " 300  0  0 "), sen,
         "strategy slot 2, SenIC (part 0): \"300\" does not fit a cell's 0..255"},
        {"list uncertainty 40000", set(slotLine(2, 12), " 40000  0 "), slotLine(2, 12),
         "strategy slot 2, Incertidumbre (part 0): \"40000\" does not fit a cell's -32768..32767"},
        {"empty strategy header", set(kEstrategiasHeaderLine, ""), kEstrategiasHeaderLine,
         "the strategy header is empty"},
        {"no strategy header", cut(kEstrategiasHeaderLine - 1), kEstrategiasHeaderLine,
         "the file ends where the header [Estrategias] should be"},
        {"truncated in the cells", cut(50), 51, "the file ends where the cell block should be"},
        {"truncated in a slot", cut(slotLine(5, 1) - 1), slotLine(5, 1),
         "the file ends where the name of strategy slot 5 should be"},
        {"name over 255 characters",
         set(slotLine(3, 1), std::string(254, 'n') + "\xC3\xA9\xC3\xA9"), slotLine(3, 1),
         "the name of strategy slot 3 has 256 characters, more than the 255 allowed"},
        {"a million-digit pay-off", set(2, " 4 3 " + std::string(1000000, '9') + "x 0 4 3 1 0"), 2,
         "P(1): \"" + std::string(40, '9') + "\xE2\x80\xA6\" is not a number"},
        {"a long line where a blank belongs", set(kRangosHeaderLine + 1, std::string(50, 'z')),
         kRangosHeaderLine + 1,
         "expected the empty line after [Rangos], found \"" + std::string(40, 'z') +
             "\xE2\x80\xA6\""},
        {"text after the last block",
         [](auto& l) {
             l.insert(l.end(), {"", " ", "Fairman"});
         },
         slotLine(20, 19) + 3, "text after the last strategy block: \"Fairman\""},
    };
    const World good = startUpWorld(2, 3);
    const std::vector<std::string> lines = crlfLines(scenarioText(good));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> edited = lines;
        row.edit(edited);
        World w = randomWorld(3, 3, 5);
        const World before = w;
        const LoadResult r = readScenarioText(w, joinCrlf(edited));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, row.line);
        EXPECT_EQ(r.reason, row.reason);
        expectSameWorld(w, before);
    }
}

// Tests of files on disk, in a folder of their own.
class ScenarioFolder : public testing::FolderTest {
  protected:
    ScenarioFolder() : FolderTest("morvane_scenario") {}
};

TEST_F(ScenarioFolder, RefusesFilesThatAreNotScenarioText) {
    const std::string text = scenarioText(startUpWorld(2, 3));
    const fs::path empty = dir_ / "empty.dpt", binary = dir_ / "binary.dpt",
                   fifo = dir_ / "fifo.dpt";
    testing::writeBytes(empty, "");
    testing::writeBytes(binary,
                        text.substr(0, 40) + std::string("\0\x01\x02", 3) + text.substr(40));
    // What is not a regular file is refused before a byte is read: a FIFO with no writer would
    // block for ever, /dev/zero would never end.
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto cannotOpen = [](const std::string& path, const std::string& why) {
        return std::pair<std::string, std::string>{path, "cannot open " + path + ": " + why};
    };
    const struct {
        std::pair<std::string, std::string> pathAndReason;
        int line;
    } rows[] = {
        {{empty.string(), "the file is empty"}, 1},
        {{binary.string(), "not a text file (byte 0x00)"}, 3},
        {cannotOpen((dir_ / "missing.dpt").string(), "No such file or directory"), 0},
        {cannotOpen(dir_.string(), "it is a folder"), 0},
        {cannotOpen(fifo.string(), "it is not a regular file"), 0},
        {cannotOpen("/dev/zero", "it is not a regular file"), 0},
    };
    World w = randomWorld(2, 2, 9);
    const World before = w;
    for (const auto& row : rows) {
        const auto& [path, reason] = row.pathAndReason;
        SCOPED_TRACE(path);
        const LoadResult r = CargarEscenario(w, path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, row.line);
        EXPECT_EQ(r.reason, reason);
        expectSameWorld(w, before);
    }
    // A file one byte over the limit is refused whatever its contents.
    const fs::path big = dir_ / "big.dpt";
    std::ofstream(big, std::ios::binary) << text;
    const LoadResult tooBig = CargarEscenario(w, big.string(), ReadLimits{text.size() - 1});
    EXPECT_EQ(tooBig.reason, "cannot open " + big.string() + ": too large for a scenario file");
    EXPECT_TRUE(CargarEscenario(w, big.string(), ReadLimits{text.size()}).ok);
}

TEST(ScenarioFile, ReadsOtherLineEndsDecimalCommasAByteOrderMarkAndTrailingBlankLines) {
    const World saved = randomWorld(3, 2, 11);
    const std::string text = scenarioText(saved);
    std::string crOnly, lfOnly, comma;
    for (char c : text) {
        if (c != '\n') crOnly += c;
        if (c != '\r') lfOnly += c;
        comma += (c == '.') ? ',' : c;  // only number lines hold points: the names have none
    }
    const struct {
        const char* name;
        std::string text;
    } rows[] = {
        {"LF alone", lfOnly},
        {"CR alone", crOnly},
        {"decimal commas", comma},
        {"byte-order mark", "\xEF\xBB\xBF" + text},
        {"blank lines after the list", text + "\r\n  \r\n\t\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = startUpWorld(2, 2);
        const LoadResult r = readScenarioText(w, row.text);
        ASSERT_TRUE(r.ok) << r.line << ": " << r.reason;
        EXPECT_EQ(scenarioText(w), text);
    }
}

// The peak resident size of a child process that reads the file; the parent's memory stays out.
long peakKilobytesReading(const std::string& path) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        World w;
        const LoadResult r = CargarEscenario(w, path);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const long peak = r.ok ? -1 : usage.ru_maxrss;
        if (write(fds[1], &peak, sizeof peak) != sizeof peak) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long peak = -1;
    if (read(fds[0], &peak, sizeof peak) != sizeof peak) peak = -1;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return peak;
}

TEST_F(ScenarioFolder, ReadingALineOfManyNumbersTakesLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own bookkeeping dwarfs what is measured";
#endif
    const fs::path file = dir_ / "many.dpt";
    constexpr std::size_t kTokens = 8u << 20;  // 16 MiB of " 1"
    {
        std::string line;
        line.reserve(2 * kTokens + 2);
        for (std::size_t i = 0; i < kTokens; ++i) line += " 1";
        std::ofstream(file, std::ios::binary) << line << "\r\n";
    }
    const long size = static_cast<long>(fs::file_size(file));
    const long peak = peakKilobytesReading(file.string());
    ASSERT_GT(peak, 0) << "the child did not report, or read the file as a scenario";
    EXPECT_LE(peak, (3 * size + (64l << 20)) / 1024) << "kilobytes at the peak";
}

TEST_F(ScenarioFolder, AFailedSaveLeavesThePreviousFileAndSaysWhy) {
    const fs::path target = dir_ / "world.dpt";
    const World first = startUpWorld(2, 3);
    ASSERT_TRUE(GuardarEscenario(first, target.string()).ok);
    const std::string previous = readBytes(target);
    ASSERT_EQ(previous, scenarioText(first));
    ASSERT_FALSE(fs::exists(dir_ / "world.dpt.tmp"));

    const World second = randomWorld(4, 4, 3);
    // A save refuses what the reader would refuse: here a limit lowered below the file's size,
    // then a name over the cap.
    const SaveResult tooLarge =
        GuardarEscenario(second, target.string(), ReadLimits{previous.size()});
    EXPECT_EQ(tooLarge.reason, "the world cannot be stored: its " +
                                   std::to_string(scenarioText(second).size()) +
                                   " bytes are more than the " + std::to_string(previous.size()) +
                                   " a scenario file may hold");
    World longName = second;
    longName.ListaEstrategias[4].name = std::string(256, 'n');
    const SaveResult named = GuardarEscenario(longName, target.string());
    EXPECT_EQ(named.reason,
              "the world cannot be stored: line " +
                  std::to_string(7 + 16 * 17 + 3 + 31 + 3 + 2 * 19 + 1) +
                  " would read back as an error: the name of strategy slot 4 has 256 characters, "
                  "more than the 255 allowed");
    EXPECT_EQ(readBytes(target), previous);

    // Where and how the file is replaced is the one writer's (its own test).
}

}  // namespace
}  // namespace morvane
