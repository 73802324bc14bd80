// The message queue over SDL's events: the desktop's events translated into the game's messages
// (keys, pads, the pointer, the window), the messages the platform posts to itself, and the waits
// for them.
#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/event_wait.h"
#include "platform/frame_pacing.h"
#include "platform/platform.h"
#include "platform/sdl_gamepads.h"
#include "platform/sdl_key_holds.h"
#include "platform/sdl_keys.h"
#include "platform/sdl_messages.h"
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

bool framePresented = false;

} // namespace

namespace sdl_messages {

PixelPoint toDrawable(int x, int y) {
    const Scale scale = currentScale();
    return PixelPoint{scaled(x, scale.windowWidth, scale.drawableWidth),
                      scaled(y, scale.windowHeight, scale.drawableHeight)};
}

// Lets the desktop's pings and repaints be answered; the events stay queued for the game.
void answerDesktop() {
    if (sdl_video::videoIsUp()) {
        SDL_PumpEvents();
        sdl_video::followDesktop();
    }
}

void postSize(int width, int height) {
    postMessage(PostedKind::Size, width, height);
}

void noteFramePresented() {
    framePresented = true;
}

} // namespace sdl_messages

namespace {

using sdl_messages::answerDesktop;
using sdl_messages::toDrawable;

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

// Where the pointer is on the desktop, so that the game can tell a pointer that moved from a
// window that moved or changed size under it (SDL reports both as motion): the window's place
// and the pointer's over it, as SDL knows them. Not SDL's global state, which on X11 follows
// only some kinds of movement. Where windows have no known place (Wayland) it is the place over
// the window alone.
Message pointerMessage(const SDL_MouseMotionEvent& motion) {
    Message moved{MessageKind::MouseMove};
    SDL_Window* window = SDL_GetWindowFromID(motion.windowID);
    if (window != nullptr) {
        SDL_GetWindowPosition(window, &moved.pointerX, &moved.pointerY);
    }
    moved.pointerX += motion.x;
    moved.pointerY += motion.y;
    return moved;
}

// Set when clicks were dropped while the left button was down: its release belongs to them.
bool leftReleaseDropped = false;

Message leftButtonMessage(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT) {
        return Message{MessageKind::Other};
    }
    if (leftReleaseDropped) {
        leftReleaseDropped = false;
        return Message{MessageKind::Other};
    }
    return Message{MessageKind::LeftButtonUp};
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
        return sdl_keys::keyDownMessage(event.key);
    case SDL_KEYUP:
        // Whatever modifiers are held by now: a key that went down for the game goes up.
        return sdl_key_holds::releaseKeyboardKey(event.key.keysym.scancode);
    case SDL_MOUSEMOTION:
        return pointerMessage(event.motion);
    case SDL_MOUSEBUTTONUP:
        return leftButtonMessage(event.button);
    default:
        return Message{MessageKind::Other};
    }
}
} // namespace

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

void dropWaitingClicks() {
    if (!sdl_video::videoIsUp()) {
        return;
    }
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP);
    leftReleaseDropped = (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK) != 0;
}

} // namespace platform
