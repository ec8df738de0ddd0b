#include "io/atomic_writer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "io/interrupt_policy.h"
#include "io/temp_file_table.h"

namespace morvane {

namespace {

constexpr int kMaxLinkHops = 40;
// The temporary file's name is the target's behind a dot and before six random characters; a long
// name is cut so the result stays within the 255 bytes a name may have.
constexpr std::size_t kTempNameKeep = 200;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they name; a dangling link resolves to the file it would make.
bool resolve(const std::string& target, ResolvedTarget* out, std::string* why) {
    if (target.empty()) {
        *why = "the file name is empty";
        return false;
    }
    std::string path = target;
    for (int hop = 0;; ++hop) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        if (hop == kMaxLinkHops) {
            *why = std::strerror(ELOOP);
            return false;
        }
        char link[PATH_MAX];
        const ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
        if (n < 0) {
            *why = std::strerror(errno);
            return false;
        }
        const std::string next(link, static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : folderOf(path) + "/" + next;
    }
    const std::string name = nameOf(path);
    if (name.empty() || name == "." || name == "..") {
        *why = "it is a folder";
        return false;
    }
    *out = {path, folderOf(path), name};
    return true;
}

std::string identityOf(const ResolvedTarget& where, std::string* why) {
    char real[PATH_MAX];
    if (!realpath(where.folder.c_str(), real)) {
        *why = errno == ENOENT ? "the folder " + where.folder + " does not exist"
                               : "the folder " + where.folder + ": " + std::strerror(errno);
        return {};
    }
    return std::string(real) + "/" + where.name;
}

mode_t currentUmask() {
    static const mode_t mask = [] {
        const mode_t m = umask(0);
        umask(m);
        return m;
    }();
    return mask;
}

// A replaced file keeps its permissions; a new one gets what an ordinary create would give it.
mode_t modeFor(const ResolvedTarget& where) {
    struct stat st {};
    if (stat(where.path.c_str(), &st) == 0) return st.st_mode & 07777;
    return 0666 & ~currentUmask();
}

// A write beyond the file size limit must fail with EFBIG, not end the process with the temporary
// file still there.
void ignoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current {};
        if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            signal(SIGXFSZ, SIG_IGN);
    });
}

std::string cannotWrite(const std::string& target, const std::string& why) {
    return (target.empty() ? "cannot write: " : "cannot write " + target + ": ") + why;
}

}  // namespace

