// Gamepads on the real platform: an SDL virtual pad, plugged in, moved, pressed and pulled out,
// arrives as the key messages the game already reads.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "support/virtual_pad.h"

namespace {

using platform::Message;
using platform::MessageKind;

using Key = std::pair<MessageKind, int>;

class Gamepads : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_VIDEODRIVER", TOLVAR_TEST_VIDEO_DRIVER, 1);
        // The hidden window never has the keyboard; SDL would hold pad events back from it.
        SDL_setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        ASSERT_TRUE(platform::registerWindowClass()) << SDL_GetError();
        ASSERT_TRUE(platform::createWindow("Tolvar test", 640, 480, false));
        platform::showWindow();
        platform::swapBuffers();
        Message message;
        while (platform::peekMessage(message)) {
        } // pads count once the first frame is shown and messages are read
        ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
    }
    static void TearDownTestSuite() {
        platform::destroyWindow();
        platform::unregisterWindowClass();
    }

    static int plugIn() {
        const int index = attachVirtualPad("Tolvar test pad");
        EXPECT_GE(index, 0) << SDL_GetError();
        return index;
    }

    // The key messages that arrive until `count` of them have, the queue read a bounded number
    // of times (and a few times at least, so that a pad just plugged in has been opened).
    static std::vector<Key> keys(std::size_t count) {
        std::vector<Key> seen;
        for (int attempt = 0; attempt < 1000 && (seen.size() < count || attempt < 20); ++attempt) {
            Message message;
            while (platform::peekMessage(message)) {
                if (message.kind == MessageKind::KeyDown || message.kind == MessageKind::KeyUp) {
                    seen.emplace_back(message.kind, message.wParam);
                }
            }
        }
        return seen;
    }
};

constexpr MessageKind Down = MessageKind::KeyDown;
constexpr MessageKind Up = MessageKind::KeyUp;

TEST_F(Gamepads, ButtonsDpadAndStickArriveAsTheGamesKeysAndUnpluggingLetsGoOfThem) {
    const int index = plugIn();
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    EXPECT_TRUE(keys(0).empty()); // the pad is opened by the platform as it is announced

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 1);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_EQ(keys(3), (std::vector<Key>{{Down, platform::VK_RETURN},
                                         {Down, platform::VK_ESCAPE},
                                         {Down, platform::VK_PAUSE}}));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, 0);
    EXPECT_EQ(keys(1), (std::vector<Key>{{Up, platform::VK_ESCAPE}}));

    // The D-pad, and the stick past its dead zone, are the arrows; a stick within it is not.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    EXPECT_EQ(keys(1), (std::vector<Key>{{Down, platform::VK_DOWN}}));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -9000);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 20000); // the D-pad holds it
    EXPECT_TRUE(keys(1).empty());
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(keys(1), (std::vector<Key>{{Down, platform::VK_LEFT}}));
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(keys(2), (std::vector<Key>{{Up, platform::VK_LEFT}, {Down, platform::VK_RIGHT}}));
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0); // the stick holds it
    EXPECT_TRUE(keys(1).empty());

    // Pulled out with Enter, Pause, Right and Down held: each goes up, once.
    SDL_JoystickClose(pad);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    std::vector<Key> released = keys(4);
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (std::vector<Key>{{Up, platform::VK_RETURN},
                                          {Up, platform::VK_PAUSE},
                                          {Up, platform::VK_RIGHT},
                                          {Up, platform::VK_DOWN}}));
}

// A key is down while any keyboard key or pad holds it, and each new press from any of them
// counts; eight pads are read, and a ninth takes the slot the first one unplugged leaves.
TEST_F(Gamepads, KeyboardKeysAndPadsShareAKeyAndANinthPadWaitsForASlot) {
    std::vector<SDL_Joystick*> pads;
    for (int i = 0; i < 9; ++i) {
        pads.push_back(SDL_JoystickOpen(plugIn()));
        keys(0);
    }
    const auto button = [&](int pad, Uint8 down) { // A, the first button
        return [=, &pads] { SDL_JoystickSetVirtualButton(pads[pad], 0, down); };
    };
    const auto keyboard = [](Uint32 type, SDL_Keycode key, Uint8 repeat = 0, Uint16 mod = 0) {
        return [=] {
            SDL_Event event{};
            event.key = {type, 0, 0, 0, repeat, 0, 0, {SDL_GetScancodeFromKey(key), key, mod, 0}};
            SDL_PushEvent(&event);
        };
    };
    // Pads are listed in the order they were plugged in, from 0 once those before have gone.
    const auto unplug = [&](int pad, int index) {
        return [=, &pads] {
            SDL_JoystickClose(pads[pad]);
            SDL_JoystickDetachVirtual(index);
        };
    };
    const std::vector<Key> none;
    const std::vector<Key> down{{Down, platform::VK_RETURN}};
    const std::pair<std::function<void()>, std::vector<Key>> steps[] = {
        {button(8, 1), none}, // the ninth pad is not read
        {button(8, 0), none},
        {button(7, 1), down},
        {button(6, 1), down},
        {keyboard(SDL_KEYDOWN, SDLK_RETURN), down},
        {keyboard(SDL_KEYDOWN, SDLK_KP_ENTER), down},
        {keyboard(SDL_KEYDOWN, SDLK_RETURN, 1), none}, // the desktop's auto-repeat
        {keyboard(SDL_KEYUP, SDLK_RETURN), none},
        {unplug(7, 7), none},
        {button(6, 0), none},
        {keyboard(SDL_KEYUP, SDLK_KP_ENTER, 0, KMOD_LALT), {{Up, platform::VK_RETURN}}},
        {button(8, 1), down}, // it took the slot the eighth pad left
        {unplug(8, 7), {{Up, platform::VK_RETURN}}},
    };
    int step = 0;
    for (const auto& [act, expected] : steps) {
        act();
        EXPECT_EQ(keys(expected.size()), expected) << "step " << step;
        ++step;
    }
    for (int pad = 0; pad < 7; ++pad) {
        unplug(pad, 0)();
    }
}

} // namespace
