// The game's folder at the first start: a portable copy (the zip's, with its marker) makes its own
// Data.dat and plays; a bare one, as a build folder, says it cannot open it and ends the run.
#include "platform/game_folder.h"
#include "progress_file_fixture.h"
#include "shell/shell.h"

namespace progress_test {

namespace {

using GameFolderTest = ProgressFileTest;

TEST_F(GameFolderTest, OnlyAPortableCopyMakesItsFirstDataDatWithoutAWord) {
    struct FirstStart {
        bool portable;
        int boxes;
        bool runEnds;
    };
    for (const FirstStart start : {FirstStart{true, 0, false}, FirstStart{false, 1, true}}) {
        SCOPED_TRACE(start.portable ? "a portable copy" : "a bare copy");
        fs::remove("Data.dat");
        fs::remove(platform::PortableMarkerName);
        if (start.portable) {
            std::ofstream(platform::PortableMarkerName) << "portable\n";
        }
        scripted::script().boxes.clear();
        quitRequested = false;
        ASSERT_TRUE(findGameFolder());
        loadProgress();
        EXPECT_EQ(boxesShown(), start.boxes);
        EXPECT_EQ(quitRequested, start.runEnds);
        EXPECT_EQ(fileContent(), "1") << "either way, the next start finds Data.dat";
        EXPECT_EQ(unlockedLevel(), 1);
    }
}

} // namespace

} // namespace progress_test
