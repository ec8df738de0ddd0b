#pragma once

#include <cstdint>

#include "encounter/move_record.h"
#include "encounter/record_index_types.h"
#include "state/generation_report.h"
#include "state/world.h"

namespace morvane {

// Adds one record to a memory. A sequence holds at most 255 records of at most 100 each, so
// neither half of a running sum carries into the other.
inline void addRecord(RecordMemory& m, int role, bool fired, std::uint8_t movA, std::uint8_t movB) {
    const std::uint32_t bytePair = movA | static_cast<std::uint32_t>(movB) << 16;
    const int roleCount = m.counts[role];
    const int total = m.counts[2];
    auto& ring = m.rings[role];
    auto& allRing = m.rings[2];
    const std::uint32_t allSum = allRing[total & 15] + bytePair;
    const std::uint32_t roleSum = ring[roleCount & 15] + bytePair;
    allRing[(total + 1) & 15] = allSum;
    ring[(roleCount + 1) & 15] = roleSum;
    // The byte fields last: a byte store may alias anything read after it.
    m.counts[role] = static_cast<std::uint8_t>(roleCount + 1);
    m.counts[2] = static_cast<std::uint8_t>(total + 1);
    m.fired[role] = fired ? 1 : 0;
    m.fired[2] = fired ? 1 : 0;
    m.newestRole = static_cast<std::uint8_t>(role);
}

// The sums of MovA and MovB over all of a memory's records in role `role`.
inline std::uint32_t roleSum(const RecordMemory& m, int role) {
    return m.rings[role][m.counts[role] & 15];
}
inline int sumOfA(std::uint32_t sum) {
    return static_cast<int>(sum & 0xFFFF);
}
inline int sumOfB(std::uint32_t sum) {
    return static_cast<int>(sum >> 16);
}

// Sizes the index to the world, the report's record lists and the committed neighbourhood, with
// nothing indexed. The generation cycle calls it with the other accumulators.
void resetRecordIndex(const World& w, const GenerationReport& r, RecordIndex& ix);

// Whether the index has the shape of the world and of its record lists.
inline bool indexFitsWorld(const World& w, const GenerationReport& r, const RecordIndex& ix) {
    return ix.slotsPerCell == r.slotsPerCell &&
           ix.headers.size() == static_cast<std::size_t>(w.NumJugadores) + 1;
}

// The cell's memory of a partner met for the first time, as its k-th.
RecordMemory& newPartnerMemory(RecordIndex& ix, int cell, int k, int partner);
// Where a memory past every cell's block lies in withPartner; the memory must exist.
std::size_t placePastBlocks(const RecordIndex& ix, int cell, int partner);

// Where a cell keeps its memory of a partner: the partner's number k among those the cell met (or
// the number it takes when met for the first time) and the memory's place in withPartner. A place
// rather than an address: a memory made for another cell may move the vector.
struct PartnerPlace {
    static constexpr std::size_t kNotMet = static_cast<std::size_t>(-1);
    int k = 0;
    std::size_t pos = kNotMet;  // kNotMet: not met yet
};

// A cell meets its partners in the same order round after round, so the entry after the last one
// used is nearly always the one asked for.
inline PartnerPlace partnerPlace(const RecordIndex& ix, int cell, int partner) {
    const RecordIndex::Header& c = ix.headers[cell];
    const std::size_t base = static_cast<std::size_t>(cell) * ix.block;
    int k = c.nextPartner == c.partnersMet ? 0 : c.nextPartner;
    if (k < c.partnersMet && static_cast<std::size_t>(k) < ix.block &&
        ix.withPartner[base + k].partner == partner)
        return {k, base + k};
    if ((c.metMask >> (partner & 63) & 1) == 0) return {c.partnersMet, PartnerPlace::kNotMet};
    const std::int16_t* partners = ix.partners.data() + cell * ix.slotsPerCell;
    for (k = 0; k < c.partnersMet; ++k) {
        if (partners[k] != partner) continue;
        if (static_cast<std::size_t>(k) < ix.block) return {k, base + k};
        return {k, placePastBlocks(ix, cell, partner)};
    }
    return {c.partnersMet, PartnerPlace::kNotMet};
}

// The memory at a place, or null for a partner not met yet.
inline const RecordMemory* memoryAt(const RecordIndex& ix, PartnerPlace place) {
    return place.pos == PartnerPlace::kNotMet ? nullptr : &ix.withPartner[place.pos];
}

// One cell's part of the record index, as a search reads it.
struct CellIndex {
    const RecordIndex* index = nullptr;  // null: no usable index
    int cell = 0;

