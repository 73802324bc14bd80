// Message boxes over SDL: shown above the game's window when it is on screen, out of full screen
// for as long as they are up, and reported on standard error where no desktop can show them.
#include <SDL2/SDL.h>

#include <cstdio>

#include "platform/desktop.h"
#include "platform/platform.h"
#include "platform/sdl_video.h"
#include "platform/termination_signals.h"

namespace platform {

namespace {

// SDL's driver draws on the system's desktop (x11 or wayland; windows), never on the offscreen
// one nobody sees.
bool namesDesktopDriver(const char* driver) {
    return driver != nullptr && desktop::isDesktopDriver(driver);
}

// Whether SDL's video reaches a desktop at all. Checked first, because SDL's zenity path reports
// success (with no button) when zenity cannot open the display, which would pass off an unshown
// box as an answered one. Where video is not up, it is brought up just for the look.
bool desktopReachable() {
    if (!sdl_video::environmentNamesDisplay()) {
        return false;
    }
    if (sdl_video::videoIsUp()) {
        return namesDesktopDriver(SDL_GetCurrentVideoDriver());
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return false;
    }
    const bool reachable = namesDesktopDriver(SDL_GetCurrentVideoDriver());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return reachable;
}

Uint32 boxIconFlag(MessageBoxIcon icon) {
    switch (icon) {
    case MessageBoxIcon::Error:
        return SDL_MESSAGEBOX_ERROR;
    case MessageBoxIcon::Information:
        return SDL_MESSAGEBOX_INFORMATION;
    case MessageBoxIcon::Exclamation:
        break;
    }
    return SDL_MESSAGEBOX_WARNING;
}

// The game's window as the box's parent: only while it is on screen, since a box made transient
// for a hidden or minimized window can be hidden along with it.
SDL_Window* boxParent() {
    SDL_Window* window = sdl_video::window();
    if (window == nullptr) {
        return nullptr;
    }
    const Uint32 flags = SDL_GetWindowFlags(window);
    if ((flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0) {
        return nullptr;
    }
    return window;
}

MessageBoxAnswer reportUnshown(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return MessageBoxAnswer::NotShown;
}

} // namespace

MessageBoxAnswer showMessageBox(const char* text, const char* caption, MessageBoxButtons buttons,
                                MessageBoxIcon icon) {
    const char* shownText = text != nullptr ? text : "";
    const char* shownCaption = caption != nullptr ? caption : "";
    finishPreparingGlyphs(); // the box may be shown by a forked child
    if (!desktopReachable()) {
        return reportUnshown(shownText, shownCaption);
    }

    constexpr int OkId = 0;
    constexpr int YesId = 1;
    constexpr int NoId = 2;
    const SDL_MessageBoxButtonData okButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, OkId,
         "OK"}};
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, YesId, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, NoId, "No"}};
    const bool yesNo = buttons == MessageBoxButtons::YesNo;

    SDL_MessageBoxData box;
    SDL_zero(box);
    box.flags = boxIconFlag(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = boxParent();
    box.title = shownCaption;
    box.message = shownText;
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButtons;

    // A full-screen window may be kept above every other window by the window manager, box or
    // not; out of full screen for the box's lifetime, the player is sure to see it.
    const bool wasFullscreen = sdl_video::isFullscreen();
    sdl_video::setFullscreen(false);
    int pressed = -1;
    // A signal that came before the box ends the game by its Quit message, not by a box.
    const bool boxAllowed = termination_signals::enterBox();
    const int shown = boxAllowed ? SDL_ShowMessageBox(&box, &pressed) : -1;
    termination_signals::leaveBox();
    sdl_video::setFullscreen(wasFullscreen);
    if (shown != 0) {
        return reportUnshown(shownText, shownCaption);
    }
    switch (pressed) {
    case YesId:
        return MessageBoxAnswer::Yes;
    case NoId:
        return MessageBoxAnswer::No;
    case OkId:
        return MessageBoxAnswer::Ok;
    default:
        // Closed without a button: as Escape would have answered.
        return yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
    }
}

} // namespace platform
