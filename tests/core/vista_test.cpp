#include "state/vista.h"

#include <gtest/gtest.h>

#include <array>

namespace morvane {
namespace {

// The ticks of a menu as a number: bit k is item k.
template <std::size_t N>
int ticks(const std::array<bool, N>& items) {
    int bits = 0;
    for (std::size_t k = 0; k < N; ++k) bits |= items[k] << k;
    return bits;
}

// Each word decoded into the menus, and the menus encoded again: a word without a fraction comes
// back with its four rounds written, every other word exactly (option [0] gives 2, [5] 4096, [6]
// 8192 of the start-up word).
TEST(Vista, DecodesTicksRuleSumModeAndRoundsAndEncodesThemBack) {
    struct Row {
        const char* name;
        float vista;
        std::int16_t options;
        bool verMutaciones;
        int mnuRegla, regla, mnuSuma, modoSuma, chkSen, iteraciones;
        float encoded;
    };
    const Row rows[] = {
        {"all three rule bits", 449.0f, 0, true, 0b0111, 3, 0, 3, 0, 4, 449.4f},
        {"saved example", 17155.4f, 257, true, 0b0100, 3, 0b001, 1, 0b001, 4, 17155.4f},
        {"start-up word", 48770.3984375f, 1 | 32 | 64, false, 0b0010, 2, 0b010, 2, 0b111, 4,
         48770.3984375f},
        {"Maxi Min", 16.0f + 32768.0f + 0.3f, 0, false, 0b1000, 4, 0b010, 2, 0, 3,
         16.0f + 32768.0f + 0.3f},
        {"two sum ticks", 16384.0f + 32768.0f + 0.5f, 0, false, 0, 3, 0b011, 3, 0, 5,
         16384.0f + 32768.0f + 0.5f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        World w;
        w.options.Opciones[kActual] = row.options;
        decodeVista(w, row.vista);
        const RunOptions& o = w.options;
        EXPECT_EQ(o.mnuVerMutaciones, row.verMutaciones);
        EXPECT_EQ(ticks(o.mnuRegla), row.mnuRegla);
        EXPECT_EQ(o.Regla, row.regla);
        EXPECT_EQ(ticks(o.mnuSuma), row.mnuSuma);
        EXPECT_EQ(o.ModoSuma, row.modoSuma);
        EXPECT_EQ(ticks(o.chkSen), row.chkSen);
        EXPECT_EQ(w.Iteraciones, row.iteraciones);
        EXPECT_EQ(w.Vista, row.vista);
        EXPECT_EQ(encodeVista(w), row.encoded);
    }
}

TEST(Vista, OptionItemsComeFromOpcionesAndItemThreeStaysUnticked) {
    World w;
    w.options.Opciones[kActual] = 1023;
    decodeVista(w, 0.4f);  // the word itself ticks no option
    for (int k = 0; k < 10; ++k) EXPECT_EQ(w.options.mnuOpcion[k], k != 3) << "item " << k;
}

TEST(Vista, EveryRuleRoundCountAndSumModeSurvivesARoundTrip) {
    for (int regla = 0; regla < 4; ++regla) {
        for (int rounds = 1; rounds <= 10; ++rounds) {
            for (int suma = 0; suma < 3; ++suma) {
                SCOPED_TRACE(::testing::Message() << "rule " << regla + 1 << ", rounds " << rounds
                                                  << ", sum mode " << suma + 1);
                World w;
                w.options.mnuVerMutaciones = (rounds % 2) == 0;
                w.options.mnuOpcion = {true, true, true,  false, true,
                                       true, true, false, false, false};
                recomputeOpciones(w);
                clickRegla(w, regla);
                clickSuma(w, suma);
                w.Iteraciones = static_cast<std::uint8_t>(rounds);
                const float x = encodeVista(w);
                EXPECT_LT(x, 262144.0f);

                World back;
                back.options.Opciones[kActual] = w.options.Opciones[kActual];
                back.options.Regla = 2;
                back.options.mnuRegla = {true, true, true, true};
                decodeVista(back, x);
                // The word is made of the menus' ticks: the same word means the same ticks.
                EXPECT_EQ(encodeVista(back), x);
                EXPECT_EQ(back.options.Regla, regla + 1);
                EXPECT_EQ(back.options.ModoSuma, suma + 1);
                EXPECT_EQ(back.Iteraciones, rounds);
            }
        }
    }
}

TEST(Vista, WordsWithoutAFractionMeanFourRoundsUnlessTheTenRoundBitIsSet) {
    EXPECT_EQ(vistaIteraciones(449.0f), 4);
    EXPECT_EQ(vistaIteraciones(131072.0f), 10);
    EXPECT_EQ(vistaIteraciones(131072.2f), 2);
    EXPECT_EQ(vistaIteraciones(449.02f), 0);
    EXPECT_EQ(vistaIteraciones(0.25f), 2);  // halves go to the even count
    EXPECT_EQ(vistaIteraciones(0.96f), 10);
}

}  // namespace
}  // namespace morvane
