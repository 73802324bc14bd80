// Where a picture lands on the game's 1024x768 screen. Every painter draws in screen
// coordinates; these helpers set the cairo transform that puts those coordinates onto the
// picture's own pixels, including the pictures of which the game shows only the upper rows.
#pragma once

#include <cairo.h>

namespace pictures {

constexpr double screenWidth = 1024.0;
constexpr double screenHeight = 768.0;

// Full-screen pictures, the board and the box are mapped from t = 0.255 (bottom edge of the
// quad) to t = 1 (top edge), so only the top 74.5 % of their rows is ever seen.
constexpr double partlyShownFraction = 1.0 - 0.255;
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
    constexpr Rect inset(double by) const {
        return Rect{x + by, y + by, width - 2.0 * by, height - 2.0 * by};
    }
};

// A click area whose bounds are all exclusive: left < x < right, top < y < bottom, in screen
// pixels. The pixels that count are left + 1 .. right - 1, so the drawn area is exactly those.
struct ExclusiveArea {
    int left;
    int right;
    int top;
    int bottom;
};
constexpr Rect drawnArea(ExclusiveArea a) {
    return Rect{a.left + 1.0, a.top + 1.0, a.right - a.left - 1.0, a.bottom - a.top - 1.0};
}

// A click area whose bounds are all inclusive: first <= x <= last.
struct InclusiveArea {
    int firstX;
    int lastX;
    int firstY;
    int lastY;
};
constexpr Rect drawnArea(InclusiveArea a) {
    return Rect{static_cast<double>(a.firstX), static_cast<double>(a.firstY),
                a.lastX - a.firstX + 1.0, a.lastY - a.firstY + 1.0};
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
