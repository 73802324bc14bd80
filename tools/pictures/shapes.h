// Paths and panels shared by all pictures.
#pragma once

#include "colour.h"
#include "screen_space.h"

#include <cairo.h>

namespace pictures {

// Adds a rounded rectangle to the current path (radius clamped to the smaller half side).
void roundedRectanglePath(cairo_t* cr, Rect rect, double radius);

void fillRoundedRectangle(cairo_t* cr, Rect rect, double radius, Colour colour);

// A vertical gradient over rect from top to bottom colour.
void fillVerticalGradient(cairo_t* cr, Rect rect, Colour top, Colour bottom);

enum class PanelTone {
    Dark,  // behind white lettering
    Light, // behind black lettering
};

// A rounded panel with a thin edge that stays inside rect.
void drawPanel(cairo_t* cr, Rect rect, PanelTone tone, double radius = 10.0);

// A soft shadow under a rounded shape, offset downwards; drawn before the shape.
void drawSoftShadow(cairo_t* cr, Rect rect, double radius, double spread, double alpha);

} // namespace pictures
