#include "platform/sdl_gamepads.h"

#include "platform/sdl_key_holds.h"

namespace sdl_gamepads {

namespace {

using platform::Message;
using platform::MessageKind;

// Every input of a pad that stands for a key. The D-pad and the stick are separate inputs for
// the same arrow, and the pad holds the arrow while either does: pushing the other as well is
// no new press, and letting go of one while the other holds keeps the arrow down.
enum Input : int {
    DpadLeft,
    DpadRight,
    DpadUp,
    DpadDown,
    StickLeft,
    StickRight,
    StickUp,
    StickDown,
    SouthButton,
    EastButton,
    StartButton,
    InputCount,
};

constexpr int inputKey[InputCount] = {
    platform::VK_LEFT,   platform::VK_RIGHT,  platform::VK_UP,    platform::VK_DOWN,
    platform::VK_LEFT,   platform::VK_RIGHT,  platform::VK_UP,    platform::VK_DOWN,
    platform::VK_RETURN, platform::VK_ESCAPE, platform::VK_PAUSE,
};

// The stick counts as pushed beyond StickPressed and as back in the middle within StickReleased:
// a stick resting near the edge of the dead zone does not flicker the key.
constexpr int StickPressed = 16000;
constexpr int StickReleased = 12000;

constexpr int PadSlots = 8;

struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    bool held[InputCount] = {};
};

Pad pads[PadSlots];
bool started = false;
bool startRefused = false;

// Key messages waiting for the game. One event gives at most one per input (an unplugged pad),
// and they are all taken before the next event is.
constexpr int WaitingSlots = 2 * InputCount;
Message waiting[WaitingSlots];
int waitingFirst = 0;
int waitingCount = 0;

void queue(MessageKind kind, int key) {
    if (waitingCount == WaitingSlots) {
        return; // cannot happen: see WaitingSlots
    }
    waiting[(waitingFirst + waitingCount) % WaitingSlots] = Message{kind, key};
    ++waitingCount;
}

bool padHolds(const Pad& pad, int key) {
    for (int input = 0; input < InputCount; ++input) {
        if (pad.held[input] && inputKey[input] == key) {
            return true;
        }
    }
    return false;
}

void setInput(Pad& pad, int input, bool down) {
    if (pad.held[input] == down) {
        return;
    }
    const int key = inputKey[input];
    const bool before = padHolds(pad, key);
    pad.held[input] = down;
    if (padHolds(pad, key) == before) {
        return; // another input of this pad holds the key
    }
    if (down) {
        sdl_key_holds::hold(key);
        queue(MessageKind::KeyDown, key);
    } else if (sdl_key_holds::letGo(key)) {
        queue(MessageKind::KeyUp, key);
    }
}

Pad* padOf(SDL_JoystickID id) {
    for (Pad& pad : pads) {
        if (pad.controller != nullptr && pad.id == id) {
            return &pad;
        }
    }
    return nullptr;
}

void openPad(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || padOf(id) != nullptr) {
        return; // already open: SDL announces the pads present at start once more
    }
    for (Pad& pad : pads) {
        if (pad.controller == nullptr) {
            SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
            if (controller != nullptr) {
                pad = Pad{controller, id, {}};
            }
            return;
        }
    }
    // Every slot is taken: this pad stays unread until one frees (see openWaitingPads).
}

// A slot has freed: the first pad plugged in and left unread takes it.
void openWaitingPads() {
    const int plugged = SDL_NumJoysticks();
    for (int deviceIndex = 0; deviceIndex < plugged; ++deviceIndex) {
        if (SDL_IsGameController(deviceIndex)) {
            openPad(deviceIndex);
        }
    }
}

void closePad(Pad& pad) {
    for (int input = 0; input < InputCount; ++input) {
        setInput(pad, input, false);
    }
    SDL_GameControllerClose(pad.controller);
    pad = Pad{};
}

int buttonInput(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return DpadRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return DpadDown;
    case SDL_CONTROLLER_BUTTON_A:
        return SouthButton;
    case SDL_CONTROLLER_BUTTON_B:
        return EastButton;
    case SDL_CONTROLLER_BUTTON_START:
        return StartButton;
    default:
        return InputCount; // no key of the game's
    }
}

// One axis of the stick: `negative` is the input pushed towards the axis's low end.
void moveStick(Pad& pad, int negative, int positive, int value) {
    if (value <= -StickPressed) {
        setInput(pad, negative, true);
    } else if (value > -StickReleased) {
        setInput(pad, negative, false);
    }
    if (value >= StickPressed) {
        setInput(pad, positive, true);
    } else if (value < StickReleased) {
        setInput(pad, positive, false);
    }
}

} // namespace

bool start() {
    if (started || startRefused) {
        return started; // asked at every message read: a refusal is not asked again
    }
    // The platform reads the pads itself (see update), so that SDL's event wait still blocks in
    // the desktop's own wait while a pad is plugged in: SDL polls every millisecond otherwise.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    // SDL_GAMECONTROLLERCONFIG is read by SDL itself here.
    started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    startRefused = !started;
    return started;
}

void stop() {
    if (!started) {
        return;
    }
    for (Pad& pad : pads) {
        if (pad.controller != nullptr) {
            closePad(pad);
        }
    }
    waitingCount = 0; // the game reads no more messages once its window is gone
    // Kept deliberately: SDL's game-controller subsystem stays up to the end of the program, as
    // the audio output does. Taking it down joins SDL's device threads, which held shutdown up
    // for seconds, and a termination signal must end the game at once.
    started = false;
}

bool isPadEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        return true;
    default:
        return false;
    }
}

void handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        openPad(event.cdevice.which);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (Pad* pad = padOf(event.cdevice.which)) {
            closePad(*pad);
            openWaitingPads();
        }
        return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad* pad = padOf(event.cbutton.which);
        const int input = buttonInput(event.cbutton.button);
        if (pad != nullptr && input != InputCount) {
            setInput(*pad, input, event.type == SDL_CONTROLLERBUTTONDOWN);
        }
        return;
    }
    case SDL_CONTROLLERAXISMOTION: {
        Pad* pad = padOf(event.caxis.which);
        if (pad == nullptr) {
            return;
        }
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            moveStick(*pad, StickLeft, StickRight, event.caxis.value);
        } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
            moveStick(*pad, StickUp, StickDown, event.caxis.value); // y grows downwards
        }
        return;
    }
    default:
        return;
    }
}

void update() {
    if (started) {
        SDL_GameControllerUpdate();
    }
}

bool padPressesArrive() {
    // SDL passes on nothing a pad does while no window of the game's has the keyboard, unless
    // asked to (SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS).
    if (SDL_GetKeyboardFocus() == nullptr &&
        !SDL_GetHintBoolean(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, SDL_FALSE)) {
        return false;
    }
    for (const Pad& pad : pads) {
        if (pad.controller != nullptr) {
            return true;
        }
    }
    return false;
}

bool takeMessage(Message& message) {
    if (waitingCount == 0) {
        return false;
    }
    message = waiting[waitingFirst];
    waitingFirst = (waitingFirst + 1) % WaitingSlots;
    --waitingCount;
    return true;
}

} // namespace sdl_gamepads
