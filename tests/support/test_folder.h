#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
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

}  // namespace morvane::testing
