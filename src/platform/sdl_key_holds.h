// Who holds each key of the game's: every keyboard key that gives it, and every pad. The key is
// down while any of them holds it; each new hold is a press of its own. The keyboard's side
// (sdl_keys.cpp) and the pads' (sdl_gamepads.cpp) both hold keys here.
#pragma once

#include <SDL2/SDL.h>

#include "platform/platform.h"

namespace sdl_key_holds {

constexpr int KeyCodes = 256; // the game's key codes are below this

void hold(int key);
bool letGo(int key); // true when that was the last holder

// A keyboard key that gives `key` pressed (not a desktop auto-repeat), or a keyboard key let go:
// the message for the game. A press is always a KeyDown; a release is a KeyUp only when no other
// keyboard key and no pad holds that key any more.
platform::Message pressKeyboardKey(SDL_Scancode scancode, int key);
platform::Message releaseKeyboardKey(SDL_Scancode scancode);

} // namespace sdl_key_holds
