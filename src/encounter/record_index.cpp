#include "encounter/record_index.h"

#include <algorithm>

#include "world/neighbourhood.h"

namespace morvane {

namespace {

// An empty memory of the cell's records with `partner` (0: with anybody). A ring entry is read only
// once written, but for the sums before the first record: clearing those and the counts is enough.
void clearMemory(RecordMemory& m, int cell, int partner) {
    for (auto& ring : m.rings) ring[0] = 0;
    m.counts = {};
    m.fired = {};
    m.newestRole = 0;
    m.owner = static_cast<std::int16_t>(cell);
    m.partner = static_cast<std::int16_t>(partner);
}

}  // namespace

void resetRecordIndex(const World& w, const GenerationReport& r, RecordIndex& ix) {
    const std::size_t cells = static_cast<std::size_t>(w.NumJugadores) + 1;
    ix.slotsPerCell = r.slotsPerCell;
    ix.cellCount = cells;
    // Every cell meets at most the partners its neighbourhood gives it, unless a caller pairs
    // cells otherwise; those further partners go past the blocks.
    const int partners = partnerCount(w.neighbourhood.CodVecin[kPrevio]);
    ix.block = static_cast<std::size_t>(std::clamp(partners, 1, static_cast<int>(ix.slotsPerCell)));
    ix.headers.assign(cells, {});
    ix.anyPartner.resize(cells);
    for (std::size_t c = 0; c < cells; ++c) clearMemory(ix.anyPartner[c], static_cast<int>(c), 0);
    // A partner's memory is cleared when the cell first meets it, and only the first partnersMet
    // partners of a cell are read: the blocks need no clearing here.
    ix.partners.resize(cells * ix.slotsPerCell);
    ix.withPartner.resize(cells * ix.block);
}

RecordMemory& newPartnerMemory(RecordIndex& ix, int cell, int k, int partner) {
    ix.partners[cell * ix.slotsPerCell + k] = static_cast<std::int16_t>(partner);
    RecordMemory& m = static_cast<std::size_t>(k) < ix.block ? ix.withPartner[ix.blockAt(cell, k)]
                                                             : ix.withPartner.emplace_back();
    // Cleared in place: the block entry may hold a memory of the generation before.
    clearMemory(m, cell, partner);
    return m;
}

std::size_t placePastBlocks(const RecordIndex& ix, int cell, int partner) {
    const auto pastBlocks =
        ix.withPartner.begin() + static_cast<std::ptrdiff_t>(ix.headers.size() * ix.block);
    const auto it = std::find_if(pastBlocks, ix.withPartner.end(), [&](const RecordMemory& m) {
        return m.owner == cell && m.partner == partner;
    });
    return static_cast<std::size_t>(it - ix.withPartner.begin());
}

}  // namespace morvane
