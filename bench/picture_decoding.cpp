#include "picture_decoding.h"

#include <GL/gl.h>

#include <optional>
#include <string_view>

#include "picture_codec.h"

namespace bench {

const char* const picturePaths[PictureCount] = {
    "Data/Kuvat/Taustat/logo.jpg",       "Data/Kuvat/Taustat/menu.jpg",
    "Data/Kuvat/Taustat/playmenu.jpg",   "Data/Kuvat/Taustat/runtausta1.jpg",
    "Data/Kuvat/Objektit/lauta.jpg",     "Data/Kuvat/Objektit/Pallo.png",
    "Data/Kuvat/Objektit/1.jpg",         "Data/Kuvat/Objektit/2.jpg",
    "Data/Kuvat/Objektit/3.jpg",         "Data/Kuvat/Objektit/4.jpg",
    "Data/Kuvat/Objektit/5.jpg",         "Data/Kuvat/Objektit/6.jpg",
    "Data/Kuvat/Objektit/7.jpg",         "Data/Kuvat/Objektit/8.jpg",
    "Data/Kuvat/Objektit/9.jpg",         "Data/Kuvat/Objektit/10.jpg",
    "Data/Kuvat/Taustat/runtausta2.jpg", "Data/Kuvat/Objektit/ihqbox.jpg",
    "Data/Kuvat/Taustat/GO.jpg",         "Data/Kuvat/Taustat/runtausta3.jpg",
    "Data/Kuvat/Taustat/runtausta4.jpg", "Data/Kuvat/Taustat/runtausta5.jpg",
    "Data/Kuvat/Taustat/help.jpg",       "Data/Kuvat/Taustat/Credits.jpg",
    "Data/Kuvat/Taustat/loadgame.jpg",
};

namespace {

// The upload the game's pictures could have at best: RGBA, as the game uploads them, with no
// conversion on our side.
unsigned int uploadTexture(const pictures::RgbaPicture& picture) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.width, picture.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, picture.pixels.data());
    return texture;
}

} // namespace

DecodedPicture decodePicture(const char* path, Upload upload) {
    const std::string_view name(path);
    const std::optional<pictures::RgbaPicture> read =
        name.ends_with(".png") ? pictures::readPng(path) : pictures::readJpeg(path);
    if (!read) {
        return DecodedPicture{};
    }
    DecodedPicture picture{read->width, read->height, read->fileChannels, true};
    if (upload == Upload::AsTexture) {
        picture.texture = uploadTexture(*read);
    }
    return picture;
}

bool decodeAllPictures(Upload upload, unsigned int* textures) {
    bool all = true;
    for (int i = 0; i < PictureCount; ++i) {
        const DecodedPicture picture = decodePicture(picturePaths[i], upload);
        all = picture.decoded && all;
        if (textures != nullptr) {
            textures[i] = picture.texture;
        }
    }
    return all;
}

std::size_t textureBytes() {
    std::size_t bytes = 0;
    for (const char* path : picturePaths) {
        const DecodedPicture picture = decodePicture(path);
        bytes +=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4;
    }
    return bytes;
}

} // namespace bench
