// The progress file tests' fixture, shared by the cases every system runs and those that fork
// copies of the game (progress_file_processes_test.cpp).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "assets/assets.h"
#include "support/file_bytes.h"
#include "support/own_folder_test.h"
#include "support/scripted_platform.h"

namespace progress_test {

namespace fs = std::filesystem;

// Every test works in a folder of its own, as the game works in its own.
class ProgressFileTest : public support::OwnFolderTest {
protected:
    static void writeFile(const std::string& content) {
        std::ofstream("Data.dat", std::ios::binary) << content;
    }
    static std::string fileContent() { return support::fileBytes("Data.dat"); }
    // Opens the file as the game does before it starts, then loads it.
    static void startGame() {
        openProgressFile();
        loadProgress();
    }
    static int boxesShown() { return static_cast<int>(scripted::script().boxes.size()); }
};

} // namespace progress_test
