#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The lines of a text, without their line ends.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    for (std::string l; std::getline(ss, l);) out.push_back(l);
    return out;
}

// A test with a fresh folder of its own, removed afterwards.
class FolderTest : public ::testing::Test {
  protected:
    explicit FolderTest(std::string prefix) : prefix_(std::move(prefix)) {}
    void SetUp() override { dir_ = freshTestFolder(prefix_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& file) { return readBytes(file); }

    // Every name in a folder of the test's: a temporary file left behind shows up here.
    std::set<std::string> names(const std::string& folder = "") const {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(dir_ / folder))
            out.insert(e.path().filename().string());
        return out;
    }

    std::filesystem::path dir_;

  private:
    std::string prefix_;
};

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
