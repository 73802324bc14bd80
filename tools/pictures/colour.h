// Colours of the picture maker: plain RGBA in 0..1, with the few operations the painters need.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace pictures {

struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;
};

// 0xRRGGBB as written in a palette.
constexpr Colour hexColour(std::uint32_t rgb, double alpha = 1.0) {
    return Colour{((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                  alpha};
}

constexpr Colour withAlpha(Colour c, double alpha) {
    return Colour{c.r, c.g, c.b, alpha};
}

// Straight interpolation from a (t = 0) to b (t = 1), alpha included.
constexpr Colour mix(Colour a, Colour b, double t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

// Rec. 601 luma in 0..1: the measure the painters use to pick dark or light lettering.
constexpr double luma(Colour c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

inline void setSource(cairo_t* cr, Colour c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

inline void addStop(cairo_pattern_t* gradient, double offset, Colour c) {
    cairo_pattern_add_color_stop_rgba(gradient, offset, c.r, c.g, c.b, c.a);
}

} // namespace pictures
