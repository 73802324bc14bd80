// Gamepads through SDL's GameController API, turned into the key messages the game reads. Pads
// come and go at any moment; SDL's own mappings and SDL_GAMECONTROLLERCONFIG name their buttons.
#pragma once

#include <SDL2/SDL.h>

#include "platform/platform.h"

namespace sdl_gamepads {

// The pads already plugged in arrive as added events from here on. False when SDL has no
// game-controller support here; the keyboard and mouse go on as before.
bool start();
void stop(); // closes every pad (the keys they held are let go first); SDL stays up

bool isPadEvent(const SDL_Event& event);
// Takes in one pad event; the key messages it gives wait for takeMessage.
void handleEvent(const SDL_Event& event);
bool takeMessage(platform::Message& message);

} // namespace sdl_gamepads
