// make_pictures <DataDir>
//     Draws the game's 25 pictures under <DataDir>/Kuvat/.
// make_pictures --contact-sheet <DataDir> <out.png>
//     Reads them back and writes one overview picture.
// make_pictures --icon <out.png> <size>
//     Draws the desktop icon, size x size pixels.
// make_pictures --windows-icon <out.ico>
//     Draws the icon at every size a Windows program's icon holds.
// make_pictures --installer-header <out.bmp>
//     Draws the Windows installer's header picture.
#include "contact_sheet.h"
#include "icon_picture.h"
#include "make_pictures.h"
#include "text.h"
#include "windows_pictures.h"

#include <iostream>
#include <optional>
#include <string_view>

namespace {

int run(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]).substr(0, 2) != "--") {
        return pictures::makeAllPictures(argv[1], std::cerr) ? 0 : 1;
    }
    if (argc == 4 && std::string_view(argv[1]) == "--contact-sheet") {
        return pictures::makeContactSheet(argv[2], argv[3], std::cerr) ? 0 : 1;
    }
    if (argc == 4 && std::string_view(argv[1]) == "--icon") {
        const std::optional<int> size = pictures::parseIconSize(argv[3]);
        if (!size) {
            std::cerr << "make_pictures: the icon size must be a whole number from "
                      << pictures::smallestIconSize << " to " << pictures::largestIconSize << "\n";
            return 2;
        }
        return pictures::makeIcon(argv[2], *size, std::cerr) ? 0 : 1;
    }
    if (argc == 3 && std::string_view(argv[1]) == "--windows-icon") {
        return pictures::makeWindowsIcon(argv[2], std::cerr) ? 0 : 1;
    }
    if (argc == 3 && std::string_view(argv[1]) == "--installer-header") {
        return pictures::makeInstallerHeader(argv[2], std::cerr) ? 0 : 1;
    }
    std::cerr << "usage: make_pictures <DataDir>\n"
                 "       make_pictures --contact-sheet <DataDir> <out.png>\n"
                 "       make_pictures --icon <out.png> <size>\n"
                 "       make_pictures --windows-icon <out.ico>\n"
                 "       make_pictures --installer-header <out.bmp>\n";
    return 2;
}

} // namespace

// The sanitizer build runs this tool while building. Fontconfig keeps its pattern caches until
// the process ends, and releasing them by hand (FcFini) asserts whenever pango still holds a
// font, which happened now and then on a busy machine: those blocks are the library's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

int main(int argc, char** argv) {
    return run(argc, argv);
}