    bool available() const { return index != nullptr; }
    const RecordIndex::Header& header() const { return index->headers[cell]; }
    // Slots 1..indexedCount() are indexed.
    int indexedCount() const { return header().indexed; }
    // The memory of all the cell's records.
    const RecordMemory* anyPartner() const { return &index->anyPartner[cell]; }
    // The memory of the cell's records with that partner; null when the cell has not met it.
    const RecordMemory* withPartner(int partner) const {
        return memoryAt(*index, partnerPlace(*index, cell, partner));
    }
};

// Adds a record and its two bytes to the cell's index, its partner's memory found at `place`; the
// cell's slots before it are already indexed.
inline void addToIndexAt(RecordIndex& ix, int cell, int slot, std::int32_t record,
                         std::uint8_t movA, std::uint8_t movB, PartnerPlace place) {
    RecordIndex::Header& c = ix.headers[cell];
    const auto partner = static_cast<std::int16_t>(moveRecord::partner(record));
    const int role = moveRecord::role(record);
    const bool fired = moveRecord::fired(record);
    RecordMemory* m = nullptr;
    if (place.pos == PartnerPlace::kNotMet) {
        c.metMask |= std::uint64_t{1} << (partner & 63);
        m = &newPartnerMemory(ix, cell, place.k, partner);
        ++c.partnersMet;
    } else {
        m = &ix.withPartner[place.pos];
    }
    addRecord(*m, role, fired, movA, movB);
    addRecord(ix.anyPartner[cell], role, fired, movA, movB);
    // After the newest partner comes a partner not met yet while a cell's first round goes on,
    // and the first one again in the rounds after it.
    c.nextPartner = static_cast<std::int16_t>(place.k + 1);
    c.newestPartner = partner;
    c.indexed = static_cast<std::int16_t>(slot);
}

inline void addToIndex(RecordIndex& ix, int cell, int slot, std::int32_t record, std::uint8_t movA,
                       std::uint8_t movB) {
    addToIndexAt(ix, cell, slot, record, movA, movB,
                 partnerPlace(ix, cell, moveRecord::partner(record)));
}

// Re-sizes the index when the world's shape changed and rebuilds the cell's entries from its
// records 1..slot.
void reindexCell(const World& w, const GenerationReport& r, RecordIndex& ix, int cell, int slot);

// Adds the record just written at the cell's slot. A cell whose records were written by other
// hands first has its index rebuilt from them, so the index always follows the records.
inline void indexRecord(const World& w, const GenerationReport& r, RecordIndex& ix, int cell,
                        int slot) {
    if (indexFitsWorld(w, r, ix) && ix.headers[cell].indexed == slot - 1)
        addToIndex(ix, cell, slot, r.jugadas(cell, slot), r.movA(cell, slot), r.movB(cell, slot));
    else
        reindexCell(w, r, ix, cell, slot);
}

// The cell's index as it stands, for the live rounds of a generation: the cycle re-made the index
// for them and only their encounters write records, so it holds every cell's records.
inline CellIndex liveCellIndex(const RecordIndex& ix, int cell) {
    return {&ix, cell};
}

// The cell's index when there is one and it holds exactly the cell's records; empty otherwise,
// and the searches then read the records one by one.
inline CellIndex cellIndex(const World& w, const GenerationReport& r, const RecordIndex* ix,
                           int cell) {
    if (ix == nullptr || !indexFitsWorld(w, r, *ix)) return {};
    if (ix->headers[cell].indexed != r.jugadas(cell, 0)) return {};
    return liveCellIndex(*ix, cell);
}

}  // namespace morvane
