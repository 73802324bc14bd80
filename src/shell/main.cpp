#include "assets/assets.h"
#include "shell/shell.h"

namespace {

// Before every other constructor of the program, the progress file's open among them.
__attribute__((constructor(101))) void openStandardStreamsFirst() {
    openStandardStreams();
}

} // namespace

// Everything the game reads and writes is relative to the working directory, which holds Data/,
// Data.dat and Settings.txt; the command line only chooses full screen or a window for this run,
// or asks for help.
int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.request != CommandLineRequest::Play) {
        return answerCommandLine(line);
    }
    // The settings lie beside Data/, so that folder is found first, as runGame would (it finds
    // it again at once), signals watched while its box may be up.
    platform::watchTerminationSignals();
    if (!findGameFolder()) {
        return 1;
    }
    loadSettings();
    if (line.modeGiven) {
        fullscreen = line.fullscreen;
    }
    return runGame();
}
