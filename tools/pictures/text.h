// Lettering through pango. Families are always named explicitly and hinting is switched off, so
// the text does not depend on desktop font settings and comes out the same on every run.
#pragma once

#include "colour.h"
#include "screen_space.h"

#include <cairo.h>

#include <string_view>

namespace pictures {

struct Font {
    const char* family;
    double pixelSize; // em size in screen units
    bool bold;
};

namespace fonts {
constexpr const char* sans = "DejaVu Sans";
constexpr const char* serif = "DejaVu Serif";
constexpr const char* mono = "DejaVu Sans Mono";
} // namespace fonts

enum class Align { Left, Centre, Right };

// DejaVu's capital height as a fraction of the em: labels are centred on their capitals, so
// words with and without descenders sit at the same height.
constexpr double capitalHeight = 0.729;

// Width of one line of text (pango markup allowed) in screen units.
double textWidth(cairo_t* cr, std::string_view markup, Font font);

// One line whose baseline starts (Left), centres (Centre) or ends (Right) at (x, baselineY).
// squeeze below 1 narrows the glyphs without making them shorter.
void drawTextLine(cairo_t* cr, std::string_view markup, Font font, Colour colour, double x,
                  double baselineY, Align align, double squeeze = 1.0);

// The same line with a solid outline under it, for titles that sit over busy ground.
void drawOutlinedTextLine(cairo_t* cr, std::string_view markup, Font font, Colour fill,
                          Colour outline, double outlineWidth, double x, double baselineY,
                          Align align, double squeeze = 1.0);

// One line centred in a box: horizontally by its width, vertically by its capital height, so
// labels with and without descenders sit at the same height.
void drawTextCentred(cairo_t* cr, std::string_view markup, Font font, Colour colour, Rect box);

// Wrapped text in a column of the given width starting with its top at (x, top); returns the
// height used.
double drawParagraph(cairo_t* cr, std::string_view markup, Font font, Colour colour, double x,
                     double top, double width, Align align, double lineSpacing = 1.0);

// The largest size not above font.pixelSize at which the line fits in maxWidth.
Font fitToWidth(cairo_t* cr, std::string_view markup, Font font, double maxWidth);

} // namespace pictures
