// Bitmap text on the offscreen context: the glyph atlas lights exactly the pixels that glBitmap
// lit with the same glyphs, on any view; the pen, the fonts' textures and the caller's state.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "render/render_support.h"
#include "support/game_fixture.h"

namespace {

using render::Colour;

// The whole drawable read back, bottom row first.
std::vector<std::uint8_t> readDrawable(int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// The smallest box around every lit pixel, in pixels of the drawable, bounds inclusive.
struct LitBox {
    int pixels = 0;
    int left = 1 << 30;
    int right = -1;
    int width() const { return right - left + 1; }
};

LitBox litBox(const std::vector<std::uint8_t>& rgb, int width) {
    LitBox box;
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        if (rgb[i] != 0 || rgb[i + 1] != 0 || rgb[i + 2] != 0) {
            const int x = static_cast<int>(i / 3 % static_cast<std::size_t>(width));
            ++box.pixels;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
        }
    }
    return box;
}

// The fonts as they were built before the atlas: the face's glyphs at the view's pixel height,
// the pen moved by the 1024x768 face's advances scaled to the view, drawn by glBitmap from the
// raster position. What the atlas must light, pixel for pixel.
struct BitmapOracle {
    std::unique_ptr<platform::GlyphSet> glyphs = std::make_unique<platform::GlyphSet>();
    BitmapOracle(int heightAt768, int viewHeight) {
        EXPECT_TRUE(platform::loadGlyphs(heightAt768, *glyphs));
        float advances[platform::GlyphCount];
        for (int i = 0; i < platform::GlyphCount; ++i) {
            advances[i] = glyphs->glyphs[i].advance;
        }
        const int pixelHeight =
            static_cast<int>(std::lround(heightAt768 * static_cast<double>(viewHeight) / 768));
        if (pixelHeight != heightAt768) {
            EXPECT_TRUE(platform::loadGlyphs(pixelHeight, *glyphs));
            for (int i = 0; i < platform::GlyphCount; ++i) {
                glyphs->glyphs[i].advance =
                    static_cast<float>(advances[i] * static_cast<double>(viewHeight) / 768);
            }
        }
    }
    void draw(const char* text, float x, float y) const {
        glDisable(GL_TEXTURE_2D);
        glRasterPos2f(x, y);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (const char* c = text; *c != '\0'; ++c) {
            const platform::GlyphBitmap& glyph = glyphs->glyphs[*c - platform::FirstGlyphCode];
            glBitmap(glyph.width, glyph.height, glyph.originX, glyph.originY, glyph.advance, 0.0f,
                     glyph.bits);
        }
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glEnable(GL_TEXTURE_2D);
    }
};

struct PlacedText {
    FontSize size;
    const char* text;
    float x;
    float y;
};

// The HUD's lines, the pause texts (centred as the game centres them, at a fraction of a pixel
// on most views) and a level label of the large font.
const PlacedText placedTexts[] = {
    {FontSize::Small, "Level 3", 890.0f, 50.0f},
    {FontSize::Small, "Balance", 883.0f, 150.0f},
    {FontSize::Small, "differential: 9", 855.0f, 165.0f},
    {FontSize::Small, "Blocks left: 10", 855.0f, 200.0f},
    {FontSize::Small, "Completed! Next level begins... Ready? 5", 320.0f, 402.0f},
    {FontSize::Large, "Paused", 395.0f - 3 * 21.6f, 370.0f},
    {FontSize::Small, "Press P or Esc to go on (pad: Start)", 395.0f - 18 * 9.6f, 410.0f},
    {FontSize::Large, "Level 5", 97.5f, 606.25f},
};

struct ViewSize {
    int width;
    int height;
};

// Full screen at 4:3 and at other shapes (bars left and right, above and below), smaller and
// larger than the drawing space, and at sizes whose scale is no round number.
const ViewSize viewSizes[] = {{1024, 768},  {800, 600},  {1366, 768}, {1920, 1080},
                              {2048, 1536}, {1023, 767}, {640, 500},  {3840, 2160}};

TEST(GlyphAtlasTest, LightsThePixelsGlBitmapLitOnEveryView) {
    for (const ViewSize view : viewSizes) {
        scripted::script().drawableWidth = view.width;
        scripted::script().drawableHeight = view.height;
        ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
        resizeView(view.width, view.height);
        const BitmapOracle small(SmallFontHeight, viewport.height);
        const BitmapOracle large(LargeFontHeight, viewport.height);
        glColor3f(1.0f, 1.0f, 1.0f);
        for (const PlacedText& placed : placedTexts) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            (placed.size == FontSize::Small ? small : large).draw(placed.text, placed.x, placed.y);
            const auto bitmaps = readDrawable(view.width, view.height);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            placeTextPen(placed.x, placed.y);
            drawTextIn(placed.size, "%s", placed.text);
            const auto atlas = readDrawable(view.width, view.height);
            ASSERT_GT(litBox(bitmaps, view.width).pixels, 0);
            int differing = 0;
            for (std::size_t i = 0; i < atlas.size(); i += 3) {
                differing += atlas[i] != bitmaps[i] || atlas[i + 1] != bitmaps[i + 1] ||
                                     atlas[i + 2] != bitmaps[i + 2]
                                 ? 1
                                 : 0;
            }
            EXPECT_EQ(differing, 0)
                << view.width << "x" << view.height << " \"" << placed.text << "\"";
        }
        closeWindow();
    }
    scripted::script().drawableWidth = render::ScreenWidth;
    scripted::script().drawableHeight = render::ScreenHeight;
}

