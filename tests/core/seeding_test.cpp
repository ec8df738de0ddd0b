#include "core/seeding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/rng.h"
#include "strategy/distribution.h"
#include "strategy/limits.h"
#include "support/worlds.h"

namespace morvane {
namespace {

using testing::genomeOf;
using testing::place;
using testing::worldOf;

// What every random genome keeps whatever the limits: packed words without stray bits, curve
// inputs in order, sensibilities adding to 100, colours a bug can show. Each field's own range is
// held at its ends (the mutation test) and the seeded runs pin the values drawn.
void expectRandomGenome(const Genoma& g) {
    for (const GenomePart& p : g.parte) {
        EXPECT_EQ(p.Busqueda & ~(56 | 960 | 15360), 0);
        EXPECT_EQ(p.Incertidumbre & ~32767, 0);
        EXPECT_EQ(p.Trigger & 128, 0);
        EXPECT_TRUE(1 <= p.X1 && p.X1 < p.X2 && p.X2 <= 99);
        EXPECT_EQ(p.SenIC + p.SenIA + p.SenIP, 100);
    }
    EXPECT_TRUE(g.VecinosImitacion >= 1 && g.VecinosImitacion <= 16777215);
    for (int c : g.Colores) EXPECT_TRUE(c >= 1 && c <= 254) << c;
}

TEST(Seeding, RandomFillGivesValidGenomesAndLeavesBlankSquares) {
    World w = worldOf(20, 20);
    const Genoma blank = genomeOf(w, "Cuadro en blanco");
    for (int cell : {1, 57, 400}) place(w, cell, blank);
    w.Generacion = 12;
    Rng rng(31);
    LlenarMundo(w, rng, kFillAtRandom);
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        SCOPED_TRACE(cell);
        if (cell == 1 || cell == 57 || cell == 400) {
            EXPECT_EQ(w.genoma(kActual, cell), blank);
            EXPECT_EQ(w.genoma(kPrevio, cell), blank);
            continue;
        }
        expectRandomGenome(w.genoma(kActual, cell));
    }
    EXPECT_EQ(w.Generacion, 12);
    EXPECT_EQ(w.genoma(kActual, 0), deadSquareGenome());
}

TEST(Seeding, DistributionFillFollowsThePortions) {
    // 2000 cells, 20 of them blank; fixed seed; each share within about 4 sigma of its portion.
    World w = worldOf(40, 50);
    const Genoma blank = genomeOf(w, "Cuadro en blanco");
    for (int cell = 100; cell <= 2000; cell += 100) place(w, cell, blank);
    StrategyList& list = w.ListaEstrategias;
    for (auto& s : list) s.Reparto = 0;
    list[1].genoma = list[5].genoma;  // "Del mapa!" holds "UC"
    list[1].Reparto = 1024 + 400;
    list[4].Reparto = 1024 + 350;      // "UD"
    list[6].Reparto = 300;             // "Tit For Tat", inactive: never chosen
    list[7].Reparto = 1024;            // "Fairman", active with nothing: never chosen
    list[20].genoma = list[5].genoma;  // whatever "Random" holds, it seeds random genomes
    list[20].Reparto = 1024 + 250;
    Rng rng(34);
    LlenarMundo(w, rng, kFillByDistribution);

    const Genoma uc = genomeOf(w, "UC"), ud = genomeOf(w, "UD");
    int ucCells = 0, udCells = 0, randomCells = 0;
    for (int cell = 1; cell <= w.NumJugadores; ++cell) {
        SCOPED_TRACE(cell);
        const Genoma& g = w.genoma(kActual, cell);
        if (cell % 100 == 0) {
            EXPECT_EQ(g, blank);
            EXPECT_EQ(w.genoma(kPrevio, cell), blank);
        } else if (g == uc || g == ud) {
            ++(g == uc ? ucCells : udCells);
        } else {
            ++randomCells;
            expectRandomGenome(g);
        }
    }
    EXPECT_NEAR(ucCells, 792, 90);  // 1980 x 0.40
    EXPECT_NEAR(udCells, 693, 90);  // 1980 x 0.35
    EXPECT_NEAR(randomCells, 495, 80);
}

TEST(Seeding, FillsThatFindNothingToDoChangeNothing) {
    struct Row {
        const char* name;
        int modo;
        std::int16_t reparto;  // of every slot
    };
    const Row rows[] = {
        {"mode 4 (middle button)", 4, 1224},
        {"mode 0", 0, 1224},
        {"mode 2, every portion zero", kFillByDistribution, 1024},
        {"mode 2, nothing active", kFillByDistribution, 500},
        {"mode 2, all words zero", kFillByDistribution, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        World w = worldOf(3, 2);
        int cell = 1;
        for (const char* name : {"UC", "UD", "Cuadro en blanco", "Fairman", "Tit For Tat", "UC"})
            place(w, cell++, genomeOf(w, name));
        for (auto& s : w.ListaEstrategias) s.Reparto = r.reparto;
        const World before = w;
        Rng rng(36);
        LlenarMundo(w, rng, r.modo);
        EXPECT_EQ(w.genomes, before.genomes);
    }
}

}  // namespace
}  // namespace morvane
