#include <GL/gl.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "shell/shell.h"

unsigned int fontTexture = 0;
FontSize fontSize = FontSize::Small;
int fontPixelHeight = 0;

namespace {

constexpr int TextBufferSize = 256;

// One glyph's place in its font's atlas and on the screen, in pixels of the view.
struct AtlasGlyph {
    int left = 0; // its lowest, leftmost texel in the atlas
    int bottom = 0;
    int width = 0;
    int height = 0;
    float originX = 0.0f; // as platform::GlyphBitmap has them
    float originY = 0.0f;
    float advance = 0.0f; // how far the pen moves on, in pixels of the view
};

// Both fonts stay built for the current view, so that any frame can draw in either without
// rendering glyphs: building one takes far longer than a frame. The current one is what drawText
// uses.
struct BuiltFont {
    unsigned int texture = 0; // its atlas: every glyph, white ink on nothing; 0 while not built
    int atlasWidth = 0;
    int atlasHeight = 0;
    int pixelHeight = 0;
    AtlasGlyph glyphs[platform::GlyphCount];
    // Drawing units, and always the 1024x768 face's own: on another view the pen moves by these,
    // scaled, so a line keeps its width in the drawing space.
    float advances[platform::GlyphCount] = {};
};
constexpr int FontCount = 2;
BuiltFont builtFonts[FontCount];

// Rendered once per font build and kept here, as is the atlas's picture: a build allocates only
// when the atlas is larger than any before it.
platform::GlyphSet glyphSet;
std::vector<std::uint8_t> atlasTexels;

// Where the next glyph goes: its baseline's left end, in pixels from the view's bottom-left
// corner, upwards, as a raster position counts them (from the window's corner, less the bars).
struct TextPen {
    float x = 0.0f;
    float y = 0.0f;
};
TextPen textPen;

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

int powerOfTwoAtLeast(int value) {
    int power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

void deleteAtlas(BuiltFont& font) {
    // At shutdown the context is already gone, and the texture with it.
    if (font.texture != 0 && platform::hasCurrentRenderingContext()) {
        const GLuint texture = font.texture;
        glDeleteTextures(1, &texture);
    }
    font.texture = 0;
    font.pixelHeight = 0;
}

// The glyphs in a grid of equal cells, each a texel wider and taller than the largest glyph so
// that neighbours never touch, in as many columns as make the smallest atlas whose sides are
// powers of two (which WebGL 1 samples with any wrap mode).
void layOutAtlas(BuiltFont& font) {
    int cellWidth = 1;
    int cellHeight = 1;
    for (const platform::GlyphBitmap& glyph : glyphSet.glyphs) {
        cellWidth = glyph.width + 1 > cellWidth ? glyph.width + 1 : cellWidth;
        cellHeight = glyph.height + 1 > cellHeight ? glyph.height + 1 : cellHeight;
    }
    long long smallestArea = -1;
    int columns = 1;
    for (int tried = 1; tried <= platform::GlyphCount; ++tried) {
        const int rows = (platform::GlyphCount + tried - 1) / tried;
        const long long area = static_cast<long long>(powerOfTwoAtLeast(tried * cellWidth)) *
                               powerOfTwoAtLeast(rows * cellHeight);
        if (smallestArea < 0 || area < smallestArea) {
            smallestArea = area;
            columns = tried;
        }
    }
    const int rows = (platform::GlyphCount + columns - 1) / columns;
    font.atlasWidth = powerOfTwoAtLeast(columns * cellWidth);
    font.atlasHeight = powerOfTwoAtLeast(rows * cellHeight);
    for (int i = 0; i < platform::GlyphCount; ++i) {
        const platform::GlyphBitmap& glyph = glyphSet.glyphs[i];
        AtlasGlyph& placed = font.glyphs[i];
        placed.left = i % columns * cellWidth;
        placed.bottom = i / columns * cellHeight;
        placed.width = glyph.width;
        placed.height = glyph.height;
        placed.originX = glyph.originX;
        placed.originY = glyph.originY;
        placed.advance = glyph.advance;
    }
}

// Each glyph's 1-bit rows into its cell: white with full alpha where it has ink, transparent
// elsewhere. Rows run bottom-up in both.
void paintAtlas(const BuiltFont& font) {
    atlasTexels.assign(static_cast<std::size_t>(font.atlasWidth) * font.atlasHeight * 4, 0);
    for (int i = 0; i < platform::GlyphCount; ++i) {
        const platform::GlyphBitmap& glyph = glyphSet.glyphs[i];
        const AtlasGlyph& placed = font.glyphs[i];
        const int rowBytes = (glyph.width + 7) / 8;
        for (int row = 0; row < glyph.height; ++row) {
            const std::uint8_t* bits = glyph.bits + row * rowBytes;
            std::uint8_t* texel =
                atlasTexels.data() +
                (static_cast<std::size_t>(placed.bottom + row) * font.atlasWidth + placed.left) * 4;
            for (int column = 0; column < glyph.width; ++column, texel += 4) {
                if ((bits[column / 8] & (0x80u >> (column % 8))) != 0) {
                    std::memset(texel, 0xFF, 4);
                }
            }
        }
    }
}

void buildFont(FontSize size) {
    BuiltFont& font = builtFont(size);
    deleteAtlas(font);
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
    layOutAtlas(font);
    paintAtlas(font);
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    // Sampled texel for pixel, never between two: ink or nothing, as a bitmap is drawn.
    font.texture = createRgbaTexture(font.atlasWidth, font.atlasHeight, atlasTexels.data(),
                                     TextureSampling::Nearest);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
}

bool fitsView(FontSize size) {
    const BuiltFont& font = builtFont(size);
    return font.texture != 0 && font.pixelHeight == scaledFontHeight(heightAt768(size));
}

// Builds whichever font is missing or drawn for another view scale, then makes `size` current.
void useFont(FontSize size) {
    for (const FontSize each : {FontSize::Small, FontSize::Large}) {
        if (!fitsView(each)) {
            buildFont(each);
        }
    }
    fontSize = size;
    fontTexture = builtFont(size).texture;
    fontPixelHeight = builtFont(size).pixelHeight;
}

// The glyph of a character of the text, or -1 for one the font has none for.
int glyphIndex(char character) {
    const int index = static_cast<unsigned char>(character) - platform::FirstGlyphCode;
    return index >= 0 && index < platform::GlyphCount ? index : -1;
}

// A point of the view, in pixels from its bottom-left corner, as a vertex of the drawing space.
void pixelVertex(int x, int y) {
    const double unitsAcross = static_cast<double>(x) * layout::screenWidth / viewport.width;
    const double unitsUp = static_cast<double>(y) * layout::screenHeight / viewport.height;
    glVertex3f(static_cast<float>(unitsAcross), static_cast<float>(layout::screenHeight - unitsUp),
               0.0f);
}

// One quad per glyph with ink, its texels on the view's pixels one to one. The glyph's corner
// is found as glBitmap finds it (Mesa's rounding, a ten-thousandth of a pixel up, included), so
// the text lights the pixels the bitmaps did.
void drawGlyphs(const BuiltFont& font, const char* text) {
    const float texelWidth = 1.0f / static_cast<float>(font.atlasWidth);
    const float texelHeight = 1.0f / static_cast<float>(font.atlasHeight);
    constexpr float Nudge = 0.0001f;
    glBegin(GL_QUADS);
    for (const char* character = text; *character != '\0'; ++character) {
        const int index = glyphIndex(*character);
        if (index < 0) {
            continue;
        }
        const AtlasGlyph& glyph = font.glyphs[index];
        if (glyph.width > 0 && glyph.height > 0) {
            const int left = static_cast<int>(std::floor(textPen.x + Nudge - glyph.originX));
            const int bottom = static_cast<int>(std::floor(textPen.y + Nudge - glyph.originY));
            const float s0 = static_cast<float>(glyph.left) * texelWidth;
            const float s1 = static_cast<float>(glyph.left + glyph.width) * texelWidth;
            const float t0 = static_cast<float>(glyph.bottom) * texelHeight;
            const float t1 = static_cast<float>(glyph.bottom + glyph.height) * texelHeight;
            glTexCoord2f(s0, t0);
            pixelVertex(left, bottom);
            glTexCoord2f(s1, t0);
            pixelVertex(left + glyph.width, bottom);
            glTexCoord2f(s1, t1);
            pixelVertex(left + glyph.width, bottom + glyph.height);
            glTexCoord2f(s0, t1);
            pixelVertex(left, bottom + glyph.height);
        }
        textPen.x += glyph.advance;
    }
    glEnd();
}

void drawTextWith(const BuiltFont& font, const char* format, va_list values) {
    if (format == nullptr || font.texture == 0) {
        return;
    }
    char text[TextBufferSize];
    // A text longer than 255 characters is cut to 255; no text of the game comes near that.
    std::vsnprintf(text, sizeof text, format, values);
    if (text[0] == '\0') {
        return;
    }
    // The glyphs take the current colour alone, white or black: the atlas's ink is white, and
    // whatever picture the caller left bound is bound again afterwards. Texturing is left on, as
    // the game keeps it for the whole run: it is not asked of OpenGL, since WebGL has no such
    // switch and the browser's emulation of it always answers off.
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glPushMatrix();
    glLoadIdentity();
    drawGlyphs(font, text);
    glPopMatrix();
    glDisable(GL_ALPHA_TEST);
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
    if (fontTexture != 0) {
        useFont(fontSize);
    }
}

void deleteFont() {
    for (BuiltFont& font : builtFonts) {
        deleteAtlas(font);
    }
}

void placeTextPen(float x, float y) {
    textPen.x = static_cast<float>(static_cast<double>(x) * viewport.width / layout::screenWidth);
    textPen.y = static_cast<float>((layout::screenHeight - static_cast<double>(y)) *
                                   viewport.height / layout::screenHeight);
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
    drawTextWith(builtFont(size), format, values);
    va_end(values);
}

void drawText(const char* format, ...) {
    va_list values;
    va_start(values, format);
    drawTextWith(builtFont(fontSize), format, values);
    va_end(values);
}
