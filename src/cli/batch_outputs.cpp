#include "cli/batch_outputs.h"

#include <unistd.h>

#include "cli/board_image.h"
#include "io/scenario_file.h"
#include "io/statistics_csv.h"

namespace morvane {

namespace {

constexpr const char* kStandardOutput = "-";

bool csvToFile(const BatchOptions& opts) {
    return opts.csvPath && *opts.csvPath != kStandardOutput;
}

}  // namespace

std::optional<std::string> checkBatchOutputs(const BatchOptions& opts) {
    struct Named {
        const char* option;
        const std::optional<std::string>& path;
    };
    const Named outputs[] = {
        {"--csv", opts.csvPath}, {"--save", opts.savePath}, {"--png", opts.pngPath}};
    std::vector<std::pair<const char*, std::string>> seen;
    for (const auto& [option, path] : outputs) {
        if (!path || (path == opts.csvPath && *path == kStandardOutput)) continue;
        if (path->empty()) return std::string(option) + ": the file name is empty";
        std::string identity;
        if (const WriteOutcome checked = checkOutputTarget(*path, &identity); !checked.ok)
            return std::string(option) + ": " + checked.reason;
        for (const auto& [earlier, file] : seen) {
            if (file == identity) {
                return std::string(option) + " and " + earlier + " name the same file " + *path +
                       ": each output needs its own";
            }
        }
        seen.emplace_back(option, identity);
    }
    return std::nullopt;
}

BatchOutputs::BatchOutputs(const BatchOptions& opts, std::vector<int> slots)
    : opts_(opts), slots_(std::move(slots)) {}

WriteOutcome BatchOutputs::writeCsv(const std::string& text) {
    if (!opts_.csvPath) return {};
    if (!csvToFile(opts_)) return writeAll(STDOUT_FILENO, text, "the CSV to standard output");
    return batch_.append(csv_, text);
}

WriteOutcome BatchOutputs::begin(const World& w) {
    if (csvToFile(opts_)) {
        if (auto opened = batch_.open(*opts_.csvPath, &csv_); !opened.ok) return opened;
    }
    return writeCsv(csvHeader(w, slots_));
}

WriteOutcome BatchOutputs::afterGeneration(const GenerationStatistics& st) {
    if (!opts_.csvPath) return {};
    return writeCsv(csvRow(st));
}

WriteOutcome BatchOutputs::finish(const World& w) {
    if (opts_.savePath) {
        std::string text;
        if (const SaveResult refused = storableScenarioText(w, &text); !refused.ok)
            return {false, "cannot save " + *opts_.savePath + ": " + refused.reason};
        if (auto staged = batch_.stage(*opts_.savePath, text); !staged.ok) return staged;
    }
    if (opts_.pngPath) {
        const std::string png = boardPng(w);
        if (png.empty())
            return {false, "cannot write " + *opts_.pngPath + ": the image could not be encoded"};
        if (auto staged = batch_.stage(*opts_.pngPath, png); !staged.ok) return staged;
    }
    return batch_.commit();
}

}  // namespace morvane
