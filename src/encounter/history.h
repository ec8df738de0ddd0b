#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encounter/move_record.h"
#include "encounter/percent.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

// The packed knowledge word: Ci as a whole percentage in bits 0..6, Ei in bits 7..13 (the layout
// of Incertidumbre, whose other bits are ignored here).
inline float knowledgeCi(std::uint16_t word) {
    return hundredth(static_cast<std::uint8_t>(word & 127));
}
inline float knowledgeEi(std::uint16_t word) {
    return hundredth(static_cast<std::uint8_t>((word & 16256) / 128));
}

// One slot's values: the record and its two bytes.
struct SlotRecord {
    std::int32_t jugada = 0;
    std::uint8_t movA = 0, movB = 0;
};

// A cell's record list as a search reads it: the report's arrays from slot 0 on and, while player 2
// weighs player 1's current move, one slot shown with a preview record instead. The preview lives
// here and never in the report, so a replay cannot disturb what the generation recorded.
struct RecordList {
    const std::int32_t* jugadas = nullptr;
    const std::uint8_t* movA = nullptr;
    const std::uint8_t* movB = nullptr;
    std::size_t stride = 1;  // from one slot to the next
    int previewSlot = -1;
    SlotRecord preview;

    std::int32_t jugada(int i) const { return i == previewSlot ? preview.jugada : jugadas[at(i)]; }
    std::uint8_t a(int i) const { return i == previewSlot ? preview.movA : movA[at(i)]; }
    std::uint8_t b(int i) const { return i == previewSlot ? preview.movB : movB[at(i)]; }

  private:
    std::size_t at(int i) const { return static_cast<std::size_t>(i) * stride; }
};

// A cell's record list in the report.
inline RecordList recordList(const GenerationReport& r, int cell) {
    const std::size_t base = r.slotIndex(cell, 0);
    return {r.Jugadas.data() + base,
            r.MovA.data() + base,
            r.MovB.data() + base,
            r.slotIndex(cell, 1) - base,
            -1,
            {}};
}

bool validCell(const World& w, int cell);
// A slot the cell has filled in the generation the report holds.
bool validSlot(const World& w, const GenerationReport& r, int cell, int slot);

// Whether a record played in role bit recRole passes the role filter of history type h for a
// searcher now in role bit role. Undefined history types let no record pass.
inline bool passesRoleFilter(int recRole, int h, int role) {
    switch (h) {
        case 0:
            return recRole == 1 - role;
        case 1:
            return recRole == role;
        case 2:
            return true;
        default:
            return false;
    }
}

// The search of records n..1 of a rival's list by searcher a (role bit `role`) with the search word
// `word`, reading every record from the newest down; empty when the search finds nothing and the
// searcher's "without data" values apply. The record index's answers must always agree with it.
std::optional<std::uint16_t> searchRecords(const RecordList& list, int a, int n, int role,
                                           std::int16_t word);

// The slots that search uses, newest first (the records behind its averages).
std::vector<int> slotsUsed(const RecordList& list, int a, int n, int role, std::int16_t word);

// Searcher a, in role bit `role`, reads the first n records of rival o with the search word of
// its genome half `half`; the fall-back is a's Incertidumbre of that half in copy copia.
// Reads the report's records one by one: the reference every faster search must agree with.
std::uint16_t BuscarHistorial(const World& w, const GenerationReport& r, int a, int o, int n,
                              int half, int copia, int role, std::int16_t word);

// Whether b's trigger fired in the newest of b's first n records that its whom and when fields
// (Trigger of half `half`, copy copia) select for the partner and b's current role bit.
int DisparoPrevio(const World& w, const GenerationReport& r, int b, int partner, int n, int half,
                  int copia, int role);
// The same look-up on a record list, with the trigger word given, reading every record from the
// newest down.
int firedInRecords(const RecordList& list, int partner, int n, int role, std::int16_t trigger);

// The search code as the details window shows it: "8 -> 7 -> 1".
std::string searchCodeText(std::int16_t busqueda);

// The sentence that explains a search code for player p against rival q.
std::string TextoBusqueda(std::string_view code, int p, int q);

}  // namespace morvane
