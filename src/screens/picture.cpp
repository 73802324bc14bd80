#include <GL/gl.h>

#include "screens/screens.h"

void FullscreenQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, HiddenPictureRows);
    glVertex3f(0.0f, 768.0f, 0.0f);
    glTexCoord2f(1.0f, HiddenPictureRows);
    glVertex3f(1024.0f, 768.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(1024.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
}

void drawPicture(unsigned int texture) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, texture);
    FullscreenQuad();
}
