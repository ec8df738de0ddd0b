#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "encounter/encounter.h"
#include "encounter/record_index_types.h"

namespace morvane {

// What only the generation itself uses, kept from one generation to the next so that its arrays
// are not allocated anew: the record index the searches read, the cards of the live genomes, and
// who dropped out today. Nothing here is shown, saved or copied with a world.
struct GenerationScratch {
    RecordIndex index;
    // Off: the searches scan the records one by one and no index is kept (the reference the index
    // is measured and checked against).
    bool useIndex = true;
    // Off: every genome half counts as reading the records, and no encounter leaves out a search
    // (the reference the shortcuts are checked against).
    bool useShortcuts = true;
    std::optional<GenerationCards> cards;
    // Non-zero once the cell's pay-off of a move fell below the survive-today threshold: it plays
    // no more in this generation. `MuertoHoy` in the design.
    std::vector<std::uint8_t> MuertoHoy;

    RecordIndex* indexInUse() { return useIndex ? &index : nullptr; }
};

}  // namespace morvane
