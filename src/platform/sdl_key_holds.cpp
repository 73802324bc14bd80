#include "platform/sdl_key_holds.h"

#include <cstdint>

namespace sdl_key_holds {

using platform::Message;
using platform::MessageKind;

namespace {

int holderCount[KeyCodes] = {};
// The key each keyboard key holds, by scancode; 0: none. Kept from the press, so that the
// release lets go of that key whatever modifiers are held by then.
std::uint8_t keyboardHolds[SDL_NUM_SCANCODES] = {};

} // namespace

void hold(int key) {
    ++holderCount[key];
}

bool letGo(int key) {
    --holderCount[key];
    return holderCount[key] == 0;
}

Message pressKeyboardKey(SDL_Scancode scancode, int key) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES || key <= 0 || key >= KeyCodes) {
        return Message{MessageKind::Other};
    }
    if (keyboardHolds[scancode] == 0) {
        keyboardHolds[scancode] = static_cast<std::uint8_t>(key);
        hold(key);
    }
    // Pressed again without a release between (one lost with the focus, say): still a press.
    return Message{MessageKind::KeyDown, key};
}

Message releaseKeyboardKey(SDL_Scancode scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES || keyboardHolds[scancode] == 0) {
        return Message{MessageKind::Other};
    }
    const int key = keyboardHolds[scancode];
    keyboardHolds[scancode] = 0;
    return letGo(key) ? Message{MessageKind::KeyUp, key} : Message{MessageKind::Other};
}

} // namespace sdl_key_holds
