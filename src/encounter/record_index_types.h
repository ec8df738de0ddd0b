#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane {

// The records of one sequence (all of a cell's, or those with one partner). A search
// counts at most 15 records newest first, or else all of them. Three rings (those of each
// role, and every record) hold the running sums of MovA (low half) and MovB (high half)
// after the k-th record at k mod 16: the newest m <= 15 records sum to the difference of
// two entries, and all of them to the newest entry. Each ring fills one cache line.
struct alignas(64) RecordMemory {
    // [0] records in role 0, [1] in role 1, [2] every record: ring r - 1 serves the role
    // mask r of a search.
    std::array<std::array<std::uint32_t, 16>, 3> rings{};
    // Indexed like the rings: [0] role 0, [1] role 1, [2] every record. A count of 0
    // goes with a "fired" of 0.
    std::array<std::uint8_t, 3> counts{};  // records
    std::array<std::uint8_t, 3> fired{};   // the newest record fired
    std::uint8_t newestRole = 0;           // the newest record's role
    std::int16_t owner = 0, partner = 0;   // whose records, with whom (0: anybody)
};

// What the history searches and trigger look-ups read of the generation's move records, kept
// in step with the records as the encounters commit them and cleared with the accumulators:
// per cell, and per cell and partner met, the newest records and the sums of all of them, so
// that a search reads one or two adjacent lines instead of the record list.
struct RecordIndex {
    struct Header {
        std::int16_t indexed = 0;        // slots 1..indexed are indexed
        std::int16_t partnersMet = 0;    // distinct partners met
        std::int16_t nextPartner = 0;    // the partner entry expected next
        std::int16_t newestPartner = 0;  // the newest record's partner
        std::uint64_t metMask = 0;       // bit p mod 64 set for every partner p met
    };
    std::size_t slotsPerCell = 0;  // MovPosibles + 1 when sized
    std::size_t block = 0;         // partner memories set aside per cell: the neighbourhood's count
    std::size_t cellCount = 0;     // cells, 0 among them
    std::vector<Header> headers;   // [cell]
    std::vector<RecordMemory> anyPartner;  // [cell]
    std::vector<std::int16_t> partners;    // [cell][k]: the k-th partner met, k < MovPosibles
    // [k][cell] for the first `block` partners of each cell, then those of cells that met
    // more, in order of first meeting. A round meets every cell's partners in the same order and
    // walks the cells in turn, so the memories read one after the other lie side by side, a few
    // to a page, rather than a cell's whole block apart.
    std::vector<RecordMemory> withPartner;
    // Where the cell's memory of its k-th partner lies, k < block.
    std::size_t blockAt(int cell, int k) const {
        return static_cast<std::size_t>(k) * cellCount + static_cast<std::size_t>(cell);
    }
};

}  // namespace morvane
