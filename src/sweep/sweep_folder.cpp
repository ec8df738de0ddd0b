#include "sweep/sweep_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/version.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

const char* const kSweepFile = "sweep.toml";

std::optional<std::string> readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// What a sweep's own commands put in its folder before sweep.toml may be there: another shard's
// files, the Slurm files and the temporary files of the writer.
bool madeBySweep(const std::string& name) {
    static const char* const kOwn[] = {"runs",         "manifest",     "logs",
                                       "sweep.sbatch", "merge.sbatch", "submit.sh"};
    for (const char* own : kOwn)
        if (name == own) return true;
    return name.rfind(".", 0) == 0;
}

SweepOutcome compareWith(const fs::path& file, const std::string& resolved,
                         const std::string& folder) {
    const auto there = readWhole(file);
    if (!there) return {2, "cannot read " + file.string()};
    if (*there == resolved) return {};
    return {2, folder +
                   " holds another sweep: its sweep.toml differs from this one (a changed sweep "
                   "file or base scenario); use a new folder"};
}

// The first to arrive writes sweep.toml; a link never replaces a name, so shards that start
// together agree on one file and compare theirs with it.
SweepOutcome publishSweepFile(const std::string& folder, const std::string& resolved) {
    const fs::path target = fs::path(folder) / kSweepFile;
    // A name of this process's own, on whichever node it runs.
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string own =
        (fs::path(folder) / (".sweep.toml." + std::string(host) + "." + std::to_string(getpid())))
            .string();
    if (auto written = writeFileAtomically(own, resolved); !written.ok) return {1, written.reason};
    const int linked = link(own.c_str(), target.c_str());
    const int error = errno;
    unlink(own.c_str());
    if (linked != 0 && error != EEXIST)
        return {1, "cannot write " + target.string() + ": " + std::strerror(error)};
    if (linked != 0) return compareWith(target, resolved, folder);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
    return {};
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

SweepOutcome claimSweepFolder(const std::string& folder, const std::string& resolved,
                              FolderClaim claim) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return {2, "cannot make the folder " + folder + ": " + ec.message()};
    if (!fs::is_directory(folder)) return {2, folder + " is not a folder"};
    bool empty = true, onlyOwn = true;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        empty = false;
        onlyOwn = onlyOwn && madeBySweep(entry.path().filename().string());
    }
    if (ec) return {2, "cannot read the folder " + folder + ": " + ec.message()};
    const fs::path sweepFile = fs::path(folder) / kSweepFile;
    const bool hasSweep = fs::exists(sweepFile);
    SweepOutcome outcome;
    if (claim == FolderClaim::kFresh && !empty) {
        return {2, folder +
                       " is not empty: give --resume to complete the sweep it holds, or "
                       "name a new folder"};
    }
    if (hasSweep) {
        outcome = compareWith(sweepFile, resolved, folder);
    } else if (empty || (claim == FolderClaim::kShare && onlyOwn)) {
        outcome = publishSweepFile(folder, resolved);
    } else {
        return {2, folder + " is not empty and holds no sweep.toml: name a new folder"};
    }
    if (outcome.exitCode != 0) return outcome;
    for (const char* sub : {"runs", "manifest"}) {
        fs::create_directories(fs::path(folder) / sub, ec);
        if (ec) return {1, "cannot make the folder " + folder + "/" + sub + ": " + ec.message()};
    }
    return {};
}

std::unordered_set<std::string> filesInRuns(const std::string& folder) {
    std::unordered_set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "runs", ec))
        names.insert("runs/" + entry.path().filename().string());
    return names;
}

bool runFinished(const std::unordered_set<std::string>& files, const RunId& run) {
    return files.count(rowsFileOf(run)) && files.count(summaryFileOf(run));
}

void removeLeftovers(const std::string& folder, const SweepPlan& plan, const Shard& shard) {
    std::error_code ec;
    const auto isTempOf = [](const std::string& name, const std::string& target) {
        // The writer names a temporary file "." + the target's name + "." + six characters.
        return name.size() == target.size() + 8 && name[0] == '.' &&
               name.compare(1, target.size(), target) == 0 && name[target.size() + 1] == '.';
    };
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "runs", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, 7, ".point-") != 0) continue;
        int point = 0, repetition = 0;
        if (std::sscanf(name.c_str(), ".point-%d-rep-%d", &point, &repetition) != 2) continue;
        const RunId run{point, repetition,
                        static_cast<std::int64_t>(point) * plan.repetitions + repetition};
        if (!shard.holds(run.index)) continue;
        for (const std::string& file : {rowsFileOf(run), summaryFileOf(run)}) {
            if (isTempOf(name, file.substr(5))) fs::remove(entry.path(), ec);
        }
    }
    if (shard.count != 1) return;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        for (const char* table : {"results.csv", "summary.csv"})
            if (isTempOf(name, table)) fs::remove(entry.path(), ec);
    }
}

Manifest::Manifest(std::string folder, const Shard& shard)
    : path_(folder + "/manifest/shard-" + std::to_string(shard.index) + ".json"),
      shard_(std::to_string(shard.index) + "/" + std::to_string(shard.count)),
      start_(utcNow()) {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    host_ = host;
}

void Manifest::finished(const RunId& run, std::uint64_t seed, double seconds) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "{\"run\": %lld, \"point\": %d, \"repetition\": %d, \"seed\": %llu, "
                  "\"seconds\": %.3f, \"finished\": \"%s\"}",
                  static_cast<long long>(run.index), run.point, run.repetition,
                  static_cast<unsigned long long>(seed), seconds, utcNow().c_str());
    lines_.push_back(line);
}

WriteOutcome Manifest::write(bool ended) {
    std::string t = "{\n";
    t += "  \"version\": " + jsonString(morvaneVersion()) + ",\n";
    t += "  \"revision\": " + jsonString(morvaneRevision()) + ",\n";
    t += "  \"host\": " + jsonString(host_) + ",\n";
    t += "  \"shard\": " + jsonString(shard_) + ",\n";
    t += "  \"start\": " + jsonString(start_) + ",\n";
    t += "  \"end\": " + (ended ? jsonString(utcNow()) : std::string("null")) + ",\n";
    t += "  \"runs\": [";
    for (std::size_t i = 0; i < lines_.size(); ++i)
        t += std::string(i ? ",\n" : "\n") + "    " + lines_[i];
    t += lines_.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return writeFileAtomically(path_, t);
}

}  // namespace morvane
