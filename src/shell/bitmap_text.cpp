#include <GL/gl.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "shell/shell.h"

std::uint32_t fontBase = 0;
FontSize fontSize = FontSize::Small;
int fontPixelHeight = 0;

namespace {

constexpr int TextBufferSize = 256;

// Rendered once per font build and kept here, so no build allocates.
platform::GlyphSet glyphSet;
float scaledAdvances[platform::GlyphCount];

// Pixels of the view per unit of the drawing space.
double viewScale() {
    return static_cast<double>(viewport.height) / layout::screenHeight;
}

int heightAt768(FontSize size) {
    return size == FontSize::Large ? LargeFontHeight : SmallFontHeight;
}

void buildFont(FontSize size) {
    if (fontBase != 0) {
        deleteFont();
    }
    fontBase = glGenLists(platform::GlyphCount);
    fontSize = size;
    const int pixelHeight = scaledFontHeight(heightAt768(size));
    fontPixelHeight = pixelHeight;
    // The pen moves by the 1024x768 face's advances, scaled: the face's own advances at another
    // size are rounded to other whole pixels, and a line would come out wider or narrower than
    // the place drawn for it.
    const int baseHeight = heightAt768(size);
    if (pixelHeight != baseHeight) {
        platform::loadGlyphs(baseHeight, glyphSet);
        for (int i = 0; i < platform::GlyphCount; ++i) {
            scaledAdvances[i] = static_cast<float>(glyphSet.glyphs[i].advance * viewScale());
        }
    }
    // Without a usable face the lists stay empty and the text is simply missing.
    platform::loadGlyphs(pixelHeight, glyphSet);
    if (pixelHeight != baseHeight) {
        for (int i = 0; i < platform::GlyphCount; ++i) {
            glyphSet.glyphs[i].advance = scaledAdvances[i];
        }
    }
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
    buildFont(FontSize::Small);
}

void buildLargeFont() {
    buildFont(FontSize::Large);
}

int scaledFontHeight(int heightAt768) {
    // Exactly heightAt768 on a 768-pixel view: the text there stays as it always was.
    return static_cast<int>(std::lround(heightAt768 * viewScale()));
}

void fitFontToView() {
    if (fontBase != 0 && scaledFontHeight(heightAt768(fontSize)) != fontPixelHeight) {
        buildFont(fontSize);
    }
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
