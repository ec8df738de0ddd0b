#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "io/line_reader.h"
#include "state/world.h"

namespace morvane {

struct SaveResult {
    bool ok = true;
    std::string reason;  // why the file was not written
};

struct LoadResult {
    bool ok = true;
    int line = 0;  // 1-based line of the fault; 0 when the file could not be opened
    std::string reason;
};

// What the reader accepts. The largest world's file is about 2 MB and a name is one short line;
// anything far beyond is not a scenario and is not read into memory. A save applies the same
// limits, so what is saved loads back.
struct ReadLimits {
    std::size_t maxBytes = std::size_t{64} << 20;
    std::size_t maxNameLength = kMaxStrategyNameLength;
};

// The text of a scenario: size, pay-offs, thresholds, neighbourhood, options, the view word
// computed from the menus, the live genome of every cell, then the limits and the strategy list.
// Lines end with CR LF.
std::string scenarioText(const World& w);

// Reads a scenario into a copy of w and takes the copy over only when the whole text was read, so
// everything the file does not hold (PasoCoop, the limits' bounds, the pay-offs to restore, ...)
// keeps its value and a refused file leaves w as it was. A UTF-8 byte-order mark at the start is
// skipped; lines end with CR LF, LF or CR alone.
LoadResult readScenarioText(World& w, std::string_view text, const ReadLimits& limits = {});

// The text GuardarEscenario would write, read back under the reader's limits first: a world
// whose file would not load back is refused with the reason.
SaveResult storableScenarioText(const World& w, std::string* text, const ReadLimits& limits = {});

// Writes the scenario through the one writer (a temporary file beside the target, renamed over
// it once every byte is on the disk), so a failed save leaves the previous file as it was.
SaveResult GuardarEscenario(const World& w, const std::string& path, const ReadLimits& limits = {});

// Reads only regular files, and at most limits.maxBytes of them.
LoadResult CargarEscenario(World& w, const std::string& path, const ReadLimits& limits = {});

}  // namespace morvane
