#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace morvane::testing {

// A fresh folder for the running test under the system's temporary folder, named by `prefix`, the
// test and the process: other checkouts may run the same tests at the same time.
inline std::filesystem::path freshTestFolder(const std::string& prefix) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + "_" + test->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A file's bytes; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void writeBytes(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Every file of a sweep's folder but the manifests (which name hosts and times), by name.
inline std::map<std::string, std::string> sweepFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(e.path(), folder).string();
        if (e.is_regular_file() && name.rfind("manifest", 0) != 0) out[name] = readBytes(e.path());
    }
    return out;
}

}  // namespace morvane::testing
