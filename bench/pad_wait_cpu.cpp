// What a resting game costs while it waits for its messages (platform::waitMessage, as on a still
// screen or minimized), without a pad, with a virtual pad plugged in, and with the pad updated by
// SDL itself as the platform once let it (SDL then polls every millisecond); and how soon a press
// on the pad ends a wait. Run it on an X desktop with a window manager, where SDL has a real wait
// and the window can be minimized:
//
//     tests/e2e/x_desktop.py --window-manager build/bench/pad_wait_cpu [SECONDS]
//
// Prints one line per figure: CPU in percent of one core over SECONDS (5 by default), and the
// press-to-message latency in milliseconds (median and largest of 40 presses).
#include <SDL2/SDL.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl_video.h"
#include "support/virtual_pad.h"

namespace {

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double nowMilliseconds() {
    return static_cast<double>(platform::performanceCounter()) * 1000.0 /
           static_cast<double>(platform::performanceFrequency());
}

// The key messages taken off the queue.
int drain() {
    int keys = 0;
    platform::Message message;
    while (platform::peekMessage(message)) {
        keys += message.kind == platform::MessageKind::KeyDown ||
                message.kind == platform::MessageKind::KeyUp;
    }
    return keys;
}

// The game's resting loop: read every message, then wait for the next one.
double restingCpuPercent(double seconds) {
    const double cpuBefore = processSeconds();
    const double end = nowMilliseconds() + seconds * 1000.0;
    for (double now = nowMilliseconds(); now < end; now = nowMilliseconds()) {
        drain();
        platform::waitMessage(static_cast<int>(end - now) + 1);
    }
    return 100.0 * (processSeconds() - cpuBefore) / seconds;
}

// Presses and lets go of the pad's A button from another thread at random moments while the
// main thread waits; each latency is from the button's change to its key message.
void pressLatency(SDL_Joystick* pad) {
    constexpr int Presses = 40;
    std::atomic<double> changedAt{0.0};
    std::atomic<bool> taken{true};
    std::thread presser([&] {
        std::mt19937 random(7);
        for (int press = 0; press < Presses; ++press) {
            while (!taken.load()) {
                std::this_thread::yield();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 30));
            taken = false;
            changedAt = nowMilliseconds();
            SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, press % 2 == 0 ? 1 : 0);
        }
    });
    std::vector<double> latencies;
    while (latencies.size() < Presses) {
        platform::waitMessage(platform::WaitForever);
        if (drain() > 0) {
            latencies.push_back(nowMilliseconds() - changedAt.load());
            taken = true;
        }
    }
    presser.join();
    std::sort(latencies.begin(), latencies.end());
    std::printf("pad press to key message: median %.2f ms, largest %.2f ms\n",
                latencies[Presses / 2], latencies.back());
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    if (!platform::registerWindowClass() || !platform::createWindow("pad wait", 640, 480, false)) {
        std::fprintf(stderr, "pad_wait_cpu: no window: %s\n", SDL_GetError());
        return 1;
    }
    platform::showWindow();
    platform::swapBuffers();
    drain(); // the pads start with the first read after the first frame
    std::printf("resting wait, no pad: %.2f %% of a core\n", restingCpuPercent(seconds));

    SDL_Joystick* pad = plugInVirtualPad("pad_wait_cpu pad");
    if (pad == nullptr) {
        std::fprintf(stderr, "pad_wait_cpu: no virtual pad: %s\n", SDL_GetError());
        return 1;
    }
    drain();
    std::printf("resting wait, a pad plugged in, window focused: %.2f %% of a core\n",
                restingCpuPercent(seconds));
    pressLatency(pad);

    // Minimized the window loses the keyboard, and SDL passes on no pad press.
    SDL_MinimizeWindow(sdl_video::window());
    for (int i = 0; i < 500 && SDL_GetKeyboardFocus() != nullptr; ++i) {
        platform::waitMessage(10);
        drain();
    }
    std::printf("resting wait, a pad plugged in, minimized%s: %.2f %% of a core\n",
                SDL_GetKeyboardFocus() != nullptr ? " (still focused: no window manager?)" : "",
                restingCpuPercent(seconds));

    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "1");
    std::printf("resting wait, a pad plugged in, minimized, SDL updating it itself: %.2f %% of a "
                "core\n",
                restingCpuPercent(seconds));
    SDL_JoystickClose(pad);
    platform::destroyWindow();
    platform::unregisterWindowClass();
    return 0;
}
