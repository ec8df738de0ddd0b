#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace morvane {

// Reads a regular file whole when it holds at most maxBytes; otherwise, or when it cannot be read,
// the reason ("it is not a regular file", "No such file or directory"). A FIFO or a device is
// refused before a byte is read, and no more than maxBytes + 1 bytes are read whatever the file's
// size claims, so neither a FIFO without a writer nor /dev/zero can hold the reader.
std::optional<std::string> readRegularFile(const std::string& path, std::size_t maxBytes,
                                           std::string* text);

}  // namespace morvane
