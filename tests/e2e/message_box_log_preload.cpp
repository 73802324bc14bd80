// Preloaded into the game under test: writes the caption, buttons and text of every message box
// the game asks SDL for to the file named by TOLVAR_E2E_MESSAGE_BOX_LOG, then shows the real
// box. The test still answers the real box on the X server; the log tells it what the box said.
#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

using ShowMessageBox = int (*)(const SDL_MessageBoxData*, int*);

void logBox(const SDL_MessageBoxData* box) {
    const char* path = std::getenv("TOLVAR_E2E_MESSAGE_BOX_LOG");
    if (path == nullptr || box == nullptr) {
        return;
    }
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr) {
        return;
    }
    // One record per box: caption, the buttons' texts, then the text with its line breaks kept,
    // ended by a line holding only "--".
    std::fprintf(file, "caption: %s\nbuttons:", box->title != nullptr ? box->title : "");
    for (int i = 0; i < box->numbuttons; ++i) {
        std::fprintf(file, " %s", box->buttons[i].text);
    }
    std::fprintf(file, "\ntext: %s\n--\n", box->message != nullptr ? box->message : "");
    std::fclose(file);
}

} // namespace

extern "C" int SDL_ShowMessageBox(const SDL_MessageBoxData* box, int* buttonId) {
    logBox(box);
    static ShowMessageBox realShowMessageBox =
        reinterpret_cast<ShowMessageBox>(dlsym(RTLD_NEXT, "SDL_ShowMessageBox"));
    if (realShowMessageBox == nullptr) {
        return -1;
    }
    return realShowMessageBox(box, buttonId);
}
