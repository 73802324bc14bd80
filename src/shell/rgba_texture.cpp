#include <GL/gl.h>

#include "shell/shell.h"

unsigned int createRgbaTexture(int width, int height, const std::uint8_t* rgba,
                               TextureSampling sampling) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const GLint filter = sampling == TextureSampling::Nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    // Rows of four bytes a texel are whole words: the default unpacking reads them as they are.
    // The internal format is named as WebGL 1 takes it, the same as the data's; a sized one
    // (GL_RGBA8) or a count of channels it refuses, and the texture would sample black.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return texture;
}
