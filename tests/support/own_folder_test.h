// A test that runs in a folder of its own, as the game runs in its own: made empty under the
// system's temporary folder, holding the Data/ folder the game looks for, the working folder while
// the test runs, and removed after it with whatever the test left there.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace support {

class OwnFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("tolvar-" + std::string(test->test_suite_name()) + "-" +
                  std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        std::filesystem::create_directory(
            "Data"); // where the game looks for its pictures and tracks
    }
    void TearDown() override {
        namespace fs = std::filesystem;
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

    std::filesystem::path folder;
    std::filesystem::path previous; // the working folder the test was started in
};

} // namespace support
