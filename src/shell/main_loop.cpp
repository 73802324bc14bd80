#include <cstdlib>
#include <ctime>

#include "assets/assets.h"
#include "screens/screens.h"
#include "shell/shell.h"

bool quitRequested = false;
platform::Message lastMessage;
int exitStatus = 0;

namespace {

constexpr const char* WindowTitle = "Tolvar";
constexpr int ColourBits = 32;
constexpr float TargetFrameRate = 30.0f;

void runFrame() {
    updateFrameTimer();
    // On every screen, before the frame, so the frame already plays as the player asked.
    if (KeyPressed[VK_M]) {
        toggleMusicMute();
    }
    FrameDispatcher();
    clearFrameInput();
    // Read after the frame, so it is the song that the frame left loaded.
    if (platform::isSongFinished(musicHandle)) {
        platform::playSong(musicHandle);
    }
}

} // namespace

void runMainLoop() {
    for (;;) {
        if (platform::peekMessage(lastMessage)) {
            if (lastMessage.kind == platform::MessageKind::Quit) {
                quitRequested = true;
                exitStatus = lastMessage.wParam;
                break;
            }
            windowProc(lastMessage);
        } else if (windowActive) {
            runFrame();
        } else {
            // Minimized: nothing to draw, so sleep until the desktop has something to say
            // instead of polling a whole core away.
            platform::waitMessage(platform::WaitForever);
        }
        if (quitRequested) {
            break;
        }
    }
}

int runGame() {
    platform::watchTerminationSignals();
    if (!findGameFolder()) {
        return 1;
    }
    if (!openWindow(WindowTitle, windowedSize.width, windowedSize.height, ColourBits, fullscreen)) {
        // The player's own No is no failure; a window that could not be had is.
        return windowDeclined ? 0 : 1;
    }
    // Without sound the game plays on silently; the platform says so on standard error.
    platform::startSoundOutput(MusicSampleRate);
    if (musicMuted) { // as Settings.txt left it
        platform::setMusicMuted(true);
    }
    startImageLibrary();
    loadTextures();
    finishImageLibrary();
    startFrameTimer(TargetFrameRate);
    std::srand(static_cast<unsigned int>(std::time(nullptr)));
    loadProgress();
    // Loaded here, started by the logo screen.
    musicHandle = platform::loadSong(menuTrack);
    if (!quitRequested) {
        runMainLoop();
    }
    closeWindow();
    return exitStatus;
}
