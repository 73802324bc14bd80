// The real platform over SDL2: the window steps (forwarded to sdl_video), the message queue,
// time and the cursor. Message boxes, glyphs, gamepads and music live in files of their own.
#include <SDL2/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/event_wait.h"
#include "platform/frame_pacing.h"
#include "platform/platform.h"
#include "platform/sdl_gamepads.h"
#include "platform/sdl_video.h"
#include "platform/termination_signals.h"

namespace platform {

namespace {

// ---------------------------------------------------------------------------------------------
// Messages the platform posts to itself, carried by one registered SDL event type so that they
// keep their place in the one queue among the desktop's own events.

enum class PostedKind : Sint32 { Quit = 1, Size = 2 };

Uint32 postedEventType = 0; // 0: not registered yet

Uint32 registeredEventType() {
    if (postedEventType == 0) {
        const Uint32 type = SDL_RegisterEvents(1);
        postedEventType = type == static_cast<Uint32>(-1) ? 0 : type;
    }
    return postedEventType;
}

void* packInt(int value) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(value));
}

int unpackInt(void* value) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(value));
}

// A quit that could not be queued (no event queue: video never started or already stopped) is
// kept here, so that the request is still delivered instead of being lost.
struct StrandedQuit {
    bool waiting = false;
    int exitCode = 0;
};
StrandedQuit strandedQuit;

bool postMessage(PostedKind kind, int first, int second) {
    const Uint32 type = registeredEventType();
    if (type == 0) {
        return false;
    }
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.user.code = static_cast<Sint32>(kind);
    event.user.data1 = packInt(first);
    event.user.data2 = packInt(second);
    return SDL_PushEvent(&event) == 1;
}

// ---------------------------------------------------------------------------------------------
// Window coordinates to drawable pixels (they differ on HiDPI displays).

struct Scale {
    int windowWidth = 0;
    int windowHeight = 0;
    int drawableWidth = 0;
    int drawableHeight = 0;
};

Scale currentScale() {
    Scale scale;
    SDL_Window* window = sdl_video::window();
    if (window != nullptr) {
        SDL_GetWindowSize(window, &scale.windowWidth, &scale.windowHeight);
        sdl_video::drawableSize(scale.drawableWidth, scale.drawableHeight);
    }
    return scale;
}

int scaled(int value, int from, int to) {
    if (from <= 0 || to <= 0) {
        return value;
    }
    return static_cast<int>(static_cast<std::int64_t>(value) * to / from);
}

PixelPoint toDrawable(int x, int y) {
    const Scale scale = currentScale();
    return PixelPoint{scaled(x, scale.windowWidth, scale.drawableWidth),
                      scaled(y, scale.windowHeight, scale.drawableHeight)};
}

// ---------------------------------------------------------------------------------------------
// Keys, by the Win32 virtual-key codes the game's key table is indexed with.

// 0: a key the game has no code for.
int virtualKeyCode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + static_cast<int>(key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + static_cast<int>(key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + static_cast<int>(key - SDLK_F1);
    }
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    default:
        return 0;
    }
}

bool isReturnKey(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

// A key goes down for the game with every new press of any keyboard key or pad that gives it,
// and up when the last of them lets go (see sdl_gamepads).
Message keyDownMessage(const SDL_KeyboardEvent& key) {
    const bool altHeld = (key.keysym.mod & KMOD_ALT) != 0;
    // F11 and Alt+Enter belong to the window, never to the game; a held key toggles once.
    if (key.keysym.sym == SDLK_F11 || (altHeld && isReturnKey(key.keysym.sym))) {
        return Message{key.repeat == 0 ? MessageKind::FullscreenToggle : MessageKind::Other};
    }
    // The desktop's auto-repeat is no press; with Alt held a key is a system key, which the game
    // leaves to the desktop.
    const int code = virtualKeyCode(key.keysym.sym);
    if (key.repeat != 0 || altHeld || code == 0) {
        return Message{MessageKind::Other};
    }
    return sdl_gamepads::pressKeyboardKey(key.keysym.scancode, code);
}

bool windowIsMinimized() {
    SDL_Window* window = sdl_video::window();
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
}

Message sizeMessage(int width, int height) {
    Message size{MessageKind::Size};
    size.width = width;
    size.height = height;
    const Scale scale = currentScale();
    size.windowWidth = scale.windowWidth;
    size.windowHeight = scale.windowHeight;
    return size;
}

Message windowMessage(const SDL_WindowEvent& window) {
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
        return Message{MessageKind::Close};
    case SDL_WINDOWEVENT_MINIMIZED:
        return Message{MessageKind::Activate, 1};
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED:
        // The state as it is now: a restore already overtaken by another minimize says so.
        return Message{MessageKind::Activate, windowIsMinimized() ? 1 : 0};
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return Message{MessageKind::FocusLost};
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        return Message{MessageKind::Exposed};
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        const PixelPoint size = toDrawable(window.data1, window.data2);
        return sizeMessage(size.x, size.y);
    }
    default:
        return Message{MessageKind::Other};
    }
}

