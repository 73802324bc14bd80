// The real platform's window messages, cursor and time on a hidden window of the tests' video
// driver.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl_video.h"

namespace {

constexpr int WindowWidth = 640;
constexpr int WindowHeight = 480;

using platform::Message;
using platform::MessageKind;

// Before any window: there is no SDL queue yet, and a quit must not be lost for that.
TEST(QuitWithoutAQueue, APostedQuitIsStillDelivered) {
    if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
        GTEST_SKIP() << "SDL's queue is already up in this process";
    }
    platform::postQuitMessage(9);
    Message message;
    ASSERT_TRUE(platform::peekMessage(message));
    EXPECT_EQ(message.kind, MessageKind::Quit);
    EXPECT_EQ(message.wParam, 9);
    EXPECT_FALSE(platform::peekMessage(message));
}

// One offscreen window for the whole program, as the game has.
class Messages : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_VIDEODRIVER", TOLVAR_TEST_VIDEO_DRIVER, 1);
        ASSERT_TRUE(platform::registerWindowClass()) << SDL_GetError();
        ASSERT_TRUE(platform::createWindow("Tolvar test", WindowWidth, WindowHeight, false));
        ASSERT_TRUE(platform::acquireDeviceContext());
        ASSERT_TRUE(platform::choosePixelFormat(32, 16));
        ASSERT_TRUE(platform::setPixelFormat());
    }

    static void TearDownTestSuite() {
        platform::destroyWindow();
        platform::unregisterWindowClass();
    }

    void SetUp() override { drain(); }

    static std::vector<Message> drain() {
        std::vector<Message> taken;
        Message message;
        while (platform::peekMessage(message)) {
            taken.push_back(message);
        }
        return taken;
    }

    static Message next() {
        Message message;
        EXPECT_TRUE(platform::peekMessage(message));
        return message;
    }

    static Uint32 windowId() { return SDL_GetWindowID(sdl_video::window()); }

    // place: the key's position on the keyboard; by default where a US layout has the key.
    static void pushKey(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE,
                        Uint8 repeat = 0, SDL_Scancode place = SDL_SCANCODE_UNKNOWN) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        event.key.windowID = windowId();
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = key;
        event.key.keysym.scancode =
            place != SDL_SCANCODE_UNKNOWN ? place : SDL_GetScancodeFromKey(key);
        event.key.keysym.mod = modifiers;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    static void pushWindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId();
        event.window.event = what;
        event.window.data1 = data1;
        event.window.data2 = data2;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    static void pushButtonUp(Uint8 button, int x, int y) {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_MOUSEBUTTONUP;
        event.button.windowID = windowId();
        event.button.button = button;
        event.button.state = SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    static void pushQuit() {
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
};

// width, height: a Size message's.
void expectMessage(const Message& message, MessageKind kind, int wParam = 0, int width = 0,
                   int height = 0) {
    EXPECT_EQ(message.kind, kind);
    EXPECT_EQ(message.wParam, wParam);
    EXPECT_EQ(message.width, width);
    EXPECT_EQ(message.height, height);
}

TEST_F(Messages, AnEmptyQueueGivesNothing) {
    Message message;
    message.kind = MessageKind::KeyDown;
    EXPECT_FALSE(platform::peekMessage(message));
    EXPECT_FALSE(platform::peekMessage(message));
}

TEST_F(Messages, KeysArriveWithTheirVirtualKeyCodes) {
    const struct {
        SDL_Keycode key;
        int code;
    } keys[] = {{SDLK_ESCAPE, 27}, {SDLK_LEFT, 37},   {SDLK_UP, 38},    {SDLK_RIGHT, 39},
                {SDLK_DOWN, 40},   {SDLK_RETURN, 13}, {SDLK_SPACE, 32}, {SDLK_a, 65},
                {SDLK_z, 90},      {SDLK_0, 48},      {SDLK_9, 57},     {SDLK_F1, 112},
                {SDLK_F12, 123}};
    for (const auto& key : keys) {
        pushKey(SDL_KEYDOWN, key.key);
        pushKey(SDL_KEYUP, key.key);
    }
    for (const auto& key : keys) {
        expectMessage(next(), MessageKind::KeyDown, key.code);
        expectMessage(next(), MessageKind::KeyUp, key.code);
    }
    Message message;
    EXPECT_FALSE(platform::peekMessage(message));
}

// A layout beyond Latin gives its own letters: they act as the Latin letter at their place (M
// mutes, P pauses on a Russian or Greek layout). A Latin layout's letters stay its own.
TEST_F(Messages, LettersBeyondLatinActByTheirPlaceOnTheKeyboard) {
    const struct {
        SDL_Keycode key;
        SDL_Scancode place;
        int code; // 0: no key of the game's
    } keys[] = {
        {0x44C, SDL_SCANCODE_M, 'M'},    {0x437, SDL_SCANCODE_P, 'P'},          // Russian
        {0x3C0, SDL_SCANCODE_P, 'P'},    {SDLK_m, SDL_SCANCODE_SEMICOLON, 'M'}, // Greek, AZERTY
        {SDLK_COMMA, SDL_SCANCODE_M, 0}, {0xF6, SDL_SCANCODE_SEMICOLON, 0},     // AZERTY, Nordic
    };
    for (const auto& key : keys) {
        pushKey(SDL_KEYDOWN, key.key, KMOD_NONE, 0, key.place);
        expectMessage(next(), key.code != 0 ? MessageKind::KeyDown : MessageKind::Other, key.code);
    }
}

TEST_F(Messages, F11AndAltEnterToggleFullScreenOncePerPressAndNeverReachTheGameAsKeys) {
    pushKey(SDL_KEYDOWN, SDLK_F11);
    pushKey(SDL_KEYDOWN, SDLK_F11, KMOD_NONE, 1);
    pushKey(SDL_KEYUP, SDLK_F11);
    pushKey(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
    pushKey(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
    pushKey(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT);
    pushKey(SDL_KEYDOWN, SDLK_RETURN);

    expectMessage(next(), MessageKind::FullscreenToggle);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::FullscreenToggle);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::FullscreenToggle);
    expectMessage(next(), MessageKind::KeyDown, 13);
}

TEST_F(Messages, RepeatsAltKeysAndUnknownKeys) {
    pushKey(SDL_KEYDOWN, SDLK_DOWN);
    pushKey(SDL_KEYDOWN, SDLK_DOWN, KMOD_NONE, 1);
    pushKey(SDL_KEYDOWN, SDLK_LEFT, KMOD_LALT);
    pushKey(SDL_KEYUP, SDLK_LEFT, KMOD_RALT);
    pushKey(SDL_KEYDOWN, SDLK_F4, KMOD_LALT);
    pushKey(SDL_KEYDOWN, SDLK_CAPSLOCK);
    // Shift and Control leave a key a key.
    pushKey(SDL_KEYDOWN, SDLK_RIGHT, KMOD_LSHIFT | KMOD_LCTRL);

    expectMessage(next(), MessageKind::KeyDown, 40);
    expectMessage(next(), MessageKind::Other); // a repeat is no new press
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::Other);
    expectMessage(next(), MessageKind::KeyDown, 39);
}

