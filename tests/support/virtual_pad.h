// A pad with every standard button and axis, as a Steam Deck or any mapped pad gives them,
// plugged in through SDL's virtual joysticks: the tests' and the bench programs' stand-in for a
// real gamepad.
#pragma once

#include <SDL2/SDL.h>

// The new pad's device index, or -1 with SDL's error.
inline int attachVirtualPad(const char* name) {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    description.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
    description.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
    description.name = name;
    return SDL_JoystickAttachVirtualEx(&description);
}

// Attached and opened, or nullptr with SDL's error.
inline SDL_Joystick* plugInVirtualPad(const char* name) {
    const int index = attachVirtualPad(name);
    return index >= 0 ? SDL_JoystickOpen(index) : nullptr;
}