Message postedMessage(const SDL_UserEvent& posted) {
    switch (static_cast<PostedKind>(posted.code)) {
    case PostedKind::Quit:
        return Message{MessageKind::Quit, unpackInt(posted.data1)};
    case PostedKind::Size:
        return sizeMessage(unpackInt(posted.data1), unpackInt(posted.data2));
    }
    return Message{MessageKind::Other};
}

Message translate(const SDL_Event& event) {
    if (event.type == postedEventType && postedEventType != 0) {
        return postedMessage(event.user);
    }
    switch (event.type) {
    case SDL_QUIT:
        return Message{MessageKind::Quit, 0};
    case SDL_WINDOWEVENT:
        return windowMessage(event.window);
    case SDL_KEYDOWN:
        return keyDownMessage(event.key);
    case SDL_KEYUP:
        // Whatever modifiers are held by now: a key that went down for the game goes up.
        return sdl_gamepads::releaseKeyboardKey(event.key.keysym.scancode);
    case SDL_MOUSEMOTION:
        return Message{MessageKind::MouseMove};
    case SDL_MOUSEBUTTONUP:
        return Message{event.button.button == SDL_BUTTON_LEFT ? MessageKind::LeftButtonUp
                                                              : MessageKind::Other};
    default:
        return Message{MessageKind::Other};
    }
}

// Lets the desktop's pings and repaints be answered; the events stay queued for the game.
void answerDesktop() {
    if (sdl_video::videoIsUp()) {
        SDL_PumpEvents();
        sdl_video::followDesktop();
    }
}

int cursorCount = 0; // the display counter: visible while 0 or above
bool framePresented = false;

} // namespace

// ---------------------------------------------------------------------------------------------
// Window and rendering context.

bool findDisplay() {
    // Nothing to look for without a display named and no driver asked for: no time is spent on
    // SDL's look at the console's own graphics.
    const char* asked =
        SDL_GetHint(SDL_HINT_VIDEODRIVER); // SDL_VIDEODRIVER, or as the tests set it
    if (!sdl_video::environmentNamesDisplay() && (asked == nullptr || asked[0] == '\0')) {
        return false;
    }
    if (!sdl_video::startVideo()) {
        return false;
    }
    if (!sdl_video::driverReachesDesktop()) {
        sdl_video::stopVideo();
        return false;
    }
    return true;
}

bool registerWindowClass() {
    return sdl_video::startVideo();
}

bool enterFullscreenMode(int width, int height) {
    return sdl_video::displayFits(width, height);
}

void leaveFullscreenMode() {
    sdl_video::setFullscreen(false);
}

bool createWindow(const char* title, int width, int height, bool fullscreen) {
    return sdl_video::createWindow(title != nullptr ? title : "", width, height, fullscreen);
}

bool setFullscreen(bool fullscreen) {
    return sdl_video::setFullscreen(fullscreen);
}

// SDL chose the visual when it made the window, from the attributes set at start-up; what is
// left of these steps is that the window exists and takes OpenGL.
bool acquireDeviceContext() {
    return sdl_video::hasWindow();
}

bool choosePixelFormat(int colourBits, int depthBits) {
    return sdl_video::windowTakesGl() && colourBits > 0 && depthBits >= 0;
}

bool setPixelFormat() {
    return sdl_video::hasWindow();
}

bool createRenderingContext() {
    return sdl_video::createContext();
}

bool makeRenderingContextCurrent() {
    return sdl_video::makeContextCurrent();
}

void showWindow() {
    sdl_video::showWindow();
    SDL_Window* window = sdl_video::window();
    if (window == nullptr) {
        return;
    }
    SDL_SetWindowInputFocus(window);
    // The game sets its viewport from this, in real pixels, whatever the desktop made of the
    // size asked for.
    int width = 0;
    int height = 0;
    sdl_video::drawableSize(width, height);
    postMessage(PostedKind::Size, width, height);
}

bool releaseRenderingContext() {
    return sdl_video::releaseContext();
}

bool deleteRenderingContext() {
    return sdl_video::deleteContext();
}

bool releaseDeviceContext() {
    return sdl_video::hasWindow();
}

bool destroyWindow() {
    return sdl_video::destroyWindow();
}

bool unregisterWindowClass() {
    if (!sdl_video::videoIsUp()) {
        return false;
    }
    // Only video and the pads go: the music's audio output keeps running to the end of the
    // program.
    sdl_gamepads::stop();
    sdl_video::stopVideo();
    return true;
}

bool hasCurrentRenderingContext() {
    return sdl_video::contextIsCurrent();
}

void swapBuffers() {
    sdl_video::swapWindow();
    framePresented = true;
    frame_pacing::afterSwap();
    answerDesktop();
}

// ---------------------------------------------------------------------------------------------
// Messages.

