#include "windows_pictures.h"

#include "canvas.h"
#include "icon_picture.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace pictures {

namespace {

using Bytes = std::vector<unsigned char>;

void putLittleEndian(Bytes& bytes, std::uint32_t value, int size) {
    for (int byte = 0; byte < size; ++byte) {
        bytes.push_back(static_cast<unsigned char>(value >> (8 * byte)));
    }
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<Bytes*>(closure)->insert(static_cast<Bytes*>(closure)->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// The icon at one size as the bytes of a PNG file; empty when cairo could not draw or encode it.
Bytes iconPng(int size) {
    Canvas canvas(size, size, CanvasKind::Transparent);
    Bytes png;
    if (!canvas.ok()) {
        return png;
    }
    paintIcon(canvas);
    cairo_surface_flush(canvas.surface());
    if (cairo_surface_write_to_png_stream(canvas.surface(), appendBytes, &png) !=
        CAIRO_STATUS_SUCCESS) {
        png.clear();
    }
    return png;
}

bool writeFile(const std::filesystem::path& path, const Bytes& bytes, std::ostream& errors) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        errors << "make_pictures: cannot write " << path.string() << "\n";
        return false;
    }
    return true;
}

} // namespace

bool makeWindowsIcon(const std::filesystem::path& path, std::ostream& errors) {
    constexpr int headerSize = 6;
    constexpr int entrySize = 16;
    constexpr std::uint32_t count = std::size(windowsIconSizes);
    std::vector<Bytes> pngs;
    for (const int size : windowsIconSizes) {
        pngs.push_back(iconPng(size));
        if (pngs.back().empty()) {
            errors << "make_pictures: cannot draw the " << size << " px icon\n";
            return false;
        }
    }
    Bytes file;
    putLittleEndian(file, 0, 2); // reserved
    putLittleEndian(file, 1, 2); // an icon, not a cursor
    putLittleEndian(file, count, 2);
    std::uint32_t offset = headerSize + entrySize * count;
    for (std::uint32_t index = 0; index < count; ++index) {
        const int size = windowsIconSizes[index];
        const std::uint32_t side = size >= 256 ? 0 : static_cast<std::uint32_t>(size); // 0: 256
        putLittleEndian(file, side, 1);
        putLittleEndian(file, side, 1);
        putLittleEndian(file, 0, 1);  // not a palette picture
        putLittleEndian(file, 0, 1);  // reserved
        putLittleEndian(file, 1, 2);  // colour planes
        putLittleEndian(file, 32, 2); // bits a pixel
        const auto length = static_cast<std::uint32_t>(pngs[index].size());
        putLittleEndian(file, length, 4);
        putLittleEndian(file, offset, 4);
        offset += length;
    }
    for (const Bytes& png : pngs) {
        file.insert(file.end(), png.begin(), png.end());
    }
    return writeFile(path, file, errors);
}

bool makeInstallerHeader(const std::filesystem::path& path, std::ostream& errors) {
    constexpr int margin = 4;
    constexpr int iconSize = installerHeaderHeight - 2 * margin;
    Canvas icon(iconSize, iconSize, CanvasKind::Transparent);
    Canvas header(installerHeaderWidth, installerHeaderHeight, CanvasKind::Opaque);
    if (!icon.ok() || !header.ok()) {
        errors << "make_pictures: cannot draw the installer's header\n";
        return false;
    }
    paintIcon(icon);
    cairo_t* cr = header.context();
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, icon.surface(), installerHeaderWidth - margin - iconSize, margin);
    cairo_paint(cr);
    cairo_surface_flush(header.surface());

    // BITMAPFILEHEADER and BITMAPINFOHEADER, then the rows bottom first, each padded to 4 bytes.
    constexpr int headersSize = 14 + 40;
    constexpr int rowSize = (installerHeaderWidth * 3 + 3) / 4 * 4;
    constexpr int pixelsSize = rowSize * installerHeaderHeight;
    Bytes file{'B', 'M'};
    putLittleEndian(file, headersSize + pixelsSize, 4);
    putLittleEndian(file, 0, 4); // reserved
    putLittleEndian(file, headersSize, 4);
    putLittleEndian(file, 40, 4);
    putLittleEndian(file, installerHeaderWidth, 4);
    putLittleEndian(file, installerHeaderHeight, 4); // positive: bottom row first
    putLittleEndian(file, 1, 2);                     // planes
    putLittleEndian(file, 24, 2);                    // bits a pixel
    putLittleEndian(file, 0, 4);                     // not compressed
    putLittleEndian(file, pixelsSize, 4);
    putLittleEndian(file, 2835, 4); // 72 dots an inch, in dots a metre
    putLittleEndian(file, 2835, 4);
    putLittleEndian(file, 0, 4); // no palette
    putLittleEndian(file, 0, 4);
    const unsigned char* data = cairo_image_surface_get_data(header.surface());
    const int stride = cairo_image_surface_get_stride(header.surface());
    for (int y = installerHeaderHeight - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < installerHeaderWidth; ++x) {
            putLittleEndian(file, row[x] & 0xFFFFFFU, 3); // cairo's xRGB word: blue, green, red
        }
        file.resize(file.size() + (rowSize - installerHeaderWidth * 3), 0);
    }
    return writeFile(path, file, errors);
}

} // namespace pictures
