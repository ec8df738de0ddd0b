#include "core/transition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "core/transition_view.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::bugGenome;
using testing::place;
using testing::worldOf;

// On a 5 x 5 world cell 13 sits in the middle: position 0 is cell 8, 2 is 14, 4 is 3.
constexpr int kCentre = 13;

Genoma otherStrategy() {
    Genoma g = bugGenome(50, 0);
    g.parte[1].Y0 = 77;
    return g;
}

struct RuleCase {
    const char* name;
    int regla;
    std::int32_t mask;               // the centre's imitation mask
    std::map<int, float> scores;     // every other cell scores 0
    std::vector<int> otherStrategy;  // cells carrying the second strategy
    std::vector<int> blank;          // cells that are blank squares
    float umbralReproduccion;
    std::array<std::int16_t, 2> padres;  // expected for the centre
};

World ruleWorld(const RuleCase& c, GenerationReport& rep) {
    World w = worldOf(5, 5);
    rep = testing::reportOf(w);
    // Bystanders imitate nobody, so they are another strategy than the centre's and search
    // nothing; the scored cells share the centre's strategy unless listed as the other one.
    for (int cell = 1; cell <= 25; ++cell) place(w, cell, bugGenome(100, 0));
    const Genoma centre = bugGenome(100, c.mask);
    for (auto [cell, p] : c.scores) place(w, cell, centre);
    place(w, kCentre, centre);
    for (int cell : c.otherStrategy) place(w, cell, otherStrategy());
    for (int cell : c.blank) place(w, cell, testing::blankGenome());
    for (auto [cell, p] : c.scores) rep.PagoTotal[cell] = p;
    w.UmbralReproduccion = c.umbralReproduccion;
    w.options.Regla = static_cast<std::uint8_t>(c.regla);
    return w;
}

// ruleWorld once the centre's rule has run.
World ranRule(const RuleCase& c, GenerationReport& rep) {
    World w = ruleWorld(c, rep);
    Rng rng(1);
    runTransitionRule(w, rep, rng);
    return w;
}

