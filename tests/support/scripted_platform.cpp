#include "support/scripted_platform.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <string>

#include "platform/desktop.h"
#include "platform/sdl_video.h"
#include "support/gl_driver_pin.h"

namespace scripted {

Script& script() {
    static Script theScript;
    return theScript;
}

namespace {

void record(std::string call) {
    if (!script().recordingCalls) {
        return;
    }
    script().calls.push_back(std::move(call));
}

bool stepFails(WindowStep step) {
    const std::vector<WindowStep>& failing = script().failingSteps;
    return std::find(failing.begin(), failing.end(), step) != failing.end();
}

// Records the step and tells whether it succeeds: a scripted failure, or else what really happened.
bool windowStep(const char* name, WindowStep step, bool realResult) {
    const bool succeeded = realResult && !stepFails(step);
    record(std::string(name) + (succeeded ? "" : " failed"));
    return succeeded;
}

#ifndef SCRIPTED_PLATFORM_REAL_MUSIC
std::string songName(platform::SongHandle song) {
    return std::to_string(song);
}
#endif

} // namespace

void post(platform::Message message) {
    script().messages.push_back(message);
}

void click(int x, int y) {
    script().cursor = {x, y};
    post({platform::MessageKind::LeftButtonUp});
}

void pressKey(int virtualKey) {
    post({platform::MessageKind::KeyDown, virtualKey});
}

void releaseKey(int virtualKey) {
    post({platform::MessageKind::KeyUp, virtualKey});
}

void requestClose() {
    post({platform::MessageKind::Close});
}

void minimize() {
    post({platform::MessageKind::Activate, 1});
}

void restore() {
    post({platform::MessageKind::Activate, 0});
}

void resize(int width, int height) {
    platform::Message size{platform::MessageKind::Size};
    size.width = width;
    size.height = height;
    size.windowWidth = width; // no HiDPI scale here
    size.windowHeight = height;
    post(size);
}

void toggleFullscreen() {
    post({platform::MessageKind::FullscreenToggle});
}

void tapKey(int virtualKey) {
    pressKey(virtualKey);
    releaseKey(virtualKey);
}

void expose() {
    post({platform::MessageKind::Exposed});
}

void loseFocus() {
    post({platform::MessageKind::FocusLost});
}

int countCalls(const std::string& prefix) {
    return static_cast<int>(
        std::count_if(script().calls.begin(), script().calls.end(),
                      [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
}

std::vector<std::string> callsFrom(const std::string& prefix) {
    const std::vector<std::string>& calls = script().calls;
    auto first = std::find_if(calls.begin(), calls.end(),
                              [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return std::vector<std::string>(first, calls.end());
}

void finishSong(platform::SongHandle song) {
    script().finishedSongs.push_back(song);
}

} // namespace scripted

using scripted::script;
using scripted::WindowStep;

namespace platform {

bool findDisplay() {
    return scripted::windowStep("findDisplay", WindowStep::FindDisplay, true);
}

bool registerWindowClass() {
    pinGlDriverForLeakReports();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, TOLVAR_TEST_VIDEO_DRIVER);
    return scripted::windowStep("registerWindowClass", WindowStep::RegisterClass,
                                sdl_video::startVideo());
}

const char* noDisplayText() {
    return desktop::missingDesktopText();
}

const char* askedVideoDriver() {
    return script().askedVideoDriver.empty() ? nullptr : script().askedVideoDriver.c_str();
}

bool usableScreenSize(int& width, int& height) {
    width = script().usableScreenWidth;
    height = script().usableScreenHeight;
    return width > 0 && height > 0;
}

bool enterFullscreenMode(int width, int height) {
    (void)width;
    (void)height;
    return scripted::windowStep("enterFullscreenMode", WindowStep::FullscreenMode, true);
}

void leaveFullscreenMode() {
    scripted::record("leaveFullscreenMode");
}

bool createWindow(const char* title, int width, int height, bool fullscreenWindow) {
    scripted::record(std::string("window ") + title + " " + std::to_string(width) + "x" +
                     std::to_string(height) + (fullscreenWindow ? " fullscreen" : " windowed"));
    if (scripted::stepFails(WindowStep::CreateWindow)) {
        scripted::record("createWindow failed");
        return false;
    }
    // The offscreen driver's window is the drawable the test asked for.
    return scripted::windowStep(
        "createWindow", WindowStep::CreateWindow,
        sdl_video::createWindow(title, script().drawableWidth, script().drawableHeight, false));
}

bool setFullscreen(bool fullscreenWindow) {
    scripted::record(fullscreenWindow ? "setFullscreen on" : "setFullscreen off");
    return !scripted::stepFails(WindowStep::SetFullscreen);
}

bool acquireDeviceContext() {
    return scripted::windowStep("acquireDeviceContext", WindowStep::DeviceContext,
                                sdl_video::hasWindow());
}

bool choosePixelFormat(int colourBits, int depthBits) {
    scripted::record("pixelFormat " + std::to_string(colourBits) + "/" + std::to_string(depthBits));
    return scripted::windowStep("choosePixelFormat", WindowStep::ChoosePixelFormat, true);
}

bool setPixelFormat() {
    return scripted::windowStep("setPixelFormat", WindowStep::SetPixelFormat, true);
}

bool createRenderingContext() {
    return scripted::windowStep("createRenderingContext", WindowStep::CreateContext,
                                sdl_video::createContext());
}

bool makeRenderingContextCurrent() {
    if (scripted::stepFails(WindowStep::MakeCurrent)) {
        // A context that could not be made current is not current.
        sdl_video::releaseContext();
    }
    return scripted::windowStep("makeRenderingContextCurrent", WindowStep::MakeCurrent,
                                sdl_video::makeContextCurrent());
}

void showWindow() {
    scripted::record("showWindow");
    scripted::resize(script().drawableWidth, script().drawableHeight);
}

bool releaseRenderingContext() {
    return scripted::windowStep("releaseRenderingContext", WindowStep::ReleaseContext,
                                sdl_video::releaseContext());
}

bool deleteRenderingContext() {
    return scripted::windowStep("deleteRenderingContext", WindowStep::DeleteContext,
                                sdl_video::deleteContext());
}

bool releaseDeviceContext() {
    return scripted::windowStep("releaseDeviceContext", WindowStep::ReleaseDeviceContext, true);
}

bool destroyWindow() {
    return scripted::windowStep("destroyWindow", WindowStep::DestroyWindow,
                                sdl_video::destroyWindow());
}

bool unregisterWindowClass() {
    sdl_video::stopVideo();
    return scripted::windowStep("unregisterWindowClass", WindowStep::UnregisterClass, true);
}

void keepScreenAwake(bool awake) {
    scripted::record(awake ? "keepScreenAwake on" : "keepScreenAwake off");
    script().screenKeptAwake = awake;
}

bool hasCurrentRenderingContext() {
    return sdl_video::contextIsCurrent();
}

void swapBuffers() {
    ++script().presentedFrames;
    scripted::record("present");
    if (script().onPresent) {
        script().onPresent(script().presentedFrames);
    }
    sdl_video::swapWindow();
    script().counter += script().ticksPerPresentedFrame;
}

bool peekMessage(Message& message) {
    if (script().messages.empty() && script().onQueueEmpty) {
        script().onQueueEmpty();
    }
    if (script().messages.empty()) {
        return false;
    }
    message = script().messages.front();
    script().messages.pop_front();
    return true;
}

void waitMessage(int timeoutMilliseconds) {
    scripted::record("waitMessage");
    if (script().messages.empty() && script().onQueueEmpty) {
        script().onQueueEmpty();
    }
    if (!script().messages.empty()) {
        return;
    }
    if (timeoutMilliseconds != WaitForever) {
        // Virtual time: the whole timeout passes at once.
        script().counter +=
            static_cast<std::int64_t>(timeoutMilliseconds) * script().frequency / 1000;
        return;
    }
    // Nothing would ever wake the game: end the run instead of hanging the test.
    ++script().waitsOnEmptyQueue;
    scripted::post({MessageKind::Quit, 0});
}

void postQuitMessage(int exitCode) {
    scripted::post({MessageKind::Quit, exitCode});
}

void dropWaitingClicks() {
    std::erase_if(script().messages,
                  [](const Message& message) { return message.kind == MessageKind::LeftButtonUp; });
}

std::int64_t performanceCounter() {
    return script().counter;
}

std::int64_t performanceFrequency() {
    return script().frequency;
}

void sleepMilliseconds(int milliseconds) {
    scripted::record("sleep " + std::to_string(milliseconds));
    script().sleptMilliseconds += milliseconds;
    script().counter += static_cast<std::int64_t>(milliseconds) * script().frequency / 1000;
}

void watchTerminationSignals() {
    script().watchingTerminationSignals = true;
}

bool terminationRequested() {
    return script().watchingTerminationSignals && script().terminationSignal;
}

MessageBoxAnswer showMessageBox(const char* text, const char* caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon) {
    script().boxes.push_back({text, caption, buttons, icon});
    scripted::record(std::string("box ") + caption + ": " + text);
    if (!script().boxAnswers.empty()) {
        const MessageBoxAnswer answer = script().boxAnswers.front();
        script().boxAnswers.pop_front();
        return answer;
    }
    return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::Yes : MessageBoxAnswer::Ok;
}

int showCursor(bool show) {
    script().cursorCount += show ? 1 : -1;
    return script().cursorCount;
}

PixelPoint cursorPosition() {
    return script().cursor;
}

// Built with SCRIPTED_PLATFORM_REAL_MUSIC the real module player takes the music calls instead,
// so that damaged modules reach the real loader.
#ifndef SCRIPTED_PLATFORM_REAL_MUSIC
bool startSoundOutput(int sampleRate) {
    scripted::record("startSoundOutput " + std::to_string(sampleRate));
    script().soundOutputStarted = true;
    return true;
}

SongHandle loadSong(const char* path) {
    const std::vector<std::string>& missing = script().missingSongs;
    SongHandle song = 0;
    if (std::find(missing.begin(), missing.end(), path) == missing.end()) {
        song = ++script().lastSong;
        script().loadedSongs.push_back(song);
    }
    if (script().recordingCalls) {
        scripted::record(std::string("loadSong ") + path + " -> " + scripted::songName(song));
    }
    return song;
}

void playSong(SongHandle song) {
    if (script().recordingCalls) {
        scripted::record("playSong " + scripted::songName(song));
    }
    std::erase(script().finishedSongs, song);
}

void stopSong(SongHandle song) {
    if (script().recordingCalls) {
        scripted::record("stopSong " + scripted::songName(song));
    }
}

bool isSongFinished(SongHandle song) {
    const std::vector<SongHandle>& finished = script().finishedSongs;
    return song != 0 && std::find(finished.begin(), finished.end(), song) != finished.end();
}

void releaseSong(SongHandle song) {
    if (script().recordingCalls) {
        scripted::record("releaseSong " + scripted::songName(song));
    }
    std::erase(script().loadedSongs, song);
}

void setMusicMuted(bool muted) {
    if (script().recordingCalls) {
        scripted::record(std::string("setMusicMuted ") + (muted ? "1" : "0"));
    }
    script().musicMuted = muted;
}
#endif

} // namespace platform

#include "shell/shell.h"

namespace scripted {

int runGameWith(const std::function<void(int pass)>& beforePass) {
    int pass = 0;
    script().onQueueEmpty = [&] { beforePass(pass++); };
    // As the program's start: the folder (this one, which holds Data/) and its Data.dat first.
    const int exitCode = findGameFolder() ? runGame() : 1;
    script().onQueueEmpty = nullptr;
    return exitCode;
}

} // namespace scripted
