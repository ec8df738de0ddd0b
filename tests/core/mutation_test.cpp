#include "core/mutation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/generation.h"
#include "core/mutation_view.h"
#include "core/seeding.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::bugGenome;
using testing::place;
using testing::worldOf;

// A generator whose first two draws choose parameter p and part h (seeds tried in order).
Rng rngFor(int p, int h) {
    for (std::uint64_t seed = 1;; ++seed) {
        Rng r(seed);
        const double u = r.uniform(), v = r.uniform();
        if (std::floor(27.0 * u + 0.5) + 3 == p && std::floor(v + 0.5) == h) return Rng(seed);
    }
}

struct Mutated {
    Genoma before, after;
    MutationRecord record;
};

Mutated mutate(World& w, int p, int h, int cell = 1) {
    w.options.mnuVerMutaciones = true;
    std::vector<MutationRecord> records;
    Rng rng = rngFor(p, h);
    const Genoma before = w.genoma(kActual, cell);
    Mutar(w, rng, cell, &records);
    return {before, w.genoma(kActual, cell), records.at(0)};
}

// The mutations view marks the rows a mutation changed and shows the genome before and after.
TEST(Mutation, RecordsMarkTheChangedRowsForTheView) {
    struct Row {
        const char* name;
        int p;
        bool complete;
        std::vector<int> rows;
    };
    std::vector<int> complete;  // a complete mutation redraws every row but 4..6
    for (int r = 1; r <= 24; ++r)
        if (r < 4 || r > 6) complete.push_back(r);
    const std::vector<Row> rows = {
        {"bug_colour", 3, false, {1}},  {"curve", 9, false, {8}},  {"sensibility", 15, false, {14}},
        {"copy_flag", 23, false, {19}}, {"whom", 29, false, {24}}, {"complete", 16, true, complete},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(2, 2);
        w.options.mnuOpcion[1] = row.complete;
        const Mutated m = mutate(w, row.p, 1);
        std::uint32_t marks = 0;
        for (int r : row.rows) marks |= 1u << r;
        EXPECT_EQ(m.record.changedRows, marks);
        EXPECT_EQ(m.record.parte, 1);
        EXPECT_EQ(m.record.before, m.before);
        EXPECT_EQ(m.record.coloursAfter, m.after.Colores);
    }
}

