#include "picture_decoding.h"

#include <GL/gl.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

// After <cstdio>: jpeglib.h needs FILE declared before it.
#include <jpeglib.h>
#include <png.h>

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

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libjpeg reports a fatal error by calling error_exit, which must not return.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void leaveDecoding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// The upload the game's pictures could have at best: their own format, no conversion on our side.
unsigned int uploadTexture(const unsigned char* pixels, int width, int height, int channels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = channels == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return texture;
}

bool endsWith(const char* text, const char* ending) {
    const std::size_t length = std::strlen(text);
    const std::size_t endingLength = std::strlen(ending);
    return length >= endingLength && std::strcmp(text + length - endingLength, ending) == 0;
}

DecodedPicture decodeJpeg(std::FILE* file, Upload upload) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leaveDecoding;
    // Volatile, so that after an error's jump it still names what was allocated.
    unsigned char* volatile pixels = nullptr;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        delete[] pixels;
        return DecodedPicture{};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
    pixels = new unsigned char[stride * info.output_height];
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + stride * (info.output_height - 1 - info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    DecodedPicture picture{static_cast<int>(info.output_width),
                           static_cast<int>(info.output_height), info.output_components, true};
    if (upload == Upload::AsTexture) {
        picture.texture = uploadTexture(pixels, picture.width, picture.height, picture.channels);
    }
    jpeg_destroy_decompress(&info);
    delete[] pixels;
    return picture;
}

DecodedPicture decodePng(std::FILE* file, Upload upload) {
    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (reader == nullptr) {
        return DecodedPicture{};
    }
    png_infop info = png_create_info_struct(reader);
    unsigned char* volatile pixels = nullptr;
    png_bytep* volatile rows = nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(reader)) != 0) {
        png_destroy_read_struct(&reader, &info, nullptr);
        delete[] pixels;
        delete[] rows;
        return DecodedPicture{};
    }
    png_init_io(reader, file);
    png_read_info(reader, info);
    // Whatever the file holds, eight-bit RGBA comes out, as the ball's picture is used.
    png_set_expand(reader);
    png_set_strip_16(reader);
    png_set_gray_to_rgb(reader);
    png_set_add_alpha(reader, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(reader, info);
    const png_uint_32 width = png_get_image_width(reader, info);
    const png_uint_32 height = png_get_image_height(reader, info);
    const std::size_t stride = png_get_rowbytes(reader, info);
    pixels = new unsigned char[stride * height];
    rows = new png_bytep[height];
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = pixels + stride * (height - 1 - y);
    }
    png_read_image(reader, rows);
    png_read_end(reader, nullptr);
    DecodedPicture picture{static_cast<int>(width), static_cast<int>(height),
                           png_get_channels(reader, info), true};
    if (upload == Upload::AsTexture) {
        picture.texture = uploadTexture(pixels, picture.width, picture.height, picture.channels);
    }
    png_destroy_read_struct(&reader, &info, nullptr);
    delete[] pixels;
    delete[] rows;
    return picture;
}

} // namespace

DecodedPicture decodePicture(const char* path, Upload upload) {
    File file(std::fopen(path, "rb"));
    if (!file) {
        return DecodedPicture{};
    }
    return endsWith(path, ".png") ? decodePng(file.get(), upload) : decodeJpeg(file.get(), upload);
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
