#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// What a write came to: on failure, a reason that names the file and says why
// ("cannot write out.csv: No space left on device").
struct WriteOutcome {
    bool ok = true;
    std::string reason;
};

// Where a target really lives: symbolic links followed to the file they name (which need not exist
// yet), so a link is written through and never replaced by a plain file.
struct ResolvedTarget {
    std::string path;    // the file that is replaced
    std::string folder;  // its folder, where the temporary file is made
    std::string name;    // its name in that folder
};

// Checks a target before any work starts: a name is given, its folder exists and can be written,
// and what stands at the name, if anything, is a regular file. `identity` receives a spelling of
// the file that two targets share exactly when they are the same file.
WriteOutcome checkOutputTarget(const std::string& target, std::string* identity);

// The outputs of one run. Each is written whole into a unique temporary file beside its resolved
// target, flushed to the disk and closed; commit then renames them all over their targets with
// SIGINT, SIGTERM and SIGHUP held back and flushes each folder, so the outputs are either all new
// or all as they were. A failure before the first rename leaves every target as it was; the
// temporary files are removed on every failure, by the destructor, and by the interrupt policy.
class OutputBatch {
  public:
    using Id = std::size_t;

    OutputBatch() = default;
    OutputBatch(const OutputBatch&) = delete;
    OutputBatch& operator=(const OutputBatch&) = delete;
    ~OutputBatch() { discard(); }

    // Starts an output to be written in pieces. Two outputs of a batch may not name one file.
    WriteOutcome open(const std::string& target, Id* id);
    WriteOutcome append(Id id, std::string_view bytes);
    // An output whose bytes are all known.
    WriteOutcome stage(const std::string& target, std::string_view bytes);
    WriteOutcome commit();
    // Removes every temporary file; the targets stay as they were.
    void discard();

  private:
    struct Output {
        std::string target;  // as the user named it, for messages
        ResolvedTarget where;
        std::string identity;
        std::string temp;
        int fd = -1;
        bool failed = false;
    };

    WriteOutcome fail(Output& out, int error);
    WriteOutcome finish(Output& out);
    WriteOutcome renameAll();

    std::vector<Output> outputs_;
};

// A batch of one.
WriteOutcome writeFileAtomically(const std::string& target, std::string_view bytes);

// Writes every byte to an open descriptor (standard output, say), retrying short writes.
WriteOutcome writeAll(int fd, std::string_view bytes, const std::string& name);

}  // namespace morvane
