#include "picture_files.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace pictures {
namespace {

// libjpeg reports fatal errors through error_exit, which must not return; we jump back to the
// call that started the work and report failure from there.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf resume;
};

void jumpBack(j_common_ptr info) {
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    std::longjmp(manager->resume, 1);
}

void ignoreMessage(j_common_ptr, int) {}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Converts one row of cairo's native-endian xRGB words to packed RGB bytes.
void packRow(const unsigned char* source, int width, unsigned char* rgb) {
    const auto* words = reinterpret_cast<const std::uint32_t*>(source);
    for (int x = 0; x < width; ++x) {
        const std::uint32_t word = words[x];
        rgb[3 * x] = static_cast<unsigned char>((word >> 16) & 0xFF);
        rgb[3 * x + 1] = static_cast<unsigned char>((word >> 8) & 0xFF);
        rgb[3 * x + 2] = static_cast<unsigned char>(word & 0xFF);
    }
}

bool compress(std::FILE* file, cairo_surface_t* surface, int quality, unsigned char* row) {
    jpeg_compress_struct info;
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = ignoreMessage;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(cairo_image_surface_get_width(surface));
    info.image_height = static_cast<JDIMENSION>(cairo_image_surface_get_height(surface));
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    while (info.next_scanline < info.image_height) {
        packRow(data + static_cast<std::size_t>(info.next_scanline) * stride,
                static_cast<int>(info.image_width), row);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool decompress(std::FILE* file, DecodedPicture& picture, std::vector<unsigned char>& row) {
    jpeg_decompress_struct info;
    JumpingErrorManager errors;
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
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.fileChannels = info.num_components;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 255);
    row.resize(static_cast<std::size_t>(picture.width) * 3);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint8_t* out = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width * 4;
        for (int x = 0; x < picture.width; ++x) {
            out[4 * x] = row[3 * x];
            out[4 * x + 1] = row[3 * x + 1];
            out[4 * x + 2] = row[3 * x + 2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool writeJpeg(cairo_surface_t* surface, const std::filesystem::path& path, int quality) {
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::vector<unsigned char> row(
        static_cast<std::size_t>(cairo_image_surface_get_width(surface)) * 3);
    const bool compressed = compress(file, surface, quality, row.data());
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return compressed && flushed && closed;
}

std::optional<DecodedPicture> readJpeg(const std::filesystem::path& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    DecodedPicture picture;
    std::vector<unsigned char> row;
    if (!decompress(file.get(), picture, row)) {
        return std::nullopt;
    }
    return picture;
}

} // namespace pictures
