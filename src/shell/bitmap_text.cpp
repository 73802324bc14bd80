#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "shell/shell.h"

std::uint32_t fontBase = 0;
int fontPixelHeight = 0;

namespace {

constexpr int TextBufferSize = 256;

// Rendered once per font build and kept here, so no build allocates.
platform::GlyphSet glyphSet;

void buildFont(int pixelHeight) {
    if (fontBase != 0) {
        deleteFont();
    }
    fontBase = glGenLists(platform::GlyphCount);
    fontPixelHeight = pixelHeight;
    // Without a usable face the lists stay empty and the text is simply missing.
    platform::loadGlyphs(pixelHeight, glyphSet);
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < platform::GlyphCount; ++i) {
        const platform::GlyphBitmap& glyph = glyphSet.glyphs[i];
        glNewList(fontBase + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(glyph.width, glyph.height, glyph.originX, glyph.originY, glyph.advance, 0.0f,
                 glyph.bits);
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
}

} // namespace

void buildSmallFont() {
    buildFont(SmallFontHeight);
}

void buildLargeFont() {
    buildFont(LargeFontHeight);
}

void deleteFont() {
    // At shutdown the context is already gone; then there is nothing left to delete.
    if (fontBase != 0 && platform::hasCurrentRenderingContext()) {
        glDeleteLists(fontBase, platform::GlyphCount);
    }
}

void drawText(const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    char text[TextBufferSize];
    va_list values;
    va_start(values, format);
    // A text longer than 255 characters is cut to 255; no text of the game comes near that.
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    const std::size_t length = std::strlen(text);
    if (length == 0) {
        return;
    }
    // Kept deliberately plain: the glyphs take the raster colour alone, white or black. Left
    // over a bound picture they would be modulated by it, and Mesa samples the picture across
    // each glyph instead of at one texel, so white text took on the picture it lay on and
    // vanished into it. With no picture bound for the glyphs, texturing itself stays on.
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPushAttrib(GL_LIST_BIT);
    glListBase(fontBase - platform::FirstGlyphCode);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
}
