// The SDL window and OpenGL context behind the window steps of the platform seam. Shared by the
// real platform and by the tests' scripted platform, which runs it on SDL's offscreen driver.
#pragma once

struct SDL_Window;

namespace sdl_video {

bool startVideo(); // SDL's video subsystem, with the GL attributes the game asks for
void stopVideo();
bool displayFits(int width, int height); // the desktop is at least width x height
// Covers the desktop without a mode switch; out of full screen it is a window of
// windowedWidth x windowedHeight at (0, 0) (0 x 0: SDL's smallest).
bool createFullscreenWindow(const char* title, int windowedWidth = 0, int windowedHeight = 0);
bool createWindowedWindow(const char* title, int clientWidth, int clientHeight);
bool leaveFullscreen();
bool enterFullscreen(); // back into full screen after leaveFullscreen
bool isFullscreen();
bool createContext(); // creates the context; SDL makes it current as well
bool makeContextCurrent();
bool releaseContext();
bool deleteContext();
bool destroyWindow();
void showWindow();
void drawableSize(int& width, int& height);
void swapWindow();

bool hasWindow();
bool hasContext();
bool contextIsCurrent();
SDL_Window* window(); // null when there is none

} // namespace sdl_video
