#include "shell/shell.h"

namespace {

// Before every other constructor of the program, the progress file's open among them.
__attribute__((constructor(101))) void openStandardStreamsFirst() {
    openStandardStreams();
}

} // namespace

// Everything the game reads and writes is relative to the working directory, which holds Data/
// and Data.dat; the command line only chooses full screen or a window, or asks for help.
int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.request != CommandLineRequest::Play) {
        return answerCommandLine(line);
    }
    fullscreen = line.fullscreen;
    return runGame();
}
