#pragma once

#include <string>
#include <string_view>

#include "io/scenario_file.h"
#include "io/strategy_sections.h"

namespace morvane {

// What a strategy file (".est") carries: the limits, the list (slots 2..20, names and distribution
// words included). Slots 0, 1 and 21 are not in a file; a file read into this keeps them as given.
struct StrategyFileContents {
    morvane::Rangos limits;
    StrategyList list{};
};

// The text of a strategy file: the "[Rangos]" and "[Estrategias]" sections exactly as they end a
// scenario, so either file gives the other its strategies.
std::string strategyFileText(const Rangos& limits, const StrategyList& list);

// Writes a strategy file through the one writer: the old file stays whole when the write fails.
SaveResult saveStrategyFile(const std::string& path, const Rangos& limits,
                            const StrategyList& list);

// Reads the strategy sections into `into`, strictly (another header than "[Estrategias]", or a
// named block after an unnamed one, is an error on its line). A strategy file is read from its
// first line; a scenario from the line before its "[Rangos]" header, the world before it unread.
// Line numbers are the file's. On an error `into` may be half written: read into a copy.
LoadResult readStrategyText(std::string_view text, bool scenario, StrategyFileContents& into);

// Reads a ".est" file, or the strategy sections of any other file (a scenario), into `into`.
LoadResult loadStrategyFile(const std::string& path, StrategyFileContents& into);

}  // namespace morvane
