#include "canvas.h"

namespace pictures {

Canvas::Canvas(int width, int height, CanvasKind kind)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(
          kind == CanvasKind::Opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height)),
      context_(cairo_create(surface_)) {
    cairo_set_antialias(context_, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
    cairo_destroy(context_);
    cairo_surface_destroy(surface_);
}

bool Canvas::ok() const {
    return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS &&
           cairo_status(context_) == CAIRO_STATUS_SUCCESS;
}

} // namespace pictures
