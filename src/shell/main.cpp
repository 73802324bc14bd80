#include "assets/assets.h"
#include "platform/program_entry.h"
#include "platform/standard_streams.h"
#include "shell/shell.h"

// The system's entry point comes here. The working directory holds Data.dat and Settings.txt,
// and Data/ too except for an installed copy that keeps the player's files apart (findGameFolder);
// the command line only chooses full screen or a window for this run, or asks for help.
int runTolvar(int argc, char** argv) {
    // Nothing of the game runs before this: no file is opened, nothing printed.
    platform::openStandardStreams();
    const CommandLine line = parseCommandLine(argc, argv);
    if (line.request != CommandLineRequest::Play) {
        return answerCommandLine(line);
    }
    // The settings and the progress lie beside Data/, so that folder is found first, signals
    // watched while its box may be up.
    platform::watchTerminationSignals();
    if (!findGameFolder()) {
        return 1;
    }
    useSettings(loadSettings());
    if (line.modeGiven) {
        fullscreen = line.fullscreen;
    }
    return runGame();
}