bool peekMessage(Message& message) {
    if (termination_signals::takeQuit()) {
        message = Message{MessageKind::Quit, 0};
        return true;
    }
    // The keys a pad event gave come before the next event.
    if (sdl_gamepads::takeMessage(message)) {
        return true;
    }
    // Once video has gone the queue still holds what was posted to it, as a thread's queue
    // outlives its window.
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        // Pads count once the game reads its messages with a window up and its first frame
        // shown: start-up's boxes come before, and looking for pads (udev, the controller
        // mappings) would delay that frame. Without game-controller support the keyboard and
        // mouse still do.
        if (sdl_video::hasWindow() && framePresented) {
            sdl_gamepads::start();
        }
        sdl_gamepads::update();
        answerDesktop();
        SDL_Event event;
        // SDL_PeepEvents passes over SDL's internal poll markers, so a message waiting in the
        // queue is always found.
        if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
            if (sdl_gamepads::isPadEvent(event)) {
                sdl_gamepads::handleEvent(event);
                if (!sdl_gamepads::takeMessage(message)) {
                    message = Message{MessageKind::Other};
                }
                return true;
            }
            message = translate(event);
            return true;
        }
    }
    if (strandedQuit.waiting) {
        strandedQuit.waiting = false;
        message = Message{MessageKind::Quit, strandedQuit.exitCode};
        return true;
    }
    return false;
}

void waitMessage(int timeoutMilliseconds) {
    if (strandedQuit.waiting || !sdl_video::videoIsUp()) {
        return;
    }
    // Blocks in the desktop's own wait where SDL has one, so a waiting game uses no CPU; in
    // slices, so that a termination signal is noticed and the desktop is still followed (a window
    // manager that comes or goes, a screen that changes size) while nothing else happens. SDL's
    // wait does not see the pads (see sdl_gamepads::update): while a press on one can arrive the
    // slices are short enough that it still reaches the screen within a frame. Minimized, the game
    // has no keyboard and no pad press arrives, so it rests as it does without a pad.
    constexpr int SliceMilliseconds = 200;
    constexpr int PadSliceMilliseconds = 8;
    const std::int64_t frequency = performanceFrequency();
    const std::int64_t end =
        performanceCounter() + static_cast<std::int64_t>(timeoutMilliseconds) * frequency / 1000;
    while (!termination_signals::requested()) {
        answerDesktop();
        int slice = sdl_gamepads::padPressesArrive() ? PadSliceMilliseconds : SliceMilliseconds;
        if (timeoutMilliseconds != WaitForever) {
            const std::int64_t left = end - performanceCounter();
            if (left <= 0) {
                return;
            }
            const std::int64_t leftMilliseconds = (left * 1000 + frequency - 1) / frequency;
            slice = leftMilliseconds < slice ? static_cast<int>(leftMilliseconds) : slice;
        }
        // What the pads did is queued first, and then the wait returns at once.
        sdl_gamepads::update();
        if (event_wait::waitForEvent(slice)) {
            return;
        }
    }
}

void postQuitMessage(int exitCode) {
    if (!postMessage(PostedKind::Quit, exitCode, 0)) {
        strandedQuit = StrandedQuit{true, exitCode};
    }
}

// ---------------------------------------------------------------------------------------------
// Time.

std::int64_t performanceCounter() {
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t performanceFrequency() {
    return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}

void sleepMilliseconds(int milliseconds) {
    // Short slices, so that a long wait still answers the desktop's liveness checks.
    constexpr int SliceMilliseconds = 10;
    const std::int64_t frequency = performanceFrequency();
    const std::int64_t end =
        performanceCounter() + static_cast<std::int64_t>(milliseconds) * frequency / 1000;
    for (;;) {
        answerDesktop();
        const std::int64_t left = end - performanceCounter();
        if (left <= 0 || termination_signals::requested()) {
            break;
        }
        const std::int64_t leftMilliseconds = (left * 1000 + frequency - 1) / frequency;
        SDL_Delay(static_cast<Uint32>(leftMilliseconds < SliceMilliseconds ? leftMilliseconds
                                                                           : SliceMilliseconds));
    }
}

// ---------------------------------------------------------------------------------------------
// Termination signals.

void watchTerminationSignals() {
    // SDL would otherwise take SIGINT and SIGTERM as a quit it reports only between waits.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    termination_signals::watch();
}

bool terminationRequested() {
    return termination_signals::requested();
}

// ---------------------------------------------------------------------------------------------
// Cursor.

int showCursor(bool show) {
    cursorCount += show ? 1 : -1;
    SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

PixelPoint cursorPosition() {
    SDL_Window* window = sdl_video::window();
    int x = 0;
    int y = 0;
    if (window == nullptr) {
        SDL_GetGlobalMouseState(&x, &y);
        return PixelPoint{x, y};
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) {
        // Where the pointer is now, as the desktop knows it, not as of the last event.
        int windowX = 0;
        int windowY = 0;
        SDL_GetGlobalMouseState(&x, &y);
        SDL_GetWindowPosition(window, &windowX, &windowY);
        x -= windowX;
        y -= windowY;
    } else {
        // Without global coordinates (Wayland, offscreen) SDL's own record is the best there is.
        SDL_GetMouseState(&x, &y);
    }
    return toDrawable(x, y);
}

} // namespace platform
