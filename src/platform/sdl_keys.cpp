#include "platform/sdl_keys.h"

#include "platform/sdl_key_holds.h"

namespace sdl_keys {

namespace {

// 0: a key the game has no code for. A letter key of a layout beyond Latin (Russian, Greek...)
// gives its own letter, never A to Z: it stands for the Latin letter at its place on the
// keyboard, so that M and P still mute and pause. A Latin layout's keys keep their letters
// wherever the layout puts them (AZERTY's M is M, its key at QWERTY's M is not).
int virtualKeyCode(SDL_Keycode key, SDL_Scancode place) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + static_cast<int>(key - SDLK_a);
    }
    const bool beyondLatin = key > 0x7F && (key & SDLK_SCANCODE_MASK) == 0;
    if (beyondLatin && place >= SDL_SCANCODE_A && place <= SDL_SCANCODE_Z) {
        return 'A' + static_cast<int>(place - SDL_SCANCODE_A);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + static_cast<int>(key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return platform::VK_F1 + static_cast<int>(key - SDLK_F1);
    }
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return platform::VK_RETURN;
    case SDLK_ESCAPE:
        return platform::VK_ESCAPE;
    case SDLK_TAB:
        return platform::VK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return platform::VK_SHIFT;
    case SDLK_PAUSE:
        return platform::VK_PAUSE;
    case SDLK_SPACE:
        return platform::VK_SPACE;
    case SDLK_LEFT:
        return platform::VK_LEFT;
    case SDLK_UP:
        return platform::VK_UP;
    case SDLK_RIGHT:
        return platform::VK_RIGHT;
    case SDLK_DOWN:
        return platform::VK_DOWN;
    default:
        return 0;
    }
}

bool isReturnKey(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

} // namespace

// A key goes down for the game with every new press of any keyboard key or pad that gives it,
// and up when the last of them lets go (see sdl_gamepads).
platform::Message keyDownMessage(const SDL_KeyboardEvent& key) {
    const bool altHeld = (key.keysym.mod & KMOD_ALT) != 0;
    // F11 and Alt+Enter belong to the window, never to the game; a held key toggles once.
    if (key.keysym.sym == SDLK_F11 || (altHeld && isReturnKey(key.keysym.sym))) {
        return platform::Message{key.repeat == 0 ? platform::MessageKind::FullscreenToggle
                                                 : platform::MessageKind::Other};
    }
    // The desktop's auto-repeat is no press; with Alt held a key is a system key, which the game
    // leaves to the desktop.
    const int code = virtualKeyCode(key.keysym.sym, key.keysym.scancode);
    if (key.repeat != 0 || altHeld || code == 0) {
        return platform::Message{platform::MessageKind::Other};
    }
    return sdl_key_holds::pressKeyboardKey(key.keysym.scancode, code);
}

} // namespace sdl_keys
