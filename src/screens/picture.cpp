#include <GL/gl.h>

#include "screens/screens.h"

namespace {

constexpr layout::QuadPlace wholeScreen{0.0f, 0.0f, static_cast<float>(layout::screenWidth),
                                        static_cast<float>(layout::screenHeight)};

} // namespace

// Counter-clockwise from the bottom left corner, as every picture of the game is drawn.
void drawTexturedQuad(const layout::QuadPlace& place, float bottomRow) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, bottomRow);
    glVertex3f(place.left, place.bottom, 0.0f);
    glTexCoord2f(1.0f, bottomRow);
    glVertex3f(place.right, place.bottom, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(place.right, place.top, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(place.left, place.top, 0.0f);
    glEnd();
}

void drawPlainQuad(const layout::QuadPlace& place) {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glVertex3f(place.left, place.bottom, 0.0f);
    glVertex3f(place.right, place.bottom, 0.0f);
    glVertex3f(place.right, place.top, 0.0f);
    glVertex3f(place.left, place.top, 0.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void FullscreenQuad() {
    drawTexturedQuad(wholeScreen, HiddenPictureRows);
}

void drawPicture(unsigned int texture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, texture);
    FullscreenQuad();
}
