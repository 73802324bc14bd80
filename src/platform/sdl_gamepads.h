// Gamepads through SDL's GameController API, turned into the key messages the game reads; the
// keys they share with the keyboard are held in sdl_key_holds. Pads come and go at any moment;
// SDL's own mappings and SDL_GAMECONTROLLERCONFIG name their buttons.
#pragma once

#include <SDL2/SDL.h>

#include "platform/platform.h"

namespace sdl_gamepads {

// The pads already plugged in arrive as added events from here on. False when SDL has no
// game-controller support here; the keyboard and mouse go on as before.
bool start();
// Closes every pad and lets go of the keys they held, without a message: the game reads no more
// once its window is gone. SDL's game-controller subsystem stays up.
void stop();

// Reads the pads: what they did since arrives in SDL's queue as pad events. SDL does not do it
// by itself (its event wait would poll while a pad is plugged in), so the platform calls this
// before it reads the queue and while it waits.
void update();
// A pad is open and what it does reaches the game: the window has the keyboard (or SDL is asked
// to pass on pad events without it).
bool padPressesArrive();

bool isPadEvent(const SDL_Event& event);
// Takes in one pad event; the key messages it gives wait for takeMessage.
void handleEvent(const SDL_Event& event);
bool takeMessage(platform::Message& message);

} // namespace sdl_gamepads
