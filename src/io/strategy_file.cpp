#include "io/strategy_file.h"

#include <algorithm>
#include <cctype>

#include "io/atomic_writer.h"
#include "io/bounded_read.h"

namespace morvane {

namespace {

// A strategy file is about 7 kB; a scenario's sections come after its cells.
constexpr std::size_t kMaxStrategyFileBytes = std::size_t{64} << 20;

bool endsWith(const std::string& path, std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = path[path.size() - suffix.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != suffix[i]) return false;
    }
    return true;
}

// The number of lines before the empty line that precedes "[Rangos]", or -1 when no line is
// "[Rangos]" (the world's lines before it are numbers, never that header).
int linesBeforeSections(std::string_view text) {
    LineReader scan(text);
    int index = 0;
    while (scan.peek()) {
        const auto line = scan.text("a line");
        ++index;
        if (line && *line == "[Rangos]") return std::max(0, index - 2);
    }
    return -1;
}

}  // namespace

std::string strategyFileText(const Rangos& limits, const StrategyList& list) {
    std::string text;
    writeStrategySections(text, limits, list);
    return text;
}

SaveResult saveStrategyFile(const std::string& path, const Rangos& limits,
                            const StrategyList& list) {
    const std::string text = strategyFileText(limits, list);
    // What "Open" would refuse is not written: a list with a hole, a name over the cap.
    StrategyFileContents back;
    if (const LoadResult read = readStrategyText(text, false, back); !read.ok) {
        return {false, "the strategies cannot be stored: line " + std::to_string(read.line) +
                           " would read back as an error: " + read.reason};
    }
    const WriteOutcome written = writeFileAtomically(path, text);
    return {written.ok, written.reason};
}

LoadResult readStrategyText(std::string_view text, bool scenario, StrategyFileContents& into) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    if (auto bad = checkTextFile(text)) return {false, bad->line, bad->reason};
    LineReader in(text);
    if (scenario) {
        const int skip = linesBeforeSections(text);
        if (skip < 0) return {false, 0, "the file holds no [Rangos] section"};
        for (int k = 0; k < skip; ++k) in.text("the world's lines");
    }
    readStrategySections(in, into.limits, into.list, kMaxStrategyNameLength,
                         StrategyReading::StrategyFile);
    if (!in.ok()) return {false, in.error()->line, in.error()->reason};
    return {};
}

LoadResult loadStrategyFile(const std::string& path, StrategyFileContents& into) {
    std::string text;
    if (auto refused = readRegularFile(path, kMaxStrategyFileBytes, &text))
        return {false, 0, "cannot open " + path + ": " + *refused};
    return readStrategyText(text, !endsWith(path, ".est"), into);
}

}  // namespace morvane
