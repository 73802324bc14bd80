#include "picture_codec.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

namespace pictures {

RgbaPicture::RgbaPicture(int width, int height)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 4, 0) {}

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::filesystem::path& path, const char* mode) {
    return File(std::fopen(path.string().c_str(), mode));
}

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// call that began the work, which reports the failure.
struct JumpingErrors {
    jpeg_error_mgr base;
    std::jmp_buf resume;
};

void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->resume, 1);
}

void ignoreMessage(j_common_ptr, int) {}

bool compress(std::FILE* file, const RgbaPicture& picture, int quality, std::vector<JSAMPLE>& row) {
    jpeg_compress_struct info;
    JumpingErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = ignoreMessage;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.width; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                row[static_cast<std::size_t>(x) * 3 + channel] = picture.at(x, y)[channel];
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool decompress(std::FILE* file, RgbaPicture& picture, std::vector<JSAMPLE>& row) {
    jpeg_decompress_struct info;
    JumpingErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = ignoreMessage;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture =
        RgbaPicture(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    picture.fileChannels = info.num_components;
    row.resize(static_cast<std::size_t>(picture.width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* pixel = picture.at(x, y);
            for (int channel = 0; channel < 3; ++channel) {
                pixel[channel] = row[static_cast<std::size_t>(x) * 3 + channel];
            }
            pixel[3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool writeJpeg(const RgbaPicture& picture, const std::filesystem::path& path, int quality) {
    File file = openFile(path, "wb");
    if (!file) {
        return false;
    }
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 3);
    const bool compressed = compress(file.get(), picture, quality, row);
    return compressed && std::fclose(file.release()) == 0;
}

bool writePng(const RgbaPicture& picture, const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    File file = openFile(path, "wb");
    const bool written = file && png_image_write_to_stdio(&image, file.get(), 0,
                                                          picture.pixels.data(), 0, nullptr) != 0;
    return written && std::fclose(file.release()) == 0;
}

std::optional<RgbaPicture> readJpeg(const std::filesystem::path& path) {
    File file = openFile(path, "rb");
    RgbaPicture picture;
    std::vector<JSAMPLE> row;
    if (!file || !decompress(file.get(), picture, row)) {
        return std::nullopt;
    }
    return picture;
}

std::optional<RgbaPicture> readPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    File file = openFile(path, "rb");
    if (!file || png_image_begin_read_from_stdio(&image, file.get()) == 0) {
        return std::nullopt;
    }
    RgbaPicture picture(static_cast<int>(image.width), static_cast<int>(image.height));
    picture.fileChannels = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(image.format));
    image.format = PNG_FORMAT_RGBA;
    if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    return picture;
}

} // namespace pictures
