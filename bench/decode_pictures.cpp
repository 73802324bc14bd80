// Prints the texture bytes of the game's 25 pictures, and whether they all decode with
// libjpeg-turbo and libpng alone. Run from the game's folder.
#include <cstdio>

#include "picture_decoding.h"

int main() {
    if (!bench::decodeAllPictures()) {
        std::fprintf(stderr, "decode_pictures: a picture did not decode\n");
        return 1;
    }
    std::printf("texture_bytes %zu\n", bench::textureBytes());
    return 0;
}
