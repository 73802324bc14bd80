#include "shapes.h"

#include "palette.h"

#include <algorithm>
#include <numbers>

namespace pictures {

void roundedRectanglePath(cairo_t* cr, Rect rect, double radius) {
    const double r = std::min({radius, rect.width / 2.0, rect.height / 2.0});
    constexpr double quarter = std::numbers::pi / 2.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, rect.right() - r, rect.y + r, r, -quarter, 0.0);
    cairo_arc(cr, rect.right() - r, rect.bottom() - r, r, 0.0, quarter);
    cairo_arc(cr, rect.x + r, rect.bottom() - r, r, quarter, 2.0 * quarter);
    cairo_arc(cr, rect.x + r, rect.y + r, r, 2.0 * quarter, 3.0 * quarter);
    cairo_close_path(cr);
}

void fillRoundedRectangle(cairo_t* cr, Rect rect, double radius, Colour colour) {
    cairo_new_path(cr);
    roundedRectanglePath(cr, rect, radius);
    setSource(cr, colour);
    cairo_fill(cr);
}

void fillVerticalGradient(cairo_t* cr, Rect rect, Colour top, Colour bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, rect.y, 0.0, rect.bottom());
    addStop(gradient, 0.0, top);
    addStop(gradient, 1.0, bottom);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void drawPanel(cairo_t* cr, Rect rect, PanelTone tone, double radius) {
    const bool dark = tone == PanelTone::Dark;
    fillRoundedRectangle(cr, rect, radius, dark ? palette::panelDarkEdge : palette::panelLightEdge);
    fillRoundedRectangle(cr, rect.inset(1.5), radius - 1.5,
                         dark ? palette::panelDark : palette::panelLight);
}

void drawSoftShadow(cairo_t* cr, Rect rect, double radius, double spread, double alpha) {
    // A few widening translucent layers read as a soft shadow without a blur pass.
    constexpr int layers = 6;
    for (int layer = layers; layer >= 1; --layer) {
        const double grow = spread * layer / layers;
        const Rect shadow{rect.x - grow / 2.0, rect.y + grow / 2.0 + spread / 3.0,
                          rect.width + grow, rect.height + grow / 2.0};
        fillRoundedRectangle(cr, shadow, radius + grow / 2.0, hexColour(0x000000, alpha / layers));
    }
}

} // namespace pictures
