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

// Both fonts stay built for the current view, so that any frame can draw in either without
// rendering glyphs: building one takes far longer than a frame. The current one is what drawText
// uses.
struct BuiltFont {
    std::uint32_t base = 0; // first of its display lists; 0 while not built
    int pixelHeight = 0;
    // Drawing units, and always the 1024x768 face's own: on another view the pen moves by these,
    // scaled, so a line keeps its width in the drawing space.
    float advances[platform::GlyphCount] = {};
};
constexpr int FontCount = 2;
BuiltFont builtFonts[FontCount];

// Rendered once per font build and kept here, so no build allocates.
platform::GlyphSet glyphSet;

BuiltFont& builtFont(FontSize size) {
    return builtFonts[static_cast<int>(size)];
}

// Pixels of the view per unit of the drawing space.
double viewScale() {
    return static_cast<double>(viewport.height) / layout::screenHeight;
}

int heightAt768(FontSize size) {
    return size == FontSize::Large ? LargeFontHeight : SmallFontHeight;
}

void deleteLists(BuiltFont& font) {
    // At shutdown the context is already gone, and the lists with it.
    if (font.base != 0 && platform::hasCurrentRenderingContext()) {
        glDeleteLists(font.base, platform::GlyphCount);
    }
    font.base = 0;
    font.pixelHeight = 0;
}

void buildFont(FontSize size) {
    BuiltFont& font = builtFont(size);
    deleteLists(font);
    font.base = glGenLists(platform::GlyphCount);
    const int baseHeight = heightAt768(size);
    const int pixelHeight = scaledFontHeight(baseHeight);
    font.pixelHeight = pixelHeight;
    // Without a usable face the glyphs are empty, with no advance: the text is simply missing.
    platform::loadGlyphs(baseHeight, glyphSet);
    for (int i = 0; i < platform::GlyphCount; ++i) {
        font.advances[i] = glyphSet.glyphs[i].advance;
    }
    if (pixelHeight != baseHeight) {
        // The face's own advances at another size are rounded to other whole pixels, and a line
        // would come out wider or narrower than the place drawn for it.
        platform::loadGlyphs(pixelHeight, glyphSet);
        for (int i = 0; i < platform::GlyphCount; ++i) {
            glyphSet.glyphs[i].advance = static_cast<float>(font.advances[i] * viewScale());
        }
    }
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < platform::GlyphCount; ++i) {
        const platform::GlyphBitmap& glyph = glyphSet.glyphs[i];
        glNewList(font.base + static_cast<GLuint>(i), GL_COMPILE);
        glBitmap(glyph.width, glyph.height, glyph.originX, glyph.originY, glyph.advance, 0.0f,
                 glyph.bits);
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
}

bool fitsView(FontSize size) {
    const BuiltFont& font = builtFont(size);
    return font.base != 0 && font.pixelHeight == scaledFontHeight(heightAt768(size));
}

// Builds whichever font is missing or drawn for another view scale, then makes `size` current.
void useFont(FontSize size) {
    for (const FontSize each : {FontSize::Small, FontSize::Large}) {
        if (!fitsView(each)) {
            buildFont(each);
        }
    }
    fontSize = size;
    fontBase = builtFont(size).base;
    fontPixelHeight = builtFont(size).pixelHeight;
}

// The glyph of a character of the text, or -1 for one the font has none for.
int glyphIndex(char character) {
    const int index = static_cast<unsigned char>(character) - platform::FirstGlyphCode;
    return index >= 0 && index < platform::GlyphCount ? index : -1;
}

void drawTextWith(std::uint32_t base, const char* format, va_list values) {
    if (format == nullptr || base == 0) {
        return;
    }
    char text[TextBufferSize];
    // A text longer than 255 characters is cut to 255; no text of the game comes near that.
    std::vsnprintf(text, sizeof text, format, values);
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
    glListBase(base - platform::FirstGlyphCode);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
}

} // namespace

void buildSmallFont() {
    useFont(FontSize::Small);
}

void buildLargeFont() {
    useFont(FontSize::Large);
}

int scaledFontHeight(int heightAt768) {
    // Exactly heightAt768 on a 768-pixel view: the text there stays as it always was.
    return static_cast<int>(std::lround(heightAt768 * viewScale()));
}

void fitFontToView() {
    if (fontBase != 0) {
        useFont(fontSize);
    }
}

void deleteFont() {
    for (BuiltFont& font : builtFonts) {
        deleteLists(font);
    }
}

float textWidth(FontSize size, const char* text) {
    const BuiltFont& font = builtFont(size);
    float width = 0.0f;
    for (const char* character = text; *character != '\0'; ++character) {
        const int index = glyphIndex(*character);
        width += index >= 0 ? font.advances[index] : 0.0f;
    }
    return width;
}

void drawTextIn(FontSize size, const char* format, ...) {
    va_list values;
    va_start(values, format);
    drawTextWith(builtFont(size).base, format, values);
    va_end(values);
}

void drawText(const char* format, ...) {
    va_list values;
    va_start(values, format);
    drawTextWith(fontBase, format, values);
    va_end(values);
}
