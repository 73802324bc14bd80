#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/assets.h"
#include "screens/screens.h"
#include "support/scripted_platform.h"

namespace {

using scripted::script;

TEST(ChangeMusicTest, StopsReleasesLoadsAndPlaysInThatOrder) {
    musicHandle = platform::loadSong(menuTrack);
    script().calls.clear();
    changeMusic(levelTrack[1]);
    EXPECT_EQ(script().calls,
              (std::vector<std::string>{"stopSong 1", "releaseSong 1",
                                        "loadSong Data/Musat/Execute.it -> 2", "playSong 2"}));
    EXPECT_EQ(musicHandle, 2);
}

TEST(ChangeMusicTest, TheSameTrackIsLoadedAgainAndStartsFromItsBeginning) {
    changeMusic(levelTrack[3]);
    changeMusic(levelTrack[3]);
    EXPECT_EQ(scripted::countCalls("loadSong Data/Musat/67.it"), 2);
    EXPECT_EQ(script().calls.back(), "playSong 2");
}

TEST(ChangeMusicTest, AThousandChangesHoldOnlyOneSong) {
    for (int i = 0; i < 1000; ++i) {
        changeMusic(levelTrack[1 + i % 5]);
    }
    EXPECT_EQ(script().loadedSongs, (std::vector<platform::SongHandle>{musicHandle}));
}

TEST(ChangeMusicTest, AMissingTrackLeavesTheGameSilentAndTheLoopQuiet) {
    script().missingSongs = {menuTrack};
    GameState = Logo;
    // From the logo, whose hold loads the track, to the main menu at rest.
    scripted::runGameWith([](int) {
        if (GameState == MainMenu && !fadePending) {
            scripted::requestClose();
        }
    });
    EXPECT_EQ(musicHandle, 0);
    // The loop never restarts a song that has not ended.
    EXPECT_EQ(scripted::countCalls("playSong"), 1);
}

TEST(ChangeMusicTest, AFinishedSongStartsAgainRightAfterTheNextFrame) {
    GameState = MainMenu;
    fadePending = false;
    musicHandle = platform::loadSong(menuTrack); // as the logo leaves it
    // The window is exposed in every frame, so the still menu draws a frame at each pass.
    script().onPresent = [](int) { scripted::expose(); };
    scripted::runGameWith([&](int pass) {
        if (pass == 1) {
            scripted::finishSong(musicHandle);
        } else if (pass == 3) {
            scripted::requestClose();
        }
    });
    // Frames ran at passes 0, 1 and 2; the song finished before the second.
    const std::vector<std::string> presents = scripted::callsFrom("present");
    std::vector<std::string> sequence;
    for (const std::string& call : presents) {
        if (call == "present" || call.rfind("playSong", 0) == 0) {
            sequence.push_back(call);
        }
    }
    EXPECT_EQ(sequence, (std::vector<std::string>{"present", "present", "playSong 1", "present"}));
}

} // namespace
