// A whole run of the game in a folder of its own (OwnFolderTest), its Data.dat holding 1 as a
// first start leaves it; the run opens it there, as the program's start does.
#pragma once

#include <fstream>

#include "assets/assets.h"
#include "support/own_folder_test.h"

namespace support {

class OwnGameFolderTest : public OwnFolderTest {
protected:
    void SetUp() override {
        OwnFolderTest::SetUp();
        std::ofstream("Data.dat") << "1";
        failedSaveShown = false;
    }
    void TearDown() override {
        ProgressFile.file.close(); // Windows keeps a folder that holds an open file
        OwnFolderTest::TearDown();
    }
};

} // namespace support