TEST_F(Messages, WindowAndQuitEventsKeepTheirOrder) {
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    platform::postQuitMessage(7);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    pushQuit();
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushButtonUp(SDL_BUTTON_LEFT, 100, 50);
    pushButtonUp(SDL_BUTTON_RIGHT, 10, 20);

    expectMessage(next(), MessageKind::Activate, 1);
    expectMessage(next(), MessageKind::KeyDown, 27);
    expectMessage(next(), MessageKind::Activate, 0);
    expectMessage(next(), MessageKind::Quit, 7);
    expectMessage(next(), MessageKind::Close);
    expectMessage(next(), MessageKind::Quit, 0);
    expectMessage(next(), MessageKind::Size, 0, 800, 600);
    expectMessage(next(), MessageKind::FocusLost);
    expectMessage(next(), MessageKind::LeftButtonUp);
    expectMessage(next(), MessageKind::Other);
    Message message;
    EXPECT_FALSE(platform::peekMessage(message));
}

TEST_F(Messages, ShowingTheWindowQueuesItsDrawableSize) {
    platform::showWindow();
    bool sized = false;
    for (const Message& message : drain()) {
        if (message.kind == MessageKind::Size) {
            EXPECT_EQ(message.width, WindowWidth);
            EXPECT_EQ(message.height, WindowHeight);
            sized = true;
        }
    }
    EXPECT_TRUE(sized);
}

TEST_F(Messages, WaitingSleepingAndSwappingLeaveMessagesQueued) {
    pushKey(SDL_KEYDOWN, SDLK_LEFT);
    // Returns at once, since a message waits; a lost wake-up would hang here.
    platform::waitMessage(platform::WaitForever);
    platform::sleepMilliseconds(1);
    platform::swapBuffers();
    expectMessage(next(), MessageKind::KeyDown, 37);
    Message message;
    EXPECT_FALSE(platform::peekMessage(message));
}

TEST_F(Messages, ARenderingContextCanBeMadeCurrentSwappedAndReleased) {
    ASSERT_TRUE(platform::createRenderingContext()) << SDL_GetError();
    ASSERT_TRUE(platform::makeRenderingContextCurrent());
    EXPECT_TRUE(platform::hasCurrentRenderingContext());
    platform::postQuitMessage(3);
    platform::swapBuffers();
    expectMessage(next(), MessageKind::Quit, 3);
    EXPECT_TRUE(platform::releaseRenderingContext());
    EXPECT_FALSE(platform::hasCurrentRenderingContext());
    EXPECT_TRUE(platform::deleteRenderingContext());
    EXPECT_FALSE(platform::deleteRenderingContext());
}

TEST_F(Messages, TheCursorPositionIsInClientPixels) {
    SDL_WarpMouseInWindow(sdl_video::window(), 123, 45);
    const platform::PixelPoint at = platform::cursorPosition();
    EXPECT_EQ(at.x, 123);
    EXPECT_EQ(at.y, 45);
}

TEST(Cursor, TheDisplayCounterFollowsShowAndHide) {
    // Hidden while the count is below zero, as the desktop's own counter would have it.
    EXPECT_EQ(platform::showCursor(false), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(platform::showCursor(false), -2);
    EXPECT_EQ(platform::showCursor(true), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(platform::showCursor(true), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(platform::showCursor(true), 1);
    EXPECT_EQ(platform::showCursor(false), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST(Time, TheCounterRunsForwardAtItsFrequency) {
    EXPECT_GE(platform::performanceFrequency(), 1000);
    const std::int64_t before = platform::performanceCounter();
    platform::sleepMilliseconds(2);
    const std::int64_t after = platform::performanceCounter();
    // At least the time asked for has passed; no upper bound is assumed.
    EXPECT_GE(after - before, platform::performanceFrequency() * 2 / 1000);
}

} // namespace
