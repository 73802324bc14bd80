// The keyboard's keys in the game's terms: the Win32 virtual-key codes its key table is indexed
// with, and the keys that belong to the window (F11, Alt+Enter).
#pragma once

#include <SDL2/SDL.h>

#include "platform/platform.h"

namespace sdl_keys {

// A key going down: a KeyDown with its code (through sdl_gamepads, which counts the keyboard's
// and the pads' holds of one key together), a FullscreenToggle, or Other for a key the game does
// not read, a repeat, or a key with Alt held.
platform::Message keyDownMessage(const SDL_KeyboardEvent& key);

} // namespace sdl_keys
