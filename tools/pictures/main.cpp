// make_pictures <DataDir>
//     Draws the game's 25 pictures under <DataDir>/Kuvat/.
// make_pictures --contact-sheet <DataDir> <out.png>
//     Reads them back and writes one overview picture.
#include "contact_sheet.h"
#include "make_pictures.h"
#include "text.h"

#include <iostream>
#include <string_view>

namespace {

int run(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) != "--contact-sheet") {
        return pictures::makeAllPictures(argv[1], std::cerr) ? 0 : 1;
    }
    if (argc == 4 && std::string_view(argv[1]) == "--contact-sheet") {
        return pictures::makeContactSheet(argv[2], argv[3], std::cerr) ? 0 : 1;
    }
    std::cerr << "usage: make_pictures <DataDir>\n"
                 "       make_pictures --contact-sheet <DataDir> <out.png>\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const int status = run(argc, argv);
    pictures::releaseFontCaches();
    return status;
}
