// Sweep files as researchers write them: what is accepted, in which order the points come, and
// every refusal with its line and reason.
#include "sweep/sweep_file.h"

#include <gtest/gtest.h>

namespace {

using morvane::parseSweepText;
using morvane::SweepPlan;

SweepPlan planOf(const std::string& text) {
    const auto read = parseSweepText(text, "/data");
    EXPECT_TRUE(read.ok) << "line " << read.error.line << ": " << read.error.reason;
    return read.plan;
}

TEST(SweepFile, RefusesMalformedFilesWithLineAndReason) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        std::string reason;
    };
    const Case cases[] = {
        {"unknown key", "generations = 5\nmutaton = 0.1\n", 2,
         "unknown key \"mutaton\" (did you mean mutation?)"},
        {"unknown varied key", "[vary]\nneighborhood = [1]\n", 2,
         "unknown key \"neighborhood\" (did you mean neighbourhood?)"},
        {"far from any key", "colour = 3\n", 1, "unknown key \"colour\""},
        {"wrong type", "generations = \"ten\"\n", 1,
         "generations must be a whole number, not a string"},
        {"float for a count", "repetitions = 2.5\n", 1,
         "repetitions must be a whole number, not a decimal number"},
        {"empty list", "seed = 1\n[vary]\nrule = []\n", 3, "vary.rule is an empty list"},
        {"not a list", "[vary]\niterations = 4\n", 2,
         "vary.iterations must be a list, not a whole number"},
        {"out of range", "[vary]\nneighbourhood = [2, 15]\n", 2,
         "neighbourhood = 15 lies outside 0..14"},
        {"mutation above 1", "mutation = 1.5\n", 1, "mutation = 1.5 lies outside 0..1"},
        {"unknown rule", "rule = \"maxmin\"\n", 1,
         "rule \"maxmin\" is none of maximax, replicator, best, maximin"},
        {"seven pay-offs", "payoffs = [5, 3, 1, 0, 5, 3, 1]\n", 1,
         "payoffs must be a list of eight numbers (T1, R1, P1, S1, T2, R2, P2, S2)"},
        {"pay-off not a number", "T1 = true\n", 1, "T1 must be a number, not true or false"},
        {"pay-off beyond the bound", "[vary]\nT1 = [4, 2e37]\n", 2,
         "T1 = 2e+37 lies beyond -1.33444e+36..1.33444e+36, where scores would overflow"},
        {"option not a truth", "option3 = 1\n", 1,
         "option3 must be true or false, not a whole number"},
        {"option 0 beside mutation", "mutation = 0.1\noption0 = true\n", 2,
         "option0 and mutation both given: mutation above 0 ticks option 0, 0 unticks it"},
        {"option 0 beside varied mutation", "option0 = false\n[vary]\nmutation = [0, 0.1]\n", 3,
         "option0 and mutation both given: mutation above 0 ticks option 0, 0 unticks it"},
        {"fixed and varied", "rule = \"best\"\n[vary]\nrule = [\"maximax\"]\n", 3,
         "rule is both fixed and varied: give it in one place"},
        {"vary and points", "[vary]\nrule = [\"best\"]\n[[point]]\nrule = \"best\"\n", 3,
         "give either [vary] or [[point]], not both"},
        {"keep word", "keep = \"some\"\n", 1,
         "keep must be \"every\", \"last\" or a whole number, not \"some\""},
        {"keep zero", "keep = 0\n", 1, "keep = 0 lies outside 1..2147483647"},
        {"zero generations", "generations = 0\n", 1, "generations = 0 lies outside 1..2147483647"},
        {"negative seed", "seed = -1\n", 1, "seed = -1 lies outside 0..9223372036854775807"},
        {"infinite threshold", "threshold_survive = inf\n", 1,
         "threshold_survive must be a finite 32-bit number"},
        {"point with an unknown key", "[[point]]\nrule = \"best\"\n[[point]]\nrules = 1\n", 4,
         "unknown key \"rules\" (did you mean rule?)"},
        {"TOML syntax", "generations = 5\nseed = \n", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = parseSweepText(c.text, "/data");
        ASSERT_FALSE(read.ok);
        EXPECT_EQ(read.error.line, c.line);
        if (!c.reason.empty()) {
            EXPECT_EQ(read.error.reason, c.reason);
        }
        EXPECT_FALSE(read.error.reason.empty());
    }
}