TEST(TransitionRules, ChooseTheParentsOfTheirExamples) {
    const std::int32_t p0 = 1, p2 = 4, p4 = 16;
    const std::vector<RuleCase> cases = {
        {"maxi_max_two_fives", 1, p0 | p2, {{13, 3}, {8, 5}, {14, 5}}, {}, {}, 0, {8, 14}},
        {"maxi_max_nobody_better", 1, p0 | p2, {{13, 6}, {8, 5}, {14, 5}}, {}, {}, 0, {13, 8}},
        {"maxi_max_skips_blank", 1, p0 | p2, {{13, 3}, {8, 10}, {14, 5}}, {}, {8}, 0, {14, 13}},
        {"maxi_max_threshold", 1, p0 | p2, {{13, 3}, {8, 5}, {14, 4}}, {}, {}, 4.5f, {8, 13}},
        {"replicator_total_zero", 2, p0 | p2, {}, {}, {}, 0, {14, 14}},
        {"replicator_total_zero_below_threshold", 2, p0 | p2, {}, {}, {}, 1, {13, 13}},
        {"best_strategy", 3, p0 | p2 | p4, {{13, 4}, {8, 4}, {14, 4}, {3, 5}}, {3}, {}, 0, {3, 13}},
        {"best_strategy_own_group", 3, p0 | p2, {{13, 4}, {8, 6}, {14, 5}}, {14}, {}, 0, {13, 14}},
        {"maxi_min", 4, p0 | p2, {{13, 3}, {8, 9}, {14, 5}}, {14}, {}, 0, {14, 13}},
        {"maxi_min_low", 4, p0 | p2, {{13, 3}, {8, 9}, {14, 5}}, {14}, {}, 5.5f, {13, 13}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GenerationReport rep;
        World w = ranRule(c, rep);
        EXPECT_EQ(w.Padres[kCentre], c.padres);
    }
}

TEST(TransitionRules, SameNeighboursOptionSearchesTheTypesMask) {
    RuleCase c{"same", 1, 1 | 4, {{13, 3}, {8, 5}, {3, 7}}, {}, {}, 0, {}};
    GenerationReport rep;
    World w = ruleWorld(c, rep);
    w.options.MismosVecinos = true;
    w.neighbourhood.MascaraVecinos[kActual] = 16;  // position 4 only: cell 3
    ReglaMaxiMax(w, rep);
    EXPECT_EQ(w.Padres[kCentre][0], 3);
    EXPECT_EQ(rep.transitionTrace[kCentre].mask, 16);
}

TEST(TransitionRules, ACellMetAtSeveralPositionsIsWeighedOnce) {
    // On a 3 x 3 world the 24 positions name each of the 8 other cells three times.
    World w = worldOf(3, 3);
    GenerationReport rep = testing::reportOf(w);
    for (int cell = 1; cell <= 9; ++cell) rep.PagoTotal[cell] = 1;
    w.options.Regla = 3;
    ReglaMejorEstrategia(w, rep);
    const auto& trace = rep.transitionTrace[5];
    EXPECT_EQ(__builtin_popcount(static_cast<unsigned>(trace.weighed)), 8);
    const auto e = explainTransition(w, rep, 5);
    EXPECT_EQ(e.rows[0].text[kColStrategyTotal], "9 / 9 = 1");
}

// Maxi Max weighs each cell of a narrow world once, at the first position that names it, and
// passes over a blank square and a position that names nobody; it copies the best of the rest.
TEST(TransitionRules, MaxiMaxWeighsEachCellOnceAndPassesOverBlankAndEmptyPositions) {
    for (const auto [cols, rows, centre] : {std::array{3, 3, 5}, std::array{1, 5, 3}}) {
        SCOPED_TRACE(::testing::Message() << cols << " x " << rows);
        World w = worldOf(cols, rows);
        GenerationReport rep = testing::reportOf(w);
        const int blank = centre + 1;  // below the centre on the 1-column world
        for (int cell = 1; cell <= w.NumJugadores; ++cell) rep.PagoTotal[cell] = cell;
        rep.PagoTotal[blank] = 100;  // would be copied, were it weighed
        place(w, blank, testing::blankGenome());
        w.options.Regla = 1;
        ReglaMaxiMax(w, rep);

        std::int32_t expected = 0;
        int best = centre;
        std::set<int> seen;
        const auto& row = w.neighbourhood.Vecinos[centre];
        for (int k = 0; k < kNumPositions; ++k) {
            const int j = row[k];
            if (j == kNoPartner || j == blank || !seen.insert(j).second) continue;
            expected |= 1 << k;
            if (rep.PagoTotal[j] > rep.PagoTotal[best]) best = j;
        }
        EXPECT_EQ(rep.transitionTrace[centre].weighed, expected);
        EXPECT_EQ(__builtin_popcount(static_cast<unsigned>(expected)),
                  cols == 3 ? 7 : 3);  // the other cells but the blank one
        EXPECT_EQ(w.Padres[centre][0], best);
        EXPECT_EQ(w.Padres[blank], (std::array<std::int16_t, 2>{-1, -1}));
    }
}

// Two parents that differ in every field, and a reader of each locus.
Genoma parent(int base) {
    Genoma g;
    for (int p = 0; p < 2; ++p) {
        auto& x = g.parte[p];
        const auto v = [&](int k) { return static_cast<std::uint8_t>(base + 2 * k + p); };
        x.Busqueda = v(1), x.Y0 = v(2), x.Y1 = v(3), x.Y2 = v(4), x.Y3 = v(5);
        x.X1 = v(6), x.X2 = v(6) + 1, x.SenIC = v(7), x.SenIA = v(7) + 1, x.SenIP = v(7) + 2;
        x.ValIC = v(8), x.ValIA = v(9), x.ValIP = v(10), x.Incertidumbre = v(11);
        x.Irregular = v(12), x.TriggerMin = v(13), x.TriggerMax = v(14), x.Trigger = v(15);
    }
    g.VecinosImitacion = base * 1000;
    for (int k = 0; k < 6; ++k) g.Colores[k] = static_cast<std::uint8_t>(base + k);
    return g;
}

// The value of one locus; a locus of several fields packs them into one number.
std::int64_t locusValue(const Genoma& g, int locus) {
    if (locus > 31) return g.Colores[locus - 32];
    if (locus == 31) return g.VecinosImitacion;
    const auto& x = g.parte[(locus - 1) / 15];
    const int inputs = x.X1 * 256 + x.X2, sen = (x.SenIC * 256 + x.SenIA) * 256 + x.SenIP;
    const std::int64_t loci[] = {
        x.Busqueda,      x.Y0,        x.Y1,         x.Y2,         x.Y3,
        inputs,          sen,         x.ValIC,      x.ValIA,      x.ValIP,
        x.Incertidumbre, x.Irregular, x.TriggerMin, x.TriggerMax, x.Trigger};
    return loci[(locus - 1) % 15];
}

TEST(GenomeCopy, CrossoverTakesLociUpToTheCutFromOneParentAndTheRestFromTheOther) {
    World w = worldOf(3, 1);
    w.options.Opciones[kActual] = 0;  // crossover
    const Genoma a = parent(10), b = parent(100);
    std::set<int> cuts;
    for (std::uint64_t seed = 1; seed <= 400; ++seed) {
        w.genoma(kPrevio, 1) = a;
        w.genoma(kPrevio, 2) = b;
        w.genoma(kActual, 3) = parent(200);
        Rng rng(seed);
        const int cut = CopiarGenoma(w, rng, 3, 1, 2, kPrevio, kActual, 0);
        ASSERT_GE(cut, 1);
        ASSERT_LE(cut, kNumLoci);
        cuts.insert(cut);
        const Genoma& child = w.genoma(kActual, 3);
        const Genoma& head = locusValue(child, 1) == locusValue(a, 1) ? a : b;
        const Genoma& tail = &head == &a ? b : a;
        for (int locus = 1; locus <= kNumLoci; ++locus) {
            SCOPED_TRACE(::testing::Message() << "cut " << cut << " locus " << locus);
            EXPECT_EQ(locusValue(child, locus), locusValue(locus <= cut ? head : tail, locus));
        }
    }
    EXPECT_EQ(cuts.size(), static_cast<std::size_t>(kNumLoci));
}

TEST(TransitionView, ExplainsTheRulesFromWhatTheSearchWeighed) {
    RuleCase c{"best", 3, 1 | 4 | 16, {{13, 4}, {8, 4}, {14, 4}, {3, 5}}, {3}, {}, 0, {}};
    GenerationReport rep;
    World w = ranRule(c, rep);
    rep.PuntoCorte[kCentre] = -1;
    const auto e = explainTransition(w, rep, kCentre);
    EXPECT_EQ(e.cutText, "Punto de corte: -1");
    // Columns: cell, points, lottery total, strategy total, members, replicator, Best Strategy,
    // Maxi Max, Maxi Min, concession. Best Strategy ranks the groups by their average and Maxi Min
    // by their lowest score (5 against 4); Maxi Max takes the two highest scores shown, the earlier
    // row keeping a tie; the replicator column speaks only when that rule ran.
    using Texts = std::array<std::string, kNumTransitionColumns>;
    const Texts own{"13", "4",         "4",         "12 / 3 = 4", "13 8 14",
                    "",   "1 = madre", "1 = madre", "1 = madre",  ""};
    const Texts other{"3", "5",         "5",         "5 / 1 = 5", "3",
                      "",  "0 = padre", "0 = padre", "0 = padre", ""};
    EXPECT_EQ(e.rows[0].text, own);
    EXPECT_EQ(e.rows[1].text, (Texts{"8", "4", "4", "12 / 3 = 4", "13 8 14", "", "", "", "", ""}));
    EXPECT_EQ(e.rows[2].text, (Texts{"9", "", "", "", "", "", "", "", "", ""}));  // not searched
    EXPECT_EQ(e.rows[5].text, other);  // cell 3, the other strategy
    EXPECT_TRUE(e.rows[1].qualifies);
    EXPECT_FALSE(e.rows[2].qualifies);
    EXPECT_TRUE(e.positionBoxes[4] && e.positionBoxes[28] && !e.positionBoxes[1] &&
                !e.positionBoxes[25]);
    for (const auto& row : e.rows) EXPECT_EQ(row.text[kColReplicator], "");
}

TEST(TransitionView, ShowsTheRouletteDrawsOnTheChosenRows) {
    RuleCase c{"wheel", 2, 1 | 4, {}, {}, {}, 0, {}};
    GenerationReport rep;
    World w = ranRule(c, rep);
    const auto e = explainTransition(w, rep, kCentre);
    EXPECT_EQ(e.rows[3].text[kColReplicator], "0 = 0; 1 = 0");

    rep.TiradaRuleta[kCentre] = {1.23456f, 0.5f};
    rep.transition.parents[kCentre] = {8, 13};
    const auto f = explainTransition(w, rep, kCentre);
    EXPECT_EQ(f.rows[1].text[kColReplicator], "0 = 1.235");
    EXPECT_EQ(f.rows[0].text[kColReplicator], "1 = 0.5");
}

TEST(TransitionView, AllImitationBitsMakeEveryRowBoldAndTickEveryBox) {
    RuleCase c{"all", 1, 16777215, {}, {}, {}, 0, {}};
    GenerationReport rep;
    World w = ruleWorld(c, rep);
    ReglaMaxiMax(w, rep);
    const auto e = explainTransition(w, rep, kCentre);
    for (int j = 1; j <= kNumPositions; ++j) EXPECT_TRUE(e.rows[j].qualifies);
    for (bool box : e.positionBoxes) EXPECT_TRUE(box);
}

TEST(TransitionView, ExplainsTheRuleThatRanAfterTheSettingsChange) {
    // Best Strategy ran with a threshold of 4.5: only cell 3's group (average 5) reached it, and
    // the cell, which survived, stays the second parent.
    RuleCase c{"later", 3, 1 | 4 | 16, {{13, 4}, {8, 4}, {14, 4}, {3, 5}}, {3}, {}, 4.5f, {}};
    GenerationReport rep;
    World w = ranRule(c, rep);
    const auto before = explainTransition(w, rep, kCentre);
    EXPECT_EQ(before.rows[5].text[kColBestStrategy], "0 = padre");
    EXPECT_EQ(before.rows[0].text[kColBestStrategy], "1 = madre");
    EXPECT_EQ(before.rows[1].text[kColMaxiMax], "");  // cell 8's 4 is below the threshold

    // Another rule, another threshold or other parents since: the same explanation.
    std::array<World, 3> changed{w, w, w};
    changed[0].options.Regla = 1;
    changed[1].UmbralReproduccion = 0;
    changed[2].Padres[kCentre] = {8, 14};
    for (std::size_t k = 0; k < changed.size(); ++k) {
        const auto after = explainTransition(changed[k], rep, kCentre);
        for (std::size_t row = 0; row < after.rows.size(); ++row)
            EXPECT_EQ(after.rows[row].text, before.rows[row].text)
                << "change " << k << ", row " << row;
    }
}

TEST(TransitionView, MaxiMaxMarksTheParentsItChoseWithTheCarriedRunnerUp) {
    // The runner-up's value runs on from cell to cell, so the rule may keep a second parent that
    // the scores shown alone would not pick: the marks follow what the rule chose.
    RuleCase c{"carried", 1, 1 | 4, {{13, 3}, {8, 5}, {14, 1}}, {}, {}, 0, {}};
    GenerationReport rep;
    World w = ranRule(c, rep);
    rep.transition.parents[kCentre] = {8, 14};  // a runner-up carried from an earlier cell
    const auto e = explainTransition(w, rep, kCentre);
    EXPECT_EQ(e.rows[1].text[kColMaxiMax], "0 = padre");  // cell 8
    EXPECT_EQ(e.rows[3].text[kColMaxiMax], "1 = madre");  // cell 14, below the cell's own 3
    EXPECT_EQ(e.rows[0].text[kColMaxiMax], "");
    // The other rules' columns are still worked out from the rows: one group, the cell first.
    EXPECT_EQ(e.rows[0].text[kColBestStrategy], "0 = padre");
}

TEST(TransitionView, SaysWhenTheCellCopiedNothing) {
    const struct {
        const char* name;
        std::array<std::int16_t, 2> parents;
        std::int16_t cut;
        const char* text;
    } cases[] = {
        {"kept itself", {kCentre, kCentre}, 12, "Punto de corte: 12 (no copy)"},
        {"blank square", {-1, -1}, 3, "Punto de corte: 3 (no copy)"},
        {"crossed over", {8, 14}, 12, "Punto de corte: 12"},
        {"imitated", {8, 8}, -1, "Punto de corte: -1"},
    };
    RuleCase c{"copy", 3, 1 | 4, {}, {}, {}, 0, {}};
    GenerationReport rep;
    World w = ranRule(c, rep);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        rep.transition.parents[kCentre] = k.parents;
        rep.PuntoCorte[kCentre] = k.cut;
        EXPECT_EQ(explainTransition(w, rep, kCentre).cutText, k.text);
    }
}

TEST(TransitionView, ACellNoRuleSearchedShowsTheTablesNeighbours) {
    World w = worldOf(5, 5);  // no generation yet: nothing traced
    const GenerationReport rep = testing::reportOf(w);
    const auto e = explainTransition(w, rep, kCentre);
    EXPECT_EQ(e.rows[1].text[kColCell], "8");
    EXPECT_FALSE(e.rows[1].qualifies);
    EXPECT_EQ(e.rows[0].text[kColMaxiMax], "0 = padre");
}

}  // namespace
}  // namespace morvane
