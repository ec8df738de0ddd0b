#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

class Rng;

// One row of the details grid: record i of the rival's list beside its partner's record of the
// same encounter. Numbers are already written as the grid shows them (3 decimals).
struct DetailRow {
    std::array<std::string, 10> text;     // columns 0..9; column 8 (hidden) stays empty
    std::int16_t rival = 0, partner = 0;  // the cell numbers of columns 1 and 2
    std::array<std::uint8_t, 6> rivalColours{}, partnerColours{};  // snapshot colours
    bool italic = false;  // column 6: the rival's trigger fired in that encounter
    bool used = false;    // columns 6 and 7 bold on yellow: a record the search used
    bool red = false;     // columns 4 to 9 red: the move under study
};

// The details window "Interactions details" for the search the searcher made of the rival's moves
// in the encounter recorded as the rival's record `current`.
struct InteractionExplanation {
    bool valid = false;  // false when the arguments name no such encounter
    std::int16_t rival = 0, searcher = 0, current = 0;
    std::array<std::uint8_t, 6> rivalColours{}, searcherColours{};
    std::vector<DetailRow> rows;       // rows[i - 1] is grid row i
    std::string averageIc, averageIa;  // averages of the records used, or the "without data" values
    bool withoutData = false;          // the averages are the searcher's own values (italic)
    std::string estimatedEquality, actualEquality;  // empty unless the preview applied
    // Said when the preview player 2 saw came from a random output a replay cannot draw again.
    std::string previewNote;
    std::string code;         // txtProf: "8 -> 7 -> 1"
    std::string explanation;  // txtExplicacion
    int topRow = 1;           // the grid's top row, so that the red row shows
};

// Reads the records of the generation just played and the snapshot genomes and changes nothing.
// Under successive moves the searcher, as player 2, weighed player 1's move before it was
// committed: that preview is replayed (rng serves a replayed ad-hoc random output) and shown in the
// studied row, so the averages are those of the records the search actually read.
InteractionExplanation ExplicarPartida(const World& w, const GenerationReport& rep, int rival,
                                       int searcher, int current, Rng& rng);

}  // namespace morvane