// White text on a black, cleared buffer at 1024x768.
class BitmapTextTest : public ScriptedGameTest {
protected:
    void SetUp() override {
        ScriptedGameTest::SetUp();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    static LitBox drawAndMeasure(const char* text, float x, float y) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        placeTextPen(x, y);
        drawText("%s", text);
        return litBox(readDrawable(render::ScreenWidth, render::ScreenHeight), render::ScreenWidth);
    }
};

TEST_F(BitmapTextTest, ThePenMovesOnByTheAdvancesAndOnlyCodes32To127DrawOrMeasure) {
    const float advance = textWidth(FontSize::Small, "L");
    ASSERT_GT(advance, 5.0f);
    EXPECT_FLOAT_EQ(textWidth(FontSize::Small, "Level 1"), 7 * advance);
    EXPECT_FLOAT_EQ(textWidth(FontSize::Large, "Paused"),
                    6 * textWidth(FontSize::Large, "P")); // the other font, by name
    // Bytes outside the font (a control code, Latin-1, UTF-8) draw nothing and measure nothing.
    const char* const foreign = "\x01Le\x80vel\xff 1\xc3\xa4";
    EXPECT_FLOAT_EQ(textWidth(FontSize::Small, foreign), 7 * advance);
    const auto plain = drawAndMeasure("Level 1", 100.0f, 300.0f);
    const auto screen = readDrawable(render::ScreenWidth, render::ScreenHeight);
    drawAndMeasure(foreign, 100.0f, 300.0f);
    EXPECT_TRUE(readDrawable(render::ScreenWidth, render::ScreenHeight) == screen);

    // Two texts in a row: the second starts where the first ended.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    placeTextPen(100.0f, 300.0f);
    drawText("Level");
    drawText(nullptr); // nothing, and the pen stays
    drawText("%s", "");
    drawText(" 1");
    EXPECT_TRUE(readDrawable(render::ScreenWidth, render::ScreenHeight) == screen);

    // Cut to 255 characters: of 300, only the 255th (an L at x 100) is on screen.
    const std::string longText = std::string(254, ' ') + std::string(46, 'L');
    const auto cut = drawAndMeasure(longText.c_str(), 100.0f - 254 * advance, 300.0f);
    const auto oneL = drawAndMeasure("L", 100.0f, 300.0f);
    EXPECT_GT(oneL.pixels, 0);
    EXPECT_EQ(cut.pixels, oneL.pixels);
    EXPECT_EQ(cut.right, oneL.right);
    EXPECT_LT(oneL.right, plain.right);
}

TEST_F(BitmapTextTest, OverABoundPictureTheGlyphsTakeTheColourAloneAndTheCallersStateIsKept) {
    // A picture of many colours, none of them white, bound and textured as the scenes leave it.
    GLubyte texels[16 * 16 * 4];
    for (int i = 0; i < 16 * 16; ++i) {
        texels[4 * i] = static_cast<GLubyte>(i % 16 * 12);
        texels[4 * i + 1] = static_cast<GLubyte>(i / 16 * 12);
        texels[4 * i + 2] = 60;
        texels[4 * i + 3] = 255;
    }
    const GLuint picture = createRgbaTexture(16, 16, texels, TextureSampling::Linear);
    glEnable(GL_TEXTURE_2D);
    glLoadIdentity();
    glTranslatef(300.0f, -200.0f, 0.0f); // moves no text
    glTexCoord2f(0.0f, 1.0f);

    for (const bool texturing : {true, false}) {
        if (!texturing) {
            glDisable(GL_TEXTURE_2D);
        }
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        placeTextPen(100.0f, 300.0f);
        drawText("Level 1");
        const render::Screenshot shot = render::readScreen();
        const std::vector<int> lit = render::pixelsUnlike(shot, Colour{0, 0, 0}, 0, 0, 0, 300, 768);
        ASSERT_GT(lit.size(), 50u);
        for (const int pixel : lit) {
            EXPECT_EQ(shot.at(pixel % render::ScreenWidth, pixel / render::ScreenWidth),
                      (Colour{255, 255, 255}));
        }
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), picture);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "left on, as the game keeps it";
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
        GLfloat modelview[16] = {};
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        EXPECT_EQ(modelview[12], 300.0f);
    }
    glEnable(GL_TEXTURE_2D);
    glDeleteTextures(1, &picture);
}

// Texture names that exist among 1 to `last`.
int existingTextures(GLuint last) {
    int count = 0;
    for (GLuint name = 1; name <= last; ++name) {
        count += glIsTexture(name) ? 1 : 0;
    }
    return count;
}

// Switching fonts builds nothing; shutdown deletes the fonts after the context has gone, and
// that, and deleting again, must be harmless; a window opened afterwards has whole fonts again.
TEST(FontLifetimeTest, SwitchesBuildNothingAndANewWindowHasBothFontsAgain) {
    ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    const unsigned int small = fontTexture;
    buildLargeFont();
    const unsigned int large = fontTexture;
    for (int switchCount = 1; switchCount <= 100; ++switchCount) {
        switchCount % 2 == 1 ? buildSmallFont() : buildLargeFont();
    }
    EXPECT_EQ(fontTexture, large);
    EXPECT_NE(small, large);
    EXPECT_EQ(existingTextures(std::max(small, large) + 50), 2);
    closeWindow(); // deletes the fonts last, with no context left
    ASSERT_FALSE(platform::hasCurrentRenderingContext());
    deleteFont();
    deleteFont();

    ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    EXPECT_EQ(existingTextures(fontTexture + 50), 2); // the small and the large font
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    placeTextPen(100.0f, 300.0f);
    drawText("Level 1");
    EXPECT_GT(litBox(readDrawable(1024, 768), 1024).pixels, 0);
    closeWindow();
}

} // namespace
