#pragma once

// The history search and the trigger look-up as the record index answers them: from the memories
// of a cell's records with one partner and with anybody, and the preview on top. They give what the
// record-by-record forms of history.h give on the same records.
#include <array>
#include <cstddef>
#include <cstdint>

#include "encounter/history.h"
#include "encounter/record_index.h"

namespace morvane {

namespace indexed {

// ceil(2^32 / (2 count)) for count = 1..256: the quotient of any doubled sum below 2^18 by
// 2 count is its product with this, shifted down by 32, to the last bit (the product's excess is
// below 2^18 * 2 count / 2^32, less than one step of the divisor).
inline constexpr std::array<std::uint32_t, 257> kHalfReciprocals = [] {
    std::array<std::uint32_t, 257> t{};
    for (std::uint64_t c = 1; c <= 256; ++c)
        t[c] = static_cast<std::uint32_t>(((std::uint64_t{1} << 32) + 2 * c - 1) / (2 * c));
    return t;
}();

// sum / count to the nearest whole number, halves to even, for a sum of at most 65535 and a count
// of 1..256. Sums and counts are small, so this is exactly the rounding of their floating-point
// quotient. sum + count/2 over count rounds halves up, and a half leaves no remainder; one
// quotient gives both, taken by a multiplication rather than a division, and an odd quotient of a
// half steps back to the even one below it. Without a branch, as remainders fall at random.
inline int roundedAverage(int sum, int count) {
    const auto doubled = static_cast<std::uint32_t>(2 * sum + count);
    const auto divisor = static_cast<std::uint32_t>(2 * count);
    const auto q = static_cast<std::uint32_t>(
        (std::uint64_t{doubled} * kHalfReciprocals[static_cast<std::size_t>(count)]) >> 32);
    const auto half = static_cast<std::uint32_t>(q * divisor == doubled);
    return static_cast<int>(q - (half & q));
}

// The record roles that pass the role filter of history type h for a searcher in role bit
// `role`, as a mask: bit r set when a record played in role bit r passes.
inline int roleMask(int h, int role) {
    // By history type 0..15 and role bit; a table, as history types differ from bug to bug.
    static constexpr std::array<std::array<std::uint8_t, 2>, 16> kRoleMasks = {
        {{2, 1}, {1, 2}, {3, 3}}};
    return kRoleMasks[h & 15][role & 1];
}

inline bool passes(int mask, int role) {
    return ((mask >> role) & 1) != 0;
}

// The sums of the two bytes of the records a search counts, MovA in the low half and MovB in the
// high half as the rings hold them, and their averages as a knowledge word. A search counts at
// most one memory's records and the preview, 256 records of at most 255 each, so neither half
// carries into the other.
struct RingTally {
    std::uint32_t sums = 0;
    int count = 0;
    void add(std::uint8_t movA, std::uint8_t movB) {
        sums += movA | static_cast<std::uint32_t>(movB) << 16;
        ++count;
    }
    std::uint16_t word() const {
        return static_cast<std::uint16_t>(roundedAverage(sumOfB(sums), count) * 128 +
                                          roundedAverage(sumOfA(sums), count));
    }
};

// Adds the newest min(d, c) of the c records of a ring of running sums (d <= 15).
inline void addRing(RingTally& t, const std::array<std::uint32_t, 16>& ring, int c, int d) {
    const int m = d < c ? d : c;
    t.sums += ring[c & 15] - ring[(c - m) & 15];
    t.count += m;
}

// Adds a memory's newest d records (1 <= d <= 15) whose role passes the mask: ring mask - 1, chosen
// by index rather than by branches, as masks differ from bug to bug.
inline void addNewest(RingTally& t, const RecordMemory& m, int mask, int d) {
    if (mask == 0) return;
    addRing(t, m.rings[mask - 1], ringCount(m, mask - 1), d);
}

// Adds all of a memory's records whose role passes the mask.
inline void addAll(RingTally& t, const RecordMemory& m, int mask) {
    for (int r = 0; r < 2; ++r) {
        if (!passes(mask, r)) continue;
        t.sums += roleSum(m, r);
        t.count += m.counts[r];
    }
}

}  // namespace indexed

// What an indexed look-up reads of one cell's records: the memory of all of them, the memory of
// those with the partner in question (null when the cell never met it), the newest record's
// partner, and the preview that stands on top of them while player 2 weighs player 1's move.
struct CellMemories {
    const RecordMemory* anyPartner = nullptr;
    const RecordMemory* withPartner = nullptr;
    int newestPartner = 0;
    const SlotRecord* preview = nullptr;
};

// The search of the cell's records by searcher a (role bit `role`) with the search word `word`, as
// the record-by-record scan makes it: records newest first, stopping once `depth` counted; with
// depth 0 it stops after the newest record unless that one counts, and then counts every record
// it can. Types 0 and 8 count the records with the searcher (v.withPartner must be the memory of
// a); type 8 falls back on the others only when no record with the searcher passes the role filter,
// and takes the newest `depth` of them; type 16 counts every record that passes. The word, or -1
// when nothing counts.
inline int indexedWord(const CellMemories& v, int a, int role, std::int16_t word) {
    using namespace indexed;
    constexpr int kNothing = -1;
    const RecordMemory& all = *v.anyPartner;
    const SlotRecord* preview = v.preview;
    if (preview == nullptr && all.counts[2] == 0) return kNothing;
    const int searchType = word & 24;
    const int depth = packed::prof(word);
    const int mask = roleMask(packed::historial(word), role);
    const bool previewPasses =
        preview != nullptr && passes(mask, moveRecord::role(preview->jugada));
    const bool previewOwn = previewPasses && moveRecord::partner(preview->jugada) == a;
    RingTally t;
    const auto addPreview = [&](bool counts) {
        if (counts) t.add(preview->movA, preview->movB);
    };

    // Type 16 counts from the memory of all records what types 0 and 8 count from the memory with
    // the searcher: the two are one path on a chosen memory, as types differ from bug to bug.
    const bool countsAll = searchType >= 16;
    const RecordMemory* source = countsAll ? &all : v.withPartner;
    const bool previewCounts = countsAll ? previewPasses : previewOwn;
    if (depth == 0) {
        // The newest record decides whether anything counts.
        const bool newestPasses = passes(mask, all.newestRole);
        const bool newestCounts = preview != nullptr
                                      ? previewCounts
                                      : newestPasses && (countsAll || v.newestPartner == a);
        if (!newestCounts) return kNothing;
        addPreview(preview != nullptr);
        if (source != nullptr) addAll(t, *source, mask);
        return t.count > 0 ? t.word() : kNothing;
    }
    addPreview(previewCounts);
    if (source != nullptr && t.count < depth) addNewest(t, *source, mask, depth - t.count);
    if (t.count > 0) return t.word();
    if (searchType != 8) return kNothing;
    // No record with the searcher passes the filter, so every record that passes is an "other".
    addPreview(previewPasses);
    if (t.count < depth) addNewest(t, all, mask, depth - t.count);
    if (t.count > 0) return t.word();
    return kNothing;
}

// Whether the cell's trigger fired in the newest of its records that its whom and when fields
// (trigger word `trigger`) select for the partner and its current role bit; v.withPartner must be
// the memory of `partner`.
inline int indexedFired(const CellMemories& v, int partner, int role, std::int16_t trigger) {
    const int whom = packed::aquien(trigger);
    const int when = packed::cuando(trigger);
    if (when > 2) return 0;  // an undefined "when" selects no encounter
    const int target = role ^ static_cast<int>(when != 0);
    if (v.preview != nullptr) {
        const std::int32_t preview = v.preview->jugada;
        if ((whom == 1 || moveRecord::partner(preview) == partner) &&
            (when == 2 || moveRecord::role(preview) == target))
            return moveRecord::fired(preview) ? 1 : 0;
    }
    const RecordMemory* m = whom == 1 ? v.anyPartner : v.withPartner;
    if (m == nullptr) return 0;
    // A look-up rather than branches: whom and when differ from bug to bug. Entry 2 is both roles;
    // an entry with no record holds 0.
    return m->fired[when == 2 ? 2 : target];
}

}  // namespace morvane
