#include "screen_tour.h"

#include "assets/assets.h"
#include "game/game.h"
#include "screens/screens.h"
#include "shell/shell.h"
#include "support/scripted_platform.h"

namespace faults {

namespace {

void clickAt(int x, int y) {
    clickLatch = true;
    clickPos = {x, y};
}

void nothing() {}
void endLogoHold() {
    scripted::script().counter += 3 * scripted::script().frequency;
}
void clickHelp() {
    clickAt(485, 460);
}
void pressEscape() {
    windowProc({platform::MessageKind::KeyDown, VK_ESCAPE}); // pressed: held, it leaves nothing
}
void clickPlay() {
    KeyState[VK_ESCAPE] = 0;
    clickAt(485, 410);
}
void clickLevelSelect() {
    clickAt(401, 441);
}
void clickLevelOneLabel() {
    clickAt(480, 340);
}
// The level's last block is down: the countdown box, or for level 5 the credits.
void finishLevel() {
    blocksLeft = 0;
}
void loseTheGame() {
    KeyState[VK_ESCAPE] = 0;
    GameState = GameOver;
}
void clickAnywhere() {
    clickAt(10, 10);
}
void clickQuit() {
    clickAt(485, 510);
}

} // namespace

const TourStep tourSteps[] = {
    {"logo", nothing, menuTrack},
    {"the logo's hold ends", endLogoHold, menuTrack},
    {"help", clickHelp, menuTrack},
    {"back from help", pressEscape, menuTrack},
    {"play menu", clickPlay, menuTrack},
    {"level select", clickLevelSelect, menuTrack},
    {"level 1 chosen", clickLevelOneLabel, menuTrack},
    {"level 1 dealt", nothing, levelTrack[1]},
    {"level 1 complete", finishLevel, levelTrack[1]},
    {"level 2", nothing, levelTrack[2]},
    {"level 2 complete", finishLevel, levelTrack[2]},
    {"level 3", nothing, levelTrack[3]},
    {"level 3 complete", finishLevel, levelTrack[3]},
    {"level 4", nothing, levelTrack[4]},
    {"level 4 complete", finishLevel, levelTrack[4]},
    {"level 5", nothing, levelTrack[5]},
    {"level 5 complete", finishLevel, levelTrack[5]},
    {"credits", nothing, levelTrack[5]},
    {"out of the credits", pressEscape, menuTrack},
    {"game over", loseTheGame, menuTrack},
    {"back from game over", clickAnywhere, menuTrack},
    {"quit", clickQuit, menuTrack},
};
const int tourStepCount = static_cast<int>(sizeof tourSteps / sizeof tourSteps[0]);

TourRecord runScreenTour(const TourHooks& hooks) {
    TourRecord record;
    // A fade takes a few passes instead of fifty, and a frame covers a quarter of the window's
    // width and height: the tour is about reaching every screen, not about its pixels.
    scripted::script().ticksPerPresentedFrame *= 12;
    scripted::script().drawableWidth = 256;
    scripted::script().drawableHeight = 192;
    // The window is exposed in every frame, so that still screens draw too: each pass finds the
    // queue empty and posts nothing, so each pass is one frame.
    scripted::script().onPresent = [&record](int) {
        record.presentedStates.insert(GameState);
        scripted::expose();
    };
    record.exitCode = scripted::runGameWith([&](int pass) {
        // The logo's first frame loads the other pictures: start-up is whole after it.
        if (pass == 1 && hooks.afterStartUp) {
            hooks.afterStartUp();
        }
        if (pass > 0 && hooks.afterStep) {
            hooks.afterStep(pass - 1);
        }
        if (pass < tourStepCount) {
            tourSteps[pass].before();
            record.stepsRun = pass + 1;
        } else {
            scripted::requestClose(); // the tour lost its way: end the run
        }
    });
    scripted::script().onPresent = nullptr;
    // Quit ends the loop within the last step's frame, so no pass follows it.
    if (record.stepsRun == tourStepCount && hooks.afterStep) {
        hooks.afterStep(tourStepCount - 1);
    }
    return record;
}

} // namespace faults
