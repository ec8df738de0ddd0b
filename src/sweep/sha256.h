#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The SHA-256 digest of `bytes` in lower-case hexadecimal.
std::string sha256Hex(std::string_view bytes);

// The digest of a file's bytes, or nothing when it cannot be read.
std::optional<std::string> fileSha256Hex(const std::string& path);

}  // namespace morvane
