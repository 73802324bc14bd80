#include <GL/gl.h>
#include <IL/il.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "assets/assets.h"
#include "assets/picture_header.h"
#include "shell/shell.h"

unsigned int logoTexture = 0;
unsigned int menuTexture = 0;
unsigned int playMenuTexture = 0;
unsigned int levelBackground[6] = {};
unsigned int boardTexture = 0;
unsigned int ballTexture = 0;
unsigned int weightTextures[11] = {};
unsigned int boxTexture = 0;
unsigned int gameOverTexture = 0;
unsigned int helpTexture = 0;
unsigned int creditsTexture = 0;
unsigned int levelSelectTexture = 0;

namespace {

struct PictureEntry {
    const char* path;
    unsigned int* slot;
};

// The loading order is fixed; the weights' pictures are named by the weight they show.
const PictureEntry pictureCatalogue[] = {
    {layout::logoPicture, &logoTexture},
    {layout::menuPicture, &menuTexture},
    {layout::playMenuPicture, &playMenuTexture},
    {layout::levelBackgroundPictures[1], &levelBackground[1]},
    {layout::boardPicture, &boardTexture},
    {layout::ballPicture, &ballTexture},
    {layout::weightPictures[1], &weightTextures[1]},
    {layout::weightPictures[2], &weightTextures[2]},
    {layout::weightPictures[3], &weightTextures[3]},
    {layout::weightPictures[4], &weightTextures[4]},
    {layout::weightPictures[5], &weightTextures[5]},
    {layout::weightPictures[6], &weightTextures[6]},
    {layout::weightPictures[7], &weightTextures[7]},
    {layout::weightPictures[8], &weightTextures[8]},
    {layout::weightPictures[9], &weightTextures[9]},
    {layout::weightPictures[10], &weightTextures[10]},
    {layout::levelBackgroundPictures[2], &levelBackground[2]},
    {layout::completionBoxPicture, &boxTexture},
    {layout::gameOverPicture, &gameOverTexture},
    {layout::levelBackgroundPictures[3], &levelBackground[3]},
    {layout::levelBackgroundPictures[4], &levelBackground[4]},
    {layout::levelBackgroundPictures[5], &levelBackground[5]},
    {layout::helpPicture, &helpTexture},
    {layout::creditsPicture, &creditsTexture},
    {layout::levelSelectPicture, &levelSelectTexture},
};

ILubyte missingPicturePixel[3] = {0, 0, 0};

} // namespace

void startImageLibrary() {
    ilInit();
    // Every picture is decoded with its bottom row first, as a texture's t runs from 0: none
    // needs turning over on its way to the graphics library.
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_ORIGIN_SET);
}

namespace {

// The bound image as a texture: as red, green, blue and alpha bytes, whatever the file held
// (grey, a palette, no alpha), and filtered linearly when it is drawn larger or smaller.
unsigned int uploadBoundImage() {
    if (ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) != IL_TRUE || ilGetData() == nullptr) {
        // Never read the pixels of another layout as four bytes each: the slot draws black, as
        // that of a picture that cannot be read does.
        static const std::uint8_t black[4] = {0, 0, 0, 0xFF};
        return createRgbaTexture(1, 1, black, TextureSampling::Linear);
    }
    return createRgbaTexture(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT),
                             ilGetData(), TextureSampling::Linear);
}

// Pictures [first, end) of the catalogue, each bound as a texture into its slot.
void loadCatalogue(std::size_t first, std::size_t end) {
    for (std::size_t index = first; index < end; ++index) {
        const PictureEntry& entry = pictureCatalogue[index];
        if (platform::terminationRequested()) {
            break; // the game is being ended: the rest stays unloaded, nothing draws them
        }
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        // A fresh image is one pixel whose value the library never sets, and a picture that
        // cannot be read leaves it so; given one black pixel first, such a slot draws plain black.
        ilTexImage(1, 1, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, missingPicturePixel);
        // Left out, and named on standard error: anything but a regular file (a FIFO would hang
        // the start-up), a picture too large to decode safely and one that cannot be decoded.
        if (std::FILE* file = platform::openDataFile(entry.path)) {
            const bool decoded =
                pictureWithinLimits(file) && ilLoadF(ilTypeFromExt(entry.path), file) == IL_TRUE;
            std::fclose(file);
            if (!decoded) {
                std::fprintf(stderr, "tolvar: %s: not a picture that can be read\n", entry.path);
            }
        }
        *entry.slot = uploadBoundImage();
        ilDeleteImages(1, &image);
    }
}

constexpr std::size_t LogoEntries = 1; // the logo stands first in the catalogue
constexpr std::size_t CatalogueEntries = std::size(pictureCatalogue);

} // namespace

int loadTextures() {
    loadCatalogue(0, CatalogueEntries);
    return 0;
}

void loadLogoTexture() {
    loadCatalogue(0, LogoEntries);
}

void loadTexturesAfterLogo() {
    loadCatalogue(LogoEntries, CatalogueEntries);
}

void finishImageLibrary() {
    glEnable(GL_TEXTURE_2D);
}