TEST(Mutation, PackedCasesKeepTheOtherSubFieldsAndClearStrayBits) {
    GenomePart start;
    start.Busqueda = static_cast<std::int16_t>(16384 | (2 << 10) | (5 << 6) | 8 | 3);
    start.Incertidumbre = static_cast<std::int16_t>(16384 | (70 << 7) | 30);
    start.Trigger = static_cast<std::int16_t>((3 << 11) | (1 << 9) | 256 | 128 | 60);
    struct Row {
        const char* name;
        int p;
        std::function<void(const GenomePart&)> check;
    };
    const std::vector<Row> rows = {
        {"search_type", 6,
         [](const GenomePart& g) {
             EXPECT_EQ(g.Busqueda & ~56, (2 << 10) | (5 << 6));
             EXPECT_LE(g.Busqueda & 56, 16);
         }},
        {"depth", 7,
         [](const GenomePart& g) {
             EXPECT_EQ(g.Busqueda & ~960, (2 << 10) | 8 | 3);
             EXPECT_GE(packed::prof(g.Busqueda), 1);
         }},
        {"history", 8, [](const GenomePart& g) { EXPECT_EQ(g.Busqueda & 1023, (5 << 6) | 8 | 3); }},
        {"uncertainty_ci", 21,
         [](const GenomePart& g) { EXPECT_EQ(g.Incertidumbre & ~127, 16384 | (70 << 7)); }},
        {"uncertainty_ei", 22,
         [](const GenomePart& g) { EXPECT_EQ(g.Incertidumbre & ~16256, 16384 | 30); }},
        {"copy_flag", 23, [](const GenomePart& g) { EXPECT_EQ(g.Incertidumbre, (70 << 7) | 30); }},
        {"response_clears_high_when_bits", 28,
         [](const GenomePart& g) { EXPECT_EQ(g.Trigger & ~127, (1 << 9) | 256 | 128); }},
        {"whom", 29, [](const GenomePart& g) { EXPECT_EQ(g.Trigger & ~256, (1 << 9) | 128 | 60); }},
        {"when", 30, [](const GenomePart& g) { EXPECT_EQ(g.Trigger & 511, 256 | 128 | 60); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(2, 2);
        Genoma g = bugGenome();
        g.parte[1] = start;
        place(w, 1, g);
        row.check(mutate(w, row.p, 1).after.parte[1]);
    }
}

TEST(Mutation, DrawsBeyondAFieldAreHeldAtItsEndsAsSeedingHoldsThem) {
    struct Row {
        const char* name;
        int k;      // parameter; its limits are set to value..value in both parts
        int value;  // beyond the field
        std::function<int(const GenomePart&)> field;
        int held;
    };
    const std::vector<Row> rows = {
        {"ci_valuation_300", kLimValIC, 300, [](const GenomePart& g) { return g.ValIC; }, 255},
        {"y0_negative", kLimY0, -5, [](const GenomePart& g) { return g.Y0; }, 0},
        {"search_type_9", kLimTipo, 9, [](const GenomePart& g) { return packed::tipo(g.Busqueda); },
         56},
        {"depth_20", kLimProf, 20, [](const GenomePart& g) { return packed::prof(g.Busqueda); },
         15},
        {"history_40", kLimHistorial, 40,
         [](const GenomePart& g) { return packed::historial(g.Busqueda); }, 15},
        {"uncertainty_ei_200", kLimIncerIA, 200,
         [](const GenomePart& g) { return packed::incerIA(g.Incertidumbre); }, 127},
        {"response_150", kLimTriggerResp, 150, [](const GenomePart& g) { return g.Trigger & 255; },
         127},
        {"whom_3", kLimAquien, 3, [](const GenomePart& g) { return packed::aquien(g.Trigger); }, 1},
        {"when_20", kLimCuando, 20, [](const GenomePart& g) { return packed::cuando(g.Trigger); },
         15},
        {"ci_sensibility_300", kLimSenIC, 300, [](const GenomePart& g) { return g.SenIC; }, 100},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        World w = worldOf(2, 2);
        for (auto& part : w.Rangos.limits[row.k]) part = {row.value, row.value};
        Rng rng(8);
        AzarCasilla(w, rng, 2);
        for (const GenomePart& part : w.genoma(kActual, 2).parte) {
            EXPECT_EQ(row.field(part), row.held) << "seeded";
            EXPECT_EQ(part.SenIC + part.SenIA + part.SenIP, 100) << "seeded";
        }
        const GenomePart mutated = mutate(w, row.k, 1).after.parte[1];
        EXPECT_EQ(row.field(mutated), row.held) << "mutated";
        EXPECT_EQ(mutated.SenIC + mutated.SenIA + mutated.SenIP, 100) << "mutated";
    }
}

// A 4 x 4 world that plays nothing and copies nothing (Maxi Max, all scores 0), with a dead
// square and a blank square: only the mutation step can change a genome.
World stillWorld(float frecuencia, bool mutationsOn) {
    World w = worldOf(4, 4, 4);
    place(w, 6, deadSquareGenome());
    place(w, 11, testing::blankGenome());
    w.options.Regla = 1;
    w.options.Opciones[kActual] = static_cast<std::int16_t>(256 | (mutationsOn ? 1 : 0));
    w.options.mnuVerMutaciones = true;
    w.FrecMutacion = frecuencia;
    return w;
}

TEST(Mutation, FrequencyDecidesWhoMutatesAndSquaresNeverDo) {
    struct Row {
        const char* name;
        float frecuencia;
        bool on;
        std::size_t mutants;
    };
    const std::vector<Row> rows = {
        {"never", 0.0f, true, 0}, {"always", 1.0f, true, 14}, {"option_off", 1.0f, false, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing::WorldRun run(stillWorld(row.frecuencia, row.on));
        World& w = run.w;
        const World before = w;
        Rng rng(31);
        run.generation(rng);  // code 4: nobody meets anybody
        EXPECT_EQ(run.r.statCoopCount[0], 0);
        EXPECT_EQ(run.r.mutationRecords.size(), row.mutants);
        // Squares never change (14 mutants of the 16 cells); a cell whose first parent is itself
        // still mutates.
        EXPECT_EQ(w.genoma(kActual, 6), before.genoma(kActual, 6));
        EXPECT_EQ(w.genoma(kActual, 11), before.genoma(kActual, 11));
        for (const auto& r : run.r.mutationRecords) EXPECT_EQ(w.Padres[r.cell][0], r.cell);
    }
}

TEST(Mutation, TheViewRecordsEveryMutationStampedWithItsGeneration) {
    testing::WorldRun run(worldOf(8, 8, 4));
    World& w = run.w;
    w.options.Regla = 1;
    w.options.mnuVerMutaciones = true;
    w.FrecMutacion = 1;
    Rng rng(6);
    run.generation(rng);
    // All 64 cells mutate: none is left out for want of a column.
    ASSERT_EQ(run.r.mutationRecords.size(), 64u);
    for (std::size_t k = 0; k < 64; ++k) {
        EXPECT_EQ(run.r.mutationRecords[k].cell, static_cast<int>(k) + 1);
        EXPECT_EQ(run.r.mutationRecords[k].generation, w.Generacion);
    }
    const int recorded = w.Generacion;
    w.options.mnuVerMutaciones = false;
    run.generation(rng);
    // Unticked: neither emptied nor fed, and the stamps say the records are older.
    EXPECT_EQ(run.r.mutationRecords.size(), 64u);
    EXPECT_EQ(run.r.mutationRecords.front().generation, recorded);
    EXPECT_NE(w.Generacion, recorded);
}

TEST(MutationView, ColumnShowsThePartInTheRowForms) {
    Genoma g = bugGenome();
    g.Colores = {1, 2, 3, 4, 5, 6};
    auto& p = g.parte[1];
    p.Busqueda = static_cast<std::int16_t>((1 << 10) | (3 << 6) | 16);
    p.Y0 = 5, p.X1 = 25, p.SenIC = 50, p.ValIC = 100, p.SenIA = 50, p.ValIA = 35;
    p.Incertidumbre = static_cast<std::int16_t>(16384 | (20 << 7) | 10);
    p.TriggerMin = 10, p.TriggerMax = 90;
    p.Trigger = static_cast<std::int16_t>((2 << 9) | 256 | 40);
    g.VecinosImitacion = 20485;
    const std::array<std::string, kMutationViewRows> shown = {
        "7 (1)",        "4",          "5",     "6",     "1",    "2",    "3",
        "16 -> 3 -> 1", "0.05",       "0.25",  "0.25",  "0.75", "0.75", "1",
        "0.5 (1)",      "0.5 (0.35)", "0 (1)", "10",    "20",   "1",    "0",
        "20485",        "10 - 90",    "40",    "1 -> 2"};
    EXPECT_EQ(mutationColumnTexts(7, 1, g), shown);
}

}  // namespace
}  // namespace morvane
