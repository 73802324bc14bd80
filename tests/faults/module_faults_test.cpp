// Every module missing or replaced by noise, one at a time, with the real module player: the
// damaged track leaves no song (silence) wherever it should play, every other track plays, and
// the game goes on through every screen to a clean exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "game_folder.h"
#include "screen_tour.h"

namespace {

using faults::Damage;

const char* const modules[] = {menuTrack,     levelTrack[1], levelTrack[2],
                               levelTrack[3], levelTrack[4], levelTrack[5]};
constexpr int ModuleCount = static_cast<int>(sizeof modules / sizeof modules[0]);

struct ModuleFault {
    int module;
    Damage damage;
};

class ModuleFaultTest : public ::testing::TestWithParam<ModuleFault> {};

TEST_P(ModuleFaultTest, TheTrackStaysSilentAndTheGameGoesOn) {
    const ModuleFault fault = GetParam();
    setenv("SDL_AUDIODRIVER", "dummy", 0); // a device that takes the sound and plays nothing
    const std::string damaged = modules[fault.module];
    faults::GameFolder folder("5");
    folder.damage(damaged, fault.damage);
    openProgressFile();

    bool startUpSongLoaded = false;
    int silentSteps = 0;
    std::vector<std::string> wrongSteps;
    faults::TourHooks hooks;
    hooks.afterStartUp = [&] { startUpSongLoaded = musicHandle != 0; };
    hooks.afterStep = [&](int step) {
        const faults::TourStep& tourStep = faults::tourSteps[step];
        const bool damagedTrack = damaged == tourStep.track;
        silentSteps += damagedTrack ? 1 : 0;
        // No song where the damaged track should play; a song, and not a finished one,
        // everywhere else.
        if ((musicHandle == 0) != damagedTrack ||
            (musicHandle != 0 && platform::isSongFinished(musicHandle))) {
            wrongSteps.push_back(std::string(tourStep.name) + " (" + tourStep.track + "): song " +
                                 std::to_string(musicHandle));
        }
    };
    ::testing::internal::CaptureStderr();
    const faults::TourRecord record = faults::runScreenTour(hooks);
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_NE(said.find("tolvar: " + damaged + ": "), std::string::npos) << said;
    EXPECT_EQ(record.exitCode, 0);
    EXPECT_EQ(record.stepsRun, faults::tourStepCount);
    EXPECT_EQ(startUpSongLoaded, damaged != menuTrack);
    EXPECT_GT(silentSteps, 0); // the tour did reach the damaged track
    EXPECT_TRUE(wrongSteps.empty()) << ::testing::PrintToString(wrongSteps);
}

std::vector<ModuleFault> everyModuleFault() {
    std::vector<ModuleFault> all;
    for (int module = 0; module < ModuleCount; ++module) {
        for (Damage damage : {Damage::Missing, Damage::Garbage}) {
            all.push_back({module, damage});
        }
        if (modules[module] == menuTrack) {
            all.push_back({module, Damage::Fifo}); // read at start-up, where it hung the game
        }
    }
    return all;
}

std::string faultName(const ::testing::TestParamInfo<ModuleFault>& info) {
    std::string name = modules[info.param.module];
    name = name.substr(name.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    return "track_" + name + "_" + faults::damageName(info.param.damage);
}

INSTANTIATE_TEST_SUITE_P(EachModule, ModuleFaultTest, ::testing::ValuesIn(everyModuleFault()),
                         faultName);

} // namespace
