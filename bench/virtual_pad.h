// A pad with every standard button and axis, plugged in through SDL's virtual joysticks: the
// bench programs' stand-in for a real gamepad. Opened, or nullptr with SDL's error.
#pragma once

#include <SDL2/SDL.h>

inline SDL_Joystick* plugInVirtualPad(const char* name) {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    description.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
    description.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
    description.name = name;
    const int index = SDL_JoystickAttachVirtualEx(&description);
    return index >= 0 ? SDL_JoystickOpen(index) : nullptr;
}
