// Loaded ahead of SDL (LD_PRELOAD) into the real program: plugs in a gamepad, an SDL virtual one,
// as soon as the program has started SDL's joystick subsystem, so that the program sees a pad
// plugged in from the start (the machine has no /dev/uinput for a pad of the kernel's).
//
// With TOLVAR_PAD_PRESSES naming a FIFO, a thread of its own reads it: each 'd' or 'u' presses
// the D-pad down or up for 100 ms, and the monotonic time of the press, in nanoseconds, is
// appended as a line to TOLVAR_PAD_PRESSES_OUT. Nothing of the program itself changes.
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/virtual_pad.h"

namespace {

using InitSubSystem = int (*)(Uint32);

constexpr timespec PressLength = {0, 100'000'000};

SDL_Joystick* pad = nullptr;
bool pluggedIn = false;

void appendPressTime() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = std::getenv("TOLVAR_PAD_PRESSES_OUT");
    std::FILE* out = path != nullptr ? std::fopen(path, "a") : nullptr;
    if (out != nullptr) {
        std::fprintf(out, "%lld\n",
                     static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
        std::fclose(out);
    }
}

void pressOnRequest(const char* fifoPath) {
    const int fifo = open(fifoPath, O_RDONLY);
    char request = 0;
    while (fifo >= 0 && read(fifo, &request, 1) == 1) {
        const int button = request == 'd'   ? SDL_CONTROLLER_BUTTON_DPAD_DOWN
                           : request == 'u' ? SDL_CONTROLLER_BUTTON_DPAD_UP
                                            : -1;
        if (button < 0) {
            continue;
        }
        appendPressTime();
        SDL_JoystickSetVirtualButton(pad, button, 1);
        nanosleep(&PressLength, nullptr);
        SDL_JoystickSetVirtualButton(pad, button, 0);
    }
}

void plugIn() {
    pluggedIn = true; // once, whether SDL takes the pad or not
    pad = plugInVirtualPad("Tolvar bench pad");
    if (pad == nullptr) {
        std::fprintf(stderr, "virtual_pad_preload: %s\n", SDL_GetError());
        return;
    }
    if (const char* fifo = std::getenv("TOLVAR_PAD_PRESSES")) {
        std::thread(pressOnRequest, fifo).detach();
    }
}

} // namespace

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto realInit =
        reinterpret_cast<InitSubSystem>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int result = realInit != nullptr ? realInit(flags) : -1;
    if (result == 0 && !pluggedIn && SDL_WasInit(SDL_INIT_JOYSTICK) != 0) {
        plugIn();
    }
    return result;
}
