#include "sweep/merge.h"

#include <fstream>

namespace morvane {

namespace {

constexpr std::size_t kListedMissing = 20;
constexpr std::size_t kChunk = 1 << 20;

// Appends a run's file without its header; the first file's header heads the table. Every header
// must be the same, or the columns would not line up.
WriteOutcome appendRunFile(OutputBatch& batch, OutputBatch::Id table, const std::string& folder,
                           const std::string& file, std::string* header) {
    const std::string path = folder + "/" + file;
    std::ifstream in(path, std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first)) return {false, "cannot read " + path};
    if (header->empty()) {
        *header = first;
        if (auto written = batch.append(table, first + "\n"); !written.ok) return written;
    } else if (first != *header) {
        return {false, path + " has other columns than the runs before it"};
    }
    std::string chunk(kChunk, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        if (auto written = batch.append(table, std::string_view(chunk.data(), got)); !written.ok)
            return written;
    }
    if (in.bad()) return {false, "cannot read " + path};
    return {};
}

}  // namespace

SweepOutcome mergeRuns(const std::string& folder, const SweepPlan& plan) {
    const auto files = filesInRuns(folder);
    std::vector<RunId> missing;
    for (std::int64_t i = 0; i < plan.runCount(); ++i) {
        const RunId run = runAt(plan, i);
        if (!runFinished(files, run)) missing.push_back(run);
    }
    if (!missing.empty()) {
        std::string list;
        for (std::size_t i = 0; i < missing.size() && i < kListedMissing; ++i) {
            list += "\n  run " + std::to_string(missing[i].index) + " (point " +
                    std::to_string(missing[i].point) + ", repetition " +
                    std::to_string(missing[i].repetition) + ")";
        }
        if (missing.size() > kListedMissing)
            list += "\n  and " + std::to_string(missing.size() - kListedMissing) + " more";
        return {1, std::to_string(missing.size()) + " of " + std::to_string(plan.runCount()) +
                       " runs are missing in " + folder + "; nothing merged:" + list};
    }
    OutputBatch batch;
    OutputBatch::Id results = 0, summary = 0;
    if (auto opened = batch.open(folder + "/results.csv", &results); !opened.ok)
        return {1, opened.reason};
    if (auto opened = batch.open(folder + "/summary.csv", &summary); !opened.ok)
        return {1, opened.reason};
    std::string resultsHeader, summaryHeader;
    for (std::int64_t i = 0; i < plan.runCount(); ++i) {
        const RunId run = runAt(plan, i);
        if (auto done = appendRunFile(batch, results, folder, rowsFileOf(run), &resultsHeader);
            !done.ok)
            return {1, done.reason};
        if (auto done = appendRunFile(batch, summary, folder, summaryFileOf(run), &summaryHeader);
            !done.ok)
            return {1, done.reason};
    }
    if (auto committed = batch.commit(); !committed.ok) return {1, committed.reason};
    return {};
}

SweepOutcome mergeSweepFolder(const std::string& folder) {
    const std::string file = folder + "/sweep.toml";
    const SweepFileResult read = readSweepFile(file);
    if (!read.ok) {
        return {2, file + (read.error.line ? ":" + std::to_string(read.error.line) : "") + ": " +
                       read.error.reason};
    }
    return mergeRuns(folder, read.plan);
}

}  // namespace morvane
