#include "encounter/history.h"

#include <gtest/gtest.h>

#include <string>

#include "support/worlds.h"

namespace morvane {
namespace {

using testing::appendRecord;
using testing::searchWordFor;

std::uint16_t knowledgeWord(int ci, int ei) {
    return static_cast<std::uint16_t>(ei * 128 + ci);
}

// Rival 1 has met cells 3, 2, 4, 2 in that order; searcher 2 and stranger 5 fall back on their
// own "without data" values.
World historyWorld(GenerationReport& rep) {
    World w = testing::encounterWorld(3, 3, 20);
    rep = testing::reportOf(w);
    appendRecord(rep, 1, 3, 0, 10, 20);
    appendRecord(rep, 1, 2, 1, 30, 40);
    appendRecord(rep, 1, 4, 1, 50, 60);
    appendRecord(rep, 1, 2, 0, 70, 80);
    w.genoma(kActual, 2).parte[0].Incertidumbre = static_cast<std::int16_t>(knowledgeWord(11, 22));
    w.genoma(kActual, 5).parte[0].Incertidumbre = static_cast<std::int16_t>(knowledgeWord(33, 44));
    return w;
}

TEST(BuscarHistorial, SearchTypesDepthsAndRoleFiltersPickTheRecordsTheyName) {
    GenerationReport rep;
    const World w = historyWorld(rep);
    struct Row {
        const char* name;
        int searcher, n, role;
        std::int16_t word;
        std::uint16_t expected;
    };
    const Row rows[] = {
        {"type 0 sees only meetings with the searcher", 2, 4, 0, searchWordFor(0, 5, 2),
         knowledgeWord(50, 60)},
        {"depth 1 takes the newest", 2, 4, 0, searchWordFor(0, 1, 2), knowledgeWord(70, 80)},
        {"history 0: the rival in the other role now", 2, 4, 0, searchWordFor(0, 5, 0),
         knowledgeWord(30, 40)},
        {"history 0 for player 2", 2, 4, 1, searchWordFor(0, 5, 0), knowledgeWord(70, 80)},
        {"history 1: the rival in the same role", 2, 4, 0, searchWordFor(0, 5, 1),
         knowledgeWord(70, 80)},
        {"type 0 without a meeting falls back", 5, 4, 0, searchWordFor(0, 5, 2),
         knowledgeWord(33, 44)},
        {"type 8 falls back on the newest others", 5, 4, 0, searchWordFor(8, 2, 2),
         knowledgeWord(60, 70)},
        {"type 8 fall-back keeps the role filter", 5, 4, 0, searchWordFor(8, 2, 0),
         knowledgeWord(40, 50)},
        {"type 8 with a meeting ignores others", 2, 4, 0, searchWordFor(8, 2, 2),
         knowledgeWord(50, 60)},
        {"type 16 takes anybody up to the depth", 2, 4, 0, searchWordFor(16, 3, 2),
         knowledgeWord(50, 60)},
        {"type 16 deeper than the list", 2, 4, 0, searchWordFor(16, 15, 2), knowledgeWord(40, 50)},
        {"type 24 reads as 16", 2, 4, 0, searchWordFor(24, 15, 2), knowledgeWord(40, 50)},
        {"only the first n records", 2, 2, 0, searchWordFor(16, 15, 2), knowledgeWord(20, 30)},
        {"no record at all", 2, 0, 0, searchWordFor(16, 15, 2), knowledgeWord(11, 22)},
        {"an undefined history type lets nothing pass", 2, 4, 0, searchWordFor(16, 15, 3),
         knowledgeWord(11, 22)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(BuscarHistorial(w, rep, r.searcher, 1, r.n, 0, kActual, r.role, r.word),
                  r.expected);
    }
}

TEST(BuscarHistorial, AveragesRoundHalvesToEven) {
    struct Row {
        int a1, a2, expectedCi;
    };
    for (const Row& r : {Row{50, 51, 50}, Row{51, 52, 52}, Row{50, 52, 51}}) {
        SCOPED_TRACE(::testing::Message() << r.a1 << ", " << r.a2);
        World w = testing::encounterWorld(2, 2, 4);
        GenerationReport rep = testing::reportOf(w);
        appendRecord(rep, 1, 2, 0, r.a1, r.a1);
        appendRecord(rep, 1, 2, 0, r.a2, r.a2);
        const std::uint16_t word =
            BuscarHistorial(w, rep, 2, 1, 2, 0, kActual, 1, searchWordFor(0, 2, 2));
        EXPECT_FLOAT_EQ(knowledgeCi(word), r.expectedCi / 100.0f);
        EXPECT_FLOAT_EQ(knowledgeEi(word), r.expectedCi / 100.0f);
    }
}

TEST(BuscarHistorial, FallBackReadsTheGivenHalfAndCopy) {
    GenerationReport rep;
    World w = historyWorld(rep);
    w.genoma(kPrevio, 2).parte[1].Incertidumbre =
        static_cast<std::int16_t>(knowledgeWord(7, 9) | 16384);
    const std::uint16_t word =
        BuscarHistorial(w, rep, 2, 1, 0, 1, kPrevio, 0, searchWordFor(0, 1, 2));
    EXPECT_FLOAT_EQ(knowledgeCi(word), 0.07f);
    EXPECT_FLOAT_EQ(knowledgeEi(word), 0.09f);  // the copy-look bit is no part of Ei
}

TEST(SlotsUsados, ListTheRecordsBehindEachSearch) {
    GenerationReport rep;
    const World w = historyWorld(rep);
    const RecordList l = recordList(rep, 1);
    EXPECT_EQ(slotsUsed(l, 2, 4, 0, searchWordFor(0, 5, 2)), (std::vector<int>{4, 2}));
    EXPECT_EQ(slotsUsed(l, 5, 4, 0, searchWordFor(8, 2, 2)), (std::vector<int>{4, 3}));
    EXPECT_EQ(slotsUsed(l, 5, 4, 0, searchWordFor(0, 2, 2)), std::vector<int>{});
    EXPECT_EQ(slotsUsed(l, 2, 4, 0, searchWordFor(16, 3, 2)), (std::vector<int>{4, 3, 2}));
}

TEST(DisparoPrevio, WhomAndWhenSelectTheEarlierMeeting) {
    // Cell 1: fired against 2 as player 1, not against 3 as player 2, not against 2 as player 2,
    // fired against 3 as player 1.
    World w = testing::encounterWorld(2, 2, 8);
    GenerationReport rep = testing::reportOf(w);
    appendRecord(rep, 1, 2, 0, 0, 0, true);
    appendRecord(rep, 1, 3, 1, 0, 0, false);
    appendRecord(rep, 1, 2, 1, 0, 0, false);
    appendRecord(rep, 1, 3, 0, 0, 0, true);
    struct Row {
        const char* name;
        int whom, when, partner, n, role, expected;
    };
    const Row rows[] = {
        {"any player, always: the newest record", 1, 2, 2, 4, 0, 1},
        {"any player, always, one record less", 1, 2, 2, 3, 0, 0},
        {"any player, always, no record", 1, 2, 2, 0, 0, 0},
        {"any player, same role", 1, 0, 2, 4, 0, 1},
        {"any player, same role as player 2", 1, 0, 2, 4, 1, 0},
        {"any player, inverse role", 1, 1, 2, 4, 0, 0},
        {"same player, always", 0, 2, 2, 4, 0, 0},
        {"same player, always, two records", 0, 2, 2, 2, 0, 1},
        {"same player, same role", 0, 0, 2, 4, 0, 1},
        {"same player, inverse role", 0, 1, 2, 4, 0, 0},
        {"same player, inverse role as player 2", 0, 1, 2, 4, 1, 1},
        {"a player never met", 0, 2, 4, 4, 0, 0},
        {"an undefined when selects nothing", 1, 3, 2, 4, 0, 0},
        {"an undefined when (bit 12) selects nothing", 1, 8, 2, 4, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::int16_t t = packed::withAquien(0, r.whom);
        t = packed::withCuando(t, r.when);
        w.genoma(kActual, 1).parte[0].Trigger = t;
        EXPECT_EQ(DisparoPrevio(w, rep, 1, r.partner, r.n, 0, kActual, r.role), r.expected);
    }
}

TEST(TextoBusqueda, ExplainsTheCodeWithItsExactSpacing) {
    EXPECT_EQ(searchCodeText(searchWordFor(8, 7, 1)), "8 -> 7 -> 1");
    EXPECT_EQ(searchCodeText(searchWordFor(16, 12, 2)), "16 -> 12 -> 2");
    struct Row {
        const char* code;
        int p, q;
        const char* expected;
    };
    const Row rows[] = {
        {"8 -> 7 -> 1", 5, 12,
         "8 = p 5 searchs for previous moves of p 12 against himself (p 5). If fails, searchs "
         "for previous moves of p 12 against other players. | 7  = p 5 searchs for the 7  "
         "previous moves of p 12 | 1 = p 5 searchs only for previous moves of p 12 playing the "
         "opposite rol as in this current move."},
        {"16 -> 12 -> 2", 3, 4,
         "16 = p 3 searchs for previous moves of p 4 against any player, including him self (p "
         "3). | 12 = p 3 searchs for the 12 previous moves of p 4 | 2 = p 3 searchs for any "
         "previous moves of p 4 playing any rol."},
        {"0 -> 10 -> 0", 1, 2,
         "0 = p 1 searchs only for previous moves of p 2 against himself (p 1). | 10 = p 1 "
         "searchs for the 10 previous moves of p 2 | 0 = p 1 searchs only for previous moves of "
         "p 2 playing the same rol as in this current move."},
        {"24 -> 1 -> 3", 1, 2, " |  1 = p 1 searchs for the  1 previous moves of p 2 | "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(TextoBusqueda(r.code, r.p, r.q), r.expected);
    }
}

}  // namespace
}  // namespace morvane
