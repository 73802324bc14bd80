// The real platform's messages where they rest on POSIX: termination signals cutting waits short,
// and a box with no X or Wayland display named. Not built on Windows (tests/CMakeLists.txt).
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace {

using platform::Message;

// A window, as the game has while it waits.
class MessagesOnPosix : public testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_VIDEODRIVER", TOLVAR_TEST_VIDEO_DRIVER, 1);
        ASSERT_TRUE(platform::registerWindowClass()) << SDL_GetError();
        ASSERT_TRUE(platform::createWindow("Tolvar test", 640, 480, false));
    }
    static void TearDownTestSuite() {
        platform::destroyWindow();
        platform::unregisterWindowClass();
    }
};

// A termination signal sent by another thread once the wait has begun (the waiting thread asleep)
// cuts the wait short. One that ignored it would hang: the watchdog then ends the process with
// exit code 2, and the test fails.
void waitThroughATerminationSignal(void (*wait)()) {
    platform::watchTerminationSignals();
    std::thread([] {
        ::sleep(60);
        std::_Exit(2);
    }).detach(); // the watchdog
    std::thread([stat = "/proc/self/task/" + std::to_string(gettid()) + "/stat"] {
        for (std::string line; line.find(") S ") == std::string::npos;) {
            std::ifstream file(stat);
            std::getline(file, line);
        }
        kill(getpid(), SIGTERM);
    }).detach();
    for (Message message; !platform::terminationRequested(); wait()) {
        while (platform::peekMessage(message)) {
        }
    }
    std::_Exit(0);
}

TEST_F(MessagesOnPosix, ATerminationSignalCutsAWaitOfAnHourOrForeverShort) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (void (*wait)() : {+[] { platform::sleepMilliseconds(3600 * 1000); },
                           +[] { platform::waitMessage(platform::WaitForever); },
                           +[] { platform::waitMessage(3600 * 1000); }}) {
        EXPECT_EXIT(waitThroughATerminationSignal(wait), testing::ExitedWithCode(0), "");
    }
}

// The box is shown in a fresh process with no display named at all.
void showBoxWithoutDisplay() {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const platform::MessageBoxAnswer answer = platform::showMessageBox(
        "Window Creation Error.", "ERROR", platform::MessageBoxButtons::YesNo,
        platform::MessageBoxIcon::Exclamation);
    std::exit(answer == platform::MessageBoxAnswer::NotShown ? 0 : 1);
}

TEST(MessageBoxDeathTest, WithoutADisplayTheTextGoesToStandardError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(showBoxWithoutDisplay(), testing::ExitedWithCode(0),
                "ERROR: Window Creation Error\\.");
}

} // namespace