TEST(SweepFile, CrossProductRunsOverSortedKeysWithTheLastFastest) {
    const SweepPlan plan = planOf(
        "repetitions = 3\n[vary]\nrule = [\"maximax\", \"best\"]\nmutation = [0, 0.01]\n"
        "iterations = [1, 4]\n");
    ASSERT_EQ(plan.columnKeys, (std::vector<std::string>{"iterations", "mutation", "rule"}));
    ASSERT_EQ(plan.points.size(), 8u);
    EXPECT_EQ(plan.runCount(), 24);
    const std::vector<std::vector<std::string>> expected = {
        {"1", "0", "maximax"}, {"1", "0", "best"}, {"1", "0.01", "maximax"}, {"1", "0.01", "best"},
        {"4", "0", "maximax"}, {"4", "0", "best"}, {"4", "0.01", "maximax"}, {"4", "0.01", "best"}};
    for (std::size_t p = 0; p < expected.size(); ++p) {
        SCOPED_TRACE("point " + std::to_string(p));
        EXPECT_EQ(plan.points[p].columns, expected[p]);
    }
    // The settings follow the columns; integers stand where a fraction is expected.
    EXPECT_EQ(plan.points[5].settings.iterations, 4);
    EXPECT_EQ(plan.points[5].settings.mutation, 0.0f);
    EXPECT_EQ(plan.points[5].settings.rule, 3);
}

TEST(SweepFile, PointsComeInFileOrderOverTheFixedSettings) {
    const SweepPlan plan = planOf(
        "scenario = \"worlds/base.dpt\"\nT1 = 6\noption7 = true\n"
        "[[point]]\nrule = \"best\"\nsum_mode = 3\n"
        "[[point]]\npayoffs = [4, 3, 1, 0, 4, 3, 1, 0.5]\n");
    EXPECT_EQ(plan.scenario, "/data/worlds/base.dpt");
    ASSERT_EQ(plan.columnKeys, (std::vector<std::string>{"payoffs", "rule", "sum_mode"}));
    ASSERT_EQ(plan.points.size(), 2u);
    EXPECT_EQ(plan.points[0].columns, (std::vector<std::string>{"", "best", "3"}));
    EXPECT_EQ(plan.points[1].columns, (std::vector<std::string>{"4;3;1;0;4;3;1;0.5", "", ""}));
    EXPECT_EQ(plan.points[0].settings.payoff[0], 6.0f);
    EXPECT_EQ(plan.points[1].settings.payoff[0], 4.0f);
    EXPECT_EQ(plan.points[1].settings.option[7], true);
    EXPECT_FALSE(plan.points[1].settings.rule.has_value());
}

TEST(SweepFile, TheResolvedFileReadsBackToItself) {
    const char* const files[] = {
        "scenario = \"b.dpt\"\n[vary]\nmutation = [0, 1e-5, 0.25]\npayoffs = [[5, 3, 1, 0, 5, 3, "
        "1, 0]]\nrule = [\"best\"]\n",
        "generations = 7\nkeep = 3\npaired = true\nthreshold_today = -0.5\n[[point]]\noption2 = "
        "true\n[[point]]\nneighbourhood = 12\n",
        "keep = \"last\"\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        const SweepPlan plan = planOf(text);
        const std::string resolved = morvane::resolvedSweepText(plan, std::string(64, 'a'));
        const SweepPlan again = planOf(resolved);
        EXPECT_EQ(morvane::resolvedSweepText(again, std::string(64, 'a')), resolved);
        EXPECT_EQ(again.runCount(), plan.runCount());
    }
    const std::string defaults = morvane::resolvedSweepText(planOf(""), "");
    EXPECT_NE(defaults.find("generations = 100\nrepetitions = 1\nseed = 0\npaired = false\n"
                            "keep = \"every\"\nsummary_window = 50\n"),
              std::string::npos)
        << defaults;
}

}  // namespace
