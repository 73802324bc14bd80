// What the rest of the SDL platform shares with its message queue (sdl_messages.cpp).
#pragma once

#include "platform/platform.h"

namespace platform::sdl_messages {

// Window coordinates to drawable pixels (they differ on HiDPI displays).
PixelPoint toDrawable(int x, int y);
// Lets the desktop's pings and repaints be answered; the events stay queued for the game.
void answerDesktop();
// A Size message in the game's queue, in drawable pixels, in its place among the desktop's events.
void postSize(int width, int height);
// A frame has reached the screen: from now on a repaint the desktop asks for needs no new frame.
void noteFramePresented();

} // namespace platform::sdl_messages
