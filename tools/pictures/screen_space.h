// Where a picture lands on the game's 1024x768 screen. Every painter draws in screen
// coordinates; these helpers set the cairo transform that puts those coordinates onto the
// picture's own pixels, including the pictures of which the game shows only the upper rows.
#pragma once

#include "layout/layout.h"

#include <cairo.h>

namespace pictures {

constexpr double screenWidth = layout::screenWidth;
constexpr double screenHeight = layout::screenHeight;

// Full-screen pictures, the board and the box are mapped from t = hiddenPictureRows (bottom edge
// of the quad) to t = 1 (top edge), so only the top 74.5 % of their rows is ever seen.
constexpr double partlyShownFraction = 1.0 - layout::hiddenPictureRows;
constexpr double wholeShownFraction = 1.0;

struct Rect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    constexpr double right() const { return x + width; }
    constexpr double bottom() const { return y + height; }
    constexpr double centreX() const { return x + width / 2.0; }
    constexpr double centreY() const { return y + height / 2.0; }
    constexpr Rect inset(double byX, double byY) const {
        return Rect{x + byX, y + byY, width - 2.0 * byX, height - 2.0 * byY};
    }
    constexpr Rect inset(double by) const { return inset(by, by); }
    // The same rectangle with every coordinate multiplied by factor (about the origin).
    constexpr Rect scaled(double factor) const {
        return Rect{x * factor, y * factor, width * factor, height * factor};
    }
};

// A click rectangle's bounds are all exclusive, so the pixels that count are left + 1 ..
// right - 1 (and likewise down): the drawn area is exactly those.
constexpr Rect drawnArea(layout::ClickRect a) {
    return Rect{a.left + 1.0, a.top + 1.0, a.right - a.left - 1.0, a.bottom - a.top - 1.0};
}

// Where one of the game's quads stands on screen.
constexpr Rect onScreen(layout::QuadPlace quad) {
    return Rect{quad.left, quad.top, static_cast<double>(quad.right) - quad.left,
                static_cast<double>(quad.bottom) - quad.top};
}

// Where a textured quad stands on screen and how much of its picture's height it shows.
struct QuadPlacement {
    Rect onScreen;
    double shownFraction;
};

constexpr QuadPlacement fullScreenQuad{Rect{0.0, 0.0, screenWidth, screenHeight},
                                       partlyShownFraction};

// Replaces cr's transform so that screen coordinates inside quad.onScreen fall on the picture
// (pictureWidth x pictureHeight) exactly where the game will show them.
void mapScreenOntoPicture(cairo_t* cr, QuadPlacement quad, int pictureWidth, int pictureHeight);

// The screen rectangle covered by the whole picture under that mapping, including the rows the
// game never shows (they lie below the quad).
Rect wholePictureOnScreen(QuadPlacement quad);

} // namespace pictures
