#pragma once

#include <string>
#include <string_view>

#include "core/world.h"
#include "io/line_reader.h"

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

// The text of a scenario: size, pay-offs, thresholds, neighbourhood, options, the view word
// computed from the menus, the live genome of every cell, then the limits and the strategy list.
// Lines end with CR LF.
std::string scenarioText(const World& w);

// Reads a scenario into a copy of w and takes the copy over only when the whole text was read, so
// everything the file does not hold (PasoCoop, the limits' bounds, the pay-offs to restore, ...)
// keeps its value and a refused file leaves w as it was.
LoadResult readScenarioText(World& w, std::string_view text);

// Writes the scenario beside the target and renames it over the target only once every byte is
// written, so a failed save leaves the previous file as it was. Refuses a world whose file would
// not load back.
SaveResult GuardarEscenario(const World& w, const std::string& path);

LoadResult CargarEscenario(World& w, const std::string& path);

}  // namespace morvane
