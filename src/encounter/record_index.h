#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// Makes the memory of a partner met for the first time hold that encounter's record: what clearing
// it and adding the record would leave, written without reading it back. Every partner a cell
// meets in a generation starts one. The memory may hold one of the generation before.
inline void startMemory(RecordMemory& m, int cell, int partner, int role, bool fired,
                        std::uint8_t movA, std::uint8_t movB) {
    const std::uint32_t bytePair = movA | static_cast<std::uint32_t>(movB) << 16;
    m.rings[role][0] = 0;
    m.rings[role][1] = bytePair;
    m.rings[1 - role][0] = 0;
    m.rings[2][0] = 0;
    m.rings[2][1] = bytePair;
    m.owner = static_cast<std::int16_t>(cell);
    m.partner = static_cast<std::int16_t>(partner);
    // The byte fields last: a byte store may alias anything read after it.
    const auto inRole = [&](int r) { return static_cast<std::uint8_t>(r == role ? 1 : 0); };
    const auto firedInRole = [&](int r) { return static_cast<std::uint8_t>(r == role && fired); };
    m.counts = {inRole(0), inRole(1), 1};
    m.fired = {firedInRole(0), firedInRole(1), static_cast<std::uint8_t>(fired ? 1 : 0)};
    m.newestRole = static_cast<std::uint8_t>(role);
}

// The count of ring r (counts[r]), taken from a load of the whole word the counts begin: GCC at
// times carries a count loaded as a byte through the stack, stored as a byte and read back as a
// wider word, and that read waits until the store has left for the cache (about a tenth of the
// busy worlds' time, where a search reads it).
inline int ringCount(const RecordMemory& m, int r) {
    if constexpr (std::endian::native == std::endian::little) {
        static_assert(offsetof(RecordMemory, fired) == offsetof(RecordMemory, counts) + 3);
        std::uint32_t word;
        std::memcpy(&word,
                    reinterpret_cast<const unsigned char*>(&m) + offsetof(RecordMemory, counts),
                    sizeof word);
        return static_cast<int>((word >> (8 * r)) & 0xFF);
    } else {
        return m.counts[r];
    }
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

// The cell's memory of a partner met for the first time, as its k-th.
RecordMemory& newPartnerMemory(RecordIndex& ix, int cell, int k, int partner);
// Where a memory past every cell's block lies in withPartner; the memory must exist.
std::size_t placePastBlocks(const RecordIndex& ix, int cell, int partner);

// Where a cell keeps its memory of a partner: the partner's number k among those the cell met (or
// the number it takes when met for the first time) and the memory. An address stays good while no
// memory is made past the blocks, which may move them all; two cells meet at the same encounters,
// so when one of them makes its memory of the other, the other has none to keep either.
struct PartnerPlace {
    int k = 0;
    const RecordMemory* memory = nullptr;  // null: not met yet
};

// A cell meets its partners in the same order round after round, so the entry after the last one
// used is nearly always the one asked for.
inline PartnerPlace partnerPlace(const RecordIndex& ix, int cell, int partner) {
    const RecordIndex::Header& c = ix.headers[cell];
    int k = c.nextPartner == c.partnersMet ? 0 : c.nextPartner;
    if (k < c.partnersMet && static_cast<std::size_t>(k) < ix.block &&
        ix.withPartner[ix.blockAt(cell, k)].partner == partner)
        return {k, &ix.withPartner[ix.blockAt(cell, k)]};
    if ((c.metMask >> (partner & 63) & 1) == 0) return {c.partnersMet, nullptr};
    const std::int16_t* partners = ix.partners.data() + cell * ix.slotsPerCell;
    for (k = 0; k < c.partnersMet; ++k) {
        if (partners[k] != partner) continue;
        if (static_cast<std::size_t>(k) < ix.block)
            return {k, &ix.withPartner[ix.blockAt(cell, k)]};
        return {k, &ix.withPartner[placePastBlocks(ix, cell, partner)]};
    }
    return {c.partnersMet, nullptr};
}

// Adds a record to the cell's index: the cell's encounter with `partnerCell` in role `role`,
// whether its trigger fired, and the record's two bytes, its partner's memory found at `place`; the
// cell's slots before it are already indexed. The fields as the caller has them, rather than
// unpacked again from the record word it has just made.
inline void addToIndex(RecordIndex& ix, int cell, int slot, int partnerCell, int role, bool fired,
                       std::uint8_t movA, std::uint8_t movB, PartnerPlace place) {
    RecordIndex::Header& c = ix.headers[cell];
    const auto partner = static_cast<std::int16_t>(partnerCell);
    if (place.memory != nullptr) {
        // The memory is the index's own, found through a read-only view.
        addRecord(const_cast<RecordMemory&>(*place.memory), role, fired, movA, movB);
    } else if (static_cast<std::size_t>(place.k) < ix.block) {
        ix.partners[cell * ix.slotsPerCell + place.k] = partner;
        startMemory(ix.withPartner[ix.blockAt(cell, place.k)], cell, partner, role, fired, movA,
                    movB);
    } else {
        addRecord(newPartnerMemory(ix, cell, place.k, partner), role, fired, movA, movB);
    }
    if (place.memory == nullptr) {
        c.metMask |= std::uint64_t{1} << (partner & 63);
        ++c.partnersMet;
    }
    addRecord(ix.anyPartner[cell], role, fired, movA, movB);
    // After the newest partner comes a partner not met yet while a cell's first round goes on,
    // and the first one again in the rounds after it.
    c.nextPartner = static_cast<std::int16_t>(place.k + 1);
    c.newestPartner = partner;
    c.indexed = static_cast<std::int16_t>(slot);
}

}  // namespace morvane
