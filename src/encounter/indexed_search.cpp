// The history search and the trigger look-up on record lists: through the record index where it
// covers a list, record by record elsewhere.
#include "encounter/indexed_search.h"

namespace morvane {

namespace {

// Whether the index answers a look-up of slots 1..n of the list: live play asks for all the
// records the cell holds, player 2 under successive moves for those and the preview on top of
// them; replays of earlier moments read the records one by one.
bool indexCovers(const RecordList& l, int n) {
    if (!l.index.available()) return false;
    const int r = l.index.indexedCount();
    return (n == r && (l.previewSlot < 1 || l.previewSlot > n)) ||
           (n == r + 1 && l.previewSlot == n);
}

// The list's index as the indexed look-ups read it, with the memory of `partner`.
CellMemories memoriesOf(const RecordList& l, int n, int partner) {
    const CellIndex& ix = l.index;
    return {ix.anyPartner(), ix.withPartner(partner), ix.header().newestPartner,
            l.previewSlot == n ? &l.preview : nullptr};
}

}  // namespace

int findKnowledgeWord(const RecordList& l, int a, int n, int role, std::int16_t word) {
    if (indexCovers(l, n)) return indexedWord(memoriesOf(l, n, a), a, role, word);
    const auto found = searchRecordsOneByOne(l, a, n, role, word);
    return found ? *found : -1;
}

std::optional<std::uint16_t> searchRecords(const RecordList& l, int a, int n, int role,
                                           std::int16_t word) {
    const int found = findKnowledgeWord(l, a, n, role, word);
    if (found < 0) return std::nullopt;
    return static_cast<std::uint16_t>(found);
}

int firedInRecords(const RecordList& l, int partner, int n, int role, std::int16_t trigger) {
    if (n < 1) return 0;
    if (indexCovers(l, n)) return indexedFired(memoriesOf(l, n, partner), partner, role, trigger);
    return firedInRecordsOneByOne(l, partner, n, role, trigger);
}

}  // namespace morvane
