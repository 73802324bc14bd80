// The progress file tests' fixture, shared by the cases every system runs and those that fork
// copies of the game (progress_file_processes_test.cpp).
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "assets/assets.h"
#include "support/scripted_platform.h"

namespace progress_test {

namespace fs = std::filesystem;

// Every test works in a folder of its own, as the game works in its own.
class ProgressFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tolvar-progress-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        previous = fs::current_path();
        fs::current_path(folder);
        fs::create_directory("Data"); // where the game looks for its pictures and tracks
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        // Windows refuses to remove a read-only file: the player's marks go first.
        std::error_code ignored;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ignored)) {
            if (!entry.is_symlink()) {
                fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add,
                                ignored);
            }
        }
        fs::remove_all(folder);
    }

    static void writeFile(const std::string& content) {
        std::ofstream("Data.dat", std::ios::binary) << content;
    }
    static std::string fileContent() {
        std::ifstream in("Data.dat", std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    // Opens the file as the game does before it starts, then loads it.
    static void startGame() {
        openProgressFile();
        loadProgress();
    }
    static int boxesShown() { return static_cast<int>(scripted::script().boxes.size()); }

    fs::path folder;
    fs::path previous;
};

} // namespace progress_test
