#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/standard_streams.h"
#include "shell/shell.h"

namespace {

constexpr const char* Usage =
    "Usage: tolvar [--fullscreen | --windowed]\n"
    "       tolvar --help | --version\n"
    "  --fullscreen  play full screen this time (the default, until you choose a window)\n"
    "  --windowed    play in a window this time, 1024x768 until you resize it; it can be\n"
    "                resized and maximised\n"
    "  --help        print this help and exit\n"
    "  --version     print the name and the version and exit\n"
    "In the game, Alt+Enter or F11 switches between full screen and a window, and M mutes\n"
    "the music. The game keeps those choices and the window's size for the next start in\n"
    "Settings.txt, beside the progress file Data.dat in the game's folder, or for an\n"
    "installed game in the player's own (~/.local/share/tolvar/ on Linux, %APPDATA%\\Tolvar\n"
    "on Windows): lines such as \"music = off\", \"window = windowed\" and\n"
    "\"window_size = 1024x768\".\n";

bool is(const char* argument, const char* option) {
    return std::strcmp(argument, option) == 0;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (is(argument, "--help") || is(argument, "-h")) {
            line.request = CommandLineRequest::Help;
            return line;
        }
        if (is(argument, "--version")) {
            line.request = CommandLineRequest::Version;
            return line;
        }
        if (is(argument, "--windowed") || is(argument, "--fullscreen")) {
            line.fullscreen = is(argument, "--fullscreen");
            line.modeGiven = true;
        } else {
            line.request = CommandLineRequest::Refused;
            line.refused = argument;
            return line;
        }
    }
    return line;
}

namespace {

// The answer reached standard output only if it was flushed without an error: a full disk or a
// closed pipe is a failure to say so, not a silent success.
int answered() {
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return 0;
    }
    std::fprintf(stderr, "tolvar: cannot write to standard output: %s\n", std::strerror(errno));
    return 1;
}

// The answer on standard output, or in a box where that reaches nobody (a Windows program started
// from a shortcut or the Run box).
int answer(const char* text) {
    if (!platform::standardOutputReachesSomeone()) {
        platform::showMessageBox(text, "Tolvar", platform::MessageBoxButtons::Ok,
                                 platform::MessageBoxIcon::Information);
        return 0;
    }
    std::fputs(text, stdout);
    return answered();
}

} // namespace

int answerCommandLine(const CommandLine& line) {
    switch (line.request) {
    case CommandLineRequest::Help:
        return answer(Usage);
    case CommandLineRequest::Version:
        return answer("tolvar " TOLVAR_VERSION "\n");
    case CommandLineRequest::Refused:
        std::fprintf(stderr, "tolvar: %s '%s'\n%s",
                     line.refused[0] == '-' ? "unknown option" : "unexpected argument",
                     line.refused, Usage);
        return 2;
    case CommandLineRequest::Play:
        break;
    }
    return 0;
}
