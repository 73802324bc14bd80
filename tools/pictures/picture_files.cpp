#include "picture_files.h"

#include <cstdint>

namespace pictures {

bool writeJpeg(cairo_surface_t* surface, const std::filesystem::path& path, int quality) {
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24) {
        return false;
    }
    // cairo's rows are native-endian xRGB words.
    RgbaPicture picture(cairo_image_surface_get_width(surface),
                        cairo_image_surface_get_height(surface));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.height; ++y) {
        const auto* words =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            std::uint8_t* pixel = picture.at(x, y);
            pixel[0] = static_cast<std::uint8_t>((words[x] >> 16) & 0xFF);
            pixel[1] = static_cast<std::uint8_t>((words[x] >> 8) & 0xFF);
            pixel[2] = static_cast<std::uint8_t>(words[x] & 0xFF);
            pixel[3] = 255;
        }
    }
    return writeJpeg(picture, path, quality);
}

bool writePng(cairo_surface_t* surface, const std::filesystem::path& path) {
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        return false;
    }
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace pictures
