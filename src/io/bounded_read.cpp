#include "io/bounded_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace morvane {

namespace {

constexpr std::size_t kChunk = 1 << 16;

// Closes the descriptor on every path out.
struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

}  // namespace

std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes,
                                           std::string* text) {
    // Without O_NONBLOCK opening a FIFO would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    const FileCloser closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    const std::size_t claimed = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
    std::string out;
    out.reserve(std::min(claimed, maxBytes) + 1);
    char chunk[kChunk];
    for (;;) {
        const std::size_t want = std::min(kChunk, maxBytes + 1 - out.size());
        const ssize_t n = ::read(fd, chunk, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::strerror(errno);
        if (n == 0) break;
        out.append(chunk, static_cast<std::size_t>(n));
        if (out.size() > maxBytes) return "too large for a scenario file";
    }
    *text = std::move(out);
    return std::nullopt;
}

}  // namespace morvane
