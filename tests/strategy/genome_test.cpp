#include "strategy/genome.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(PackedWords, WritersKeepOtherFieldsAndClearTheirOwn) {
    std::int16_t w = packed::withHistorial(packed::withTipo(0, 16), 2);
    w = packed::withProf(w, 15);
    EXPECT_EQ(w, 3024);
    EXPECT_EQ(packed::tipo(w), 16);
    EXPECT_EQ(packed::prof(w), 15);
    EXPECT_EQ(packed::historial(w), 2);

    EXPECT_EQ(packed::incerIC(12900), 100);
    EXPECT_EQ(packed::incerIA(12900), 100);
    EXPECT_EQ(packed::copia(12900), 0);

    std::int16_t t = packed::withTriggerResp(packed::withAquien(packed::withCuando(0, 2), 1), 50);
    EXPECT_EQ(t, 1330);
    // A stray bit of the Cuando field (bit 12) never survives a write of the field.
    t = packed::withCuando(static_cast<std::int16_t>(t | 4096), 1);
    EXPECT_EQ(packed::cuando(t), 1);
    EXPECT_EQ(packed::aquien(t), 1);
    EXPECT_EQ(packed::triggerResp(t), 50);
}

TEST(GenomeForms, ListToCellRoundsHalvesToEvenAndKeepsLowColourByte) {
    ListGenoma l;
    l.parte[0].SenIC = 33.5f;
    l.parte[0].SenIA = 32.5f;
    l.parte[1].Incertidumbre = 12900.0f;
    l.Colores = {255, 256 + 7, 1, 0x1FF, 2, 3};
    const Genoma c = toCellForm(l);
    EXPECT_EQ(c.parte[0].SenIC, 34);
    EXPECT_EQ(c.parte[0].SenIA, 32);
    EXPECT_EQ(c.parte[1].Incertidumbre, 12900);
    EXPECT_EQ(c.Colores[1], 7);
    EXPECT_EQ(c.Colores[3], 255);
    EXPECT_EQ(toCellForm(toListForm(c)), c);
}

// Strategies are compared by their halves' bytes: every field of either half counts, the colours
// and the padding do not.
TEST(GenomeForms, SameStrategyWeighsEveryFieldButTheColours) {
    Genoma a = deadSquareGenome();
    Genoma b = a;
    b.Colores = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(sameStrategy(a, b));
    b = a;
    b.VecinosImitacion = 5;
    EXPECT_FALSE(sameStrategy(a, b));
    // Every byte of either half, one at a time: each belongs to a field but byte 19, the padding
    // between TriggerMax and Trigger.
    static_assert(sizeof(GenomePart) == 22);
    for (std::size_t byte = 0; byte < sizeof(GenomePart); ++byte)
        for (int half = 0; half < 2; ++half) {
            b = a;
            reinterpret_cast<unsigned char*>(&b.parte[half])[byte] ^= 0xFF;
            EXPECT_EQ(sameStrategy(a, b), byte == 19) << "byte " << byte << ", half " << half;
        }
}

}  // namespace
}  // namespace morvane
