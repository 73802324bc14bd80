#include <emscripten/emscripten.h>

#include "platform/program_entry.h"

// The page hands the arguments (packaging/web_page.html.in) once the data is loaded and the
// player's folder read from the browser's storage (web_player_folder.js). A game that has waited
// for the browser returns to no caller that would end the program: it is ended here, and the page
// then shows that it has.
int main(int argc, char** argv) {
    const int status = runTolvar(argc, argv);
    emscripten_force_exit(status);
    return status;
}