WriteOutcome checkOutputTarget(const std::string& target, std::string* identity) {
    ResolvedTarget where;
    std::string why;
    if (!resolve(target, &where, &why)) return {false, cannotWrite(target, why)};
    *identity = identityOf(where, &why);
    if (identity->empty()) return {false, cannotWrite(target, why)};
    struct stat st {};
    if (stat(where.folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {false, cannotWrite(target, where.folder + " is not a folder")};
    if (stat(where.path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return {false, cannotWrite(target, S_ISDIR(st.st_mode) ? "it is a folder"
                                                               : "it is not a regular file")};
    if (access(where.folder.c_str(), W_OK | X_OK) != 0) {
        return {false, cannotWrite(target, "the folder " + where.folder +
                                               " cannot be written: " + std::strerror(errno))};
    }
    return {};
}

WriteOutcome OutputBatch::open(const std::string& target, Id* id) {
    ignoreFileSizeSignal();
    Output out;
    out.target = target;
    std::string why;
    if (!resolve(target, &out.where, &why)) return {false, cannotWrite(target, why)};
    out.identity = identityOf(out.where, &why);
    if (out.identity.empty()) return {false, cannotWrite(target, why)};
    for (const Output& other : outputs_) {
        if (other.identity == out.identity)
            return {false, cannotWrite(target, "another output of the run names the same file")};
    }
    const mode_t mode = modeFor(out.where);
    std::string temp =
        out.where.folder + "/." + out.where.name.substr(0, kTempNameKeep) + ".XXXXXX";
    {
        // Between its creation and its entry in the table an interrupt would leave it behind:
        // this thread holds interrupts back, and a handler on another thread waits for it.
        ScopedSignalHold hold;
        if (!temp_files::beginCreate())
            return {false, cannotWrite(target, "the program is ending")};
        struct CreationEnd {
            ~CreationEnd() { temp_files::endCreate(); }
        } creationEnd;
        out.fd = mkostemp(temp.data(), O_CLOEXEC);
        if (out.fd < 0) return {false, cannotWrite(target, std::strerror(errno))};
        if (!temp_files::add(temp.c_str())) {
            ::close(out.fd);
            unlink(temp.c_str());
            return {false, cannotWrite(target, "too many files are being written at once")};
        }
    }
    out.temp = temp;
    outputs_.push_back(std::move(out));
    if (fchmod(outputs_.back().fd, mode) != 0) return fail(outputs_.back(), errno);
    *id = outputs_.size() - 1;
    return {};
}

WriteOutcome OutputBatch::append(Id id, std::string_view bytes) {
    Output& out = outputs_.at(id);
    if (out.failed) return {false, cannotWrite(out.target, "an earlier write failed")};
    while (!bytes.empty()) {
        const ssize_t n = ::write(out.fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(out, n < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

WriteOutcome OutputBatch::stage(const std::string& target, std::string_view bytes) {
    Id id = 0;
    if (auto opened = open(target, &id); !opened.ok) return opened;
    return append(id, bytes);
}

WriteOutcome OutputBatch::fail(Output& out, int error) {
    if (out.fd >= 0) ::close(out.fd);
    out.fd = -1;
    if (!out.temp.empty()) {
        unlink(out.temp.c_str());
        temp_files::forget(out.temp.c_str());
        out.temp.clear();
    }
    out.failed = true;
    return {false, cannotWrite(out.target, std::strerror(error))};
}

// The bytes reach the disk before the name does, so a crash leaves the old file or the new one.
WriteOutcome OutputBatch::finish(Output& out) {
    if (out.failed) return {false, cannotWrite(out.target, "an earlier write failed")};
    if (out.fd < 0) return {};
    if (fsync(out.fd) != 0) return fail(out, errno);
    const int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) return fail(out, errno);
    return {};
}

WriteOutcome OutputBatch::commit() {
    for (Output& out : outputs_) {
        if (auto done = finish(out); !done.ok) {
            discard();
            return done;
        }
    }
    return renameAll();
}

WriteOutcome OutputBatch::renameAll() {
    std::vector<std::string> folders, replaced;
    WriteOutcome outcome;
    {
        ScopedSignalHold hold;
        for (Output& out : outputs_) {
            if (std::rename(out.temp.c_str(), out.where.path.c_str()) != 0) {
                outcome = {false, "cannot replace " + out.target + ": " + std::strerror(errno)};
                break;
            }
            temp_files::forget(out.temp.c_str());
            out.temp.clear();
            replaced.push_back(out.target);
            if (std::find(folders.begin(), folders.end(), out.where.folder) == folders.end())
                folders.push_back(out.where.folder);
        }
    }
    if (!outcome.ok) {
        discard();
        std::string list;
        for (const auto& name : replaced) list += (list.empty() ? "" : ", ") + name;
        outcome.reason +=
            replaced.empty() ? " (no file was replaced)" : " (already replaced: " + list + ")";
    }
    // The renames themselves reach the disk only with their folders.
    for (const auto& folder : folders) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || (fsync(fd) != 0 && errno != EINVAL)) {
            if (outcome.ok)
                outcome = {false,
                           "cannot flush the folder " + folder + ": " + std::strerror(errno)};
        }
        if (fd >= 0) ::close(fd);
    }
    outputs_.clear();
    return outcome;
}

void OutputBatch::discard() {
    for (Output& out : outputs_) {
        if (out.fd >= 0) ::close(out.fd);
        if (!out.temp.empty()) {
            unlink(out.temp.c_str());
            temp_files::forget(out.temp.c_str());
        }
    }
    outputs_.clear();
}

WriteOutcome writeFileAtomically(const std::string& target, std::string_view bytes) {
    OutputBatch batch;
    if (auto staged = batch.stage(target, bytes); !staged.ok) return staged;
    return batch.commit();
}

WriteOutcome writeAll(int fd, std::string_view bytes, const std::string& name) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {false, cannotWrite(name, std::strerror(n < 0 ? errno : EIO))};
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

}  // namespace morvane
