#include "screen_space.h"

namespace pictures {

void mapScreenOntoPicture(cairo_t* cr, QuadPlacement quad, int pictureWidth, int pictureHeight) {
    const double scaleX = pictureWidth / quad.onScreen.width;
    const double scaleY = pictureHeight * quad.shownFraction / quad.onScreen.height;
    cairo_identity_matrix(cr);
    cairo_scale(cr, scaleX, scaleY);
    cairo_translate(cr, -quad.onScreen.x, -quad.onScreen.y);
}

Rect wholePictureOnScreen(QuadPlacement quad) {
    return Rect{quad.onScreen.x, quad.onScreen.y, quad.onScreen.width,
                quad.onScreen.height / quad.shownFraction};
}

} // namespace pictures
