// One picture being drawn: a cairo image surface and its drawing context, released together.
#pragma once

#include <cairo.h>

namespace pictures {

enum class CanvasKind {
    Opaque,      // JPEG pictures: no alpha channel
    Transparent, // the ball: alpha matters
};

class Canvas {
public:
    Canvas(int width, int height, CanvasKind kind);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* context() const { return context_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // True when cairo could create both; drawing on a failed canvas is harmless but writes nothing.
    bool ok() const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* context_;
};

} // namespace pictures
