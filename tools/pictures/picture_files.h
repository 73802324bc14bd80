// The picture maker's files: its cairo surfaces written as JPEG and PNG. The RGBA pictures it
// reads back, for the contact sheet and the content tests, come from picture_codec.h.
#pragma once

#include <cairo.h>

#include <filesystem>

#include "picture_codec.h"

namespace pictures {

// Writes an RGB24 surface as a baseline JPEG with full-resolution colour (writeJpeg of
// picture_codec.h). Returns false when the file could not be written.
bool writeJpeg(cairo_surface_t* surface, const std::filesystem::path& path, int quality);

// Writes an ARGB32 surface as an RGBA PNG. Returns false when the file could not be written.
bool writePng(cairo_surface_t* surface, const std::filesystem::path& path);

} // namespace pictures
