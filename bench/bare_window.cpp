// The floor of start-up: a bare SDL2 OpenGL window, asked for as the game asks for its own (the
// same attributes, full screen on the desktop), that clears, presents once and exits. With
// --stay it keeps the window and sleeps in SDL's event wait until it is closed: the floor of a
// minimized game's CPU use. With --draw it keeps the window and draws one picture (a 1024x1024
// texture over the whole window, as the game draws a screen's background) again and again at the
// display's rate, paced as the game paces its frames: the floor of a screen drawn every frame.
// It prints the rate it draws at as "refresh_hz N".
#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/sdl_video.h"

namespace {

constexpr int PictureSize = 1024;

GLuint uploadPicture() {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(PictureSize) * PictureSize * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7 / 3);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, PictureSize, PictureSize, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    return texture;
}

void drawPicture(GLuint texture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

std::int64_t monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The standard library's sleep: mingw's clock_nanosleep sleeps far past an absolute monotonic
// time, and the floor then drew a few frames a second under Wine.
void sleepUntil(std::int64_t due) {
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(due))));
}

bool closing(const SDL_Event& event) {
    return event.type == SDL_QUIT ||
           (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
}

// Draws the picture every period until the window is closed. A late frame moves the schedule on
// instead of drawing several frames back to back to catch up.
void drawAtDisplayRate(SDL_Window* window) {
    const int rate = sdl_video::refreshRate(window); // as the game's frame pacing reads it
    std::printf("refresh_hz %d\n", rate);
    std::fflush(stdout);
    const GLuint texture = uploadPicture();
    const std::int64_t period = 1'000'000'000 / rate;
    std::int64_t due = monotonicNanoseconds();
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            if (closing(event)) {
                return;
            }
        }
        drawPicture(texture);
        SDL_GL_SwapWindow(window);
        due += period;
        const std::int64_t now = monotonicNanoseconds();
        if (due < now) {
            due = now;
        } else {
            sleepUntil(due);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool stay = argc > 1 && std::strcmp(argv[1], "--stay") == 0;
    const bool draw = argc > 1 && std::strcmp(argv[1], "--draw") == 0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("bare window", 0, 0, 1024, 768,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (window == nullptr) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        std::fprintf(stderr, "bare_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(1);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    if (draw) {
        drawAtDisplayRate(window);
    }
    while (stay) {
        SDL_Event event;
        if (SDL_WaitEvent(&event) == 0 || closing(event)) {
            break;
        }
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
