// The floor of picture loading: the game's 25 pictures decoded with libjpeg-turbo and libpng
// alone (the tools' picture codec), with no image library above them and no upload.
#pragma once

#include <cstddef>

namespace bench {

// The game's pictures, relative to the game's folder, in the order the game loads them.
constexpr int PictureCount = 25;
extern const char* const picturePaths[PictureCount];

struct DecodedPicture {
    int width = 0;
    int height = 0;
    int channels = 0; // what the file stores: 3 for the JPEG pictures, 4 for the PNG
    bool decoded = false;
    unsigned int texture = 0; // when uploaded: the texture name, which the caller deletes
};

enum class Upload { No, AsTexture };

// Decodes the whole file into RGBA memory of its own, uploads it as a 2-D texture when asked (a
// current context needed), and frees the memory again.
DecodedPicture decodePicture(const char* path, Upload upload = Upload::No);

// All 25, in order; false when any of them did not decode. Uploaded, their texture names go to
// `textures` (PictureCount of them).
bool decodeAllPictures(Upload upload = Upload::No, unsigned int* textures = nullptr);

// What the 25 pictures take as textures: width x height x 4 bytes each, since the software
// renderer keeps three-channel pictures in four bytes a pixel too.
std::size_t textureBytes();

} // namespace bench
