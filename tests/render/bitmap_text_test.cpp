// Bitmap text on the offscreen context: what drawText lights, where the raster position goes,
// and how many display lists the fonts leave behind.
#include <GL/gl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "render/render_support.h"
#include "support/game_fixture.h"

namespace {

using render::Colour;
using render::Screenshot;

// The smallest box around every lit pixel, in drawing space (y downwards), bounds inclusive.
struct LitBox {
    int pixels = 0;
    int left = render::ScreenWidth;
    int top = render::ScreenHeight;
    int right = -1;
    int bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

LitBox litBox(const Screenshot& shot) {
    LitBox box;
    for (int y = 0; y < render::ScreenHeight; ++y) {
        for (int x = 0; x < render::ScreenWidth; ++x) {
            if (!render::closeTo(shot.at(x, y), Colour{0, 0, 0}, 0)) {
                ++box.pixels;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

struct RasterPosition {
    float x = 0.0f;
    float y = 0.0f; // window coordinates: upwards from the bottom edge
};

RasterPosition rasterPosition() {
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return {position[0], position[1]};
}

// The advance of the face's monospaced characters at a pixel height, straight from the glyphs.
float advanceAt(int pixelHeight) {
    auto glyphs = std::make_unique<platform::GlyphSet>();
    EXPECT_TRUE(platform::loadGlyphs(pixelHeight, *glyphs));
    return glyphs->glyphs['L' - platform::FirstGlyphCode].advance;
}

// Text in white on a black, untextured buffer, its baseline starting at (x, y) in drawing space.
class BitmapTextTest : public ScriptedGameTest {
protected:
    void SetUp() override {
        ScriptedGameTest::SetUp();
        glDisable(GL_TEXTURE_2D);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    static LitBox drawAndMeasure(const char* text, float x, float y) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glRasterPos2f(x, y);
        drawText("%s", text);
        return litBox(render::readScreen());
    }
    // Lists that exist among the names 1 to `last`.
    static int existingLists(GLuint last) {
        int count = 0;
        for (GLuint name = 1; name <= last; ++name) {
            count += glIsList(name) ? 1 : 0;
        }
        return count;
    }
};

TEST_F(BitmapTextTest, LevelOneFillsAboutSevenAdvancesRightOfAndAboveItsRasterPosition) {
    constexpr float X = 100.0f;
    constexpr float Baseline = 300.0f;

    buildLargeFont();
    const float largeAdvance = advanceAt(LargeFontHeight);
    ASSERT_GT(largeAdvance, 10.0f);
    const LitBox large = drawAndMeasure("Level 1", X, Baseline);
    ASSERT_GT(large.pixels, 0);
    EXPECT_GE(large.left, static_cast<int>(X) - 1);
    EXPECT_LE(large.right, static_cast<int>(X + 7 * largeAdvance));
    EXPECT_GE(large.width(), static_cast<int>(6 * largeAdvance)); // "L" to "1"
    EXPECT_LT(large.bottom, static_cast<int>(Baseline));          // nothing below the baseline
    EXPECT_GE(large.top, static_cast<int>(Baseline) - LargeFontHeight);
    EXPECT_GE(large.height(), LargeFontHeight / 2); // capitals and ascenders
    EXPECT_FLOAT_EQ(rasterPosition().x - X, 7 * largeAdvance);

    buildSmallFont();
    const float smallAdvance = advanceAt(SmallFontHeight);
    const LitBox small = drawAndMeasure("Level 1", X, Baseline);
    ASSERT_GT(small.pixels, 0);
    EXPECT_GE(small.left, static_cast<int>(X) - 1);
    EXPECT_LE(small.right, static_cast<int>(X + 7 * smallAdvance));
    EXPECT_LT(small.bottom, static_cast<int>(Baseline));
    EXPECT_GE(small.top, static_cast<int>(Baseline) - SmallFontHeight);
    EXPECT_LT(small.width(), large.width());
    EXPECT_LT(small.height(), large.height());
    EXPECT_FLOAT_EQ(rasterPosition().x - X, 7 * smallAdvance);
}

TEST_F(BitmapTextTest, AHundredFontSwitchesLeaveTwoFontsOfNinetySixLists) {
    GLuint highestName = fontBase + platform::GlyphCount - 1;
    for (int switchCount = 1; switchCount <= 100; ++switchCount) {
        if (switchCount % 2 == 1) {
            buildLargeFont();
        } else {
            buildSmallFont();
        }
        highestName = std::max(highestName, fontBase + platform::GlyphCount - 1);
    }
    EXPECT_EQ(existingLists(highestName + 200), 2 * platform::GlyphCount); // small and large
    for (GLuint name = fontBase; name < fontBase + platform::GlyphCount; ++name) {
        EXPECT_TRUE(glIsList(name)) << name;
    }
    // The text that follows uses the font built last, the small one.
    glRasterPos2f(100.0f, 300.0f);
    drawText("L");
    EXPECT_FLOAT_EQ(rasterPosition().x - 100.0f, advanceAt(SmallFontHeight));
    // The other is drawn in by name; the pen moves by the width measured for it.
    glRasterPos2f(100.0f, 300.0f);
    drawTextIn(FontSize::Large, "Paused");
    EXPECT_FLOAT_EQ(rasterPosition().x - 100.0f, 6 * advanceAt(LargeFontHeight));
    EXPECT_FLOAT_EQ(textWidth(FontSize::Large, "Paused"), 6 * advanceAt(LargeFontHeight));
}

TEST_F(BitmapTextTest, ANullFormatLightsNothingAndLeavesTheRasterPosition) {
    glRasterPos2f(200.0f, 300.0f);
    const RasterPosition before = rasterPosition();
    drawText(nullptr);
    EXPECT_EQ(litBox(render::readScreen()).pixels, 0);
    EXPECT_EQ(rasterPosition().x, before.x);
    EXPECT_EQ(rasterPosition().y, before.y);

    // The same place with a text does both, so the checks above can see a difference.
    drawText("Level 1");
    EXPECT_GT(litBox(render::readScreen()).pixels, 0);
    EXPECT_GT(rasterPosition().x, before.x);
}

TEST_F(BitmapTextTest, AnEmptyTextCallsNoList) {
    // A list where the terminating zero would lead: base fontBase - 32 plus code 0. It moves the
    // raster position, as every glyph list does too.
    const GLuint terminatorList = fontBase - platform::FirstGlyphCode;
    ASSERT_FALSE(glIsList(terminatorList));
    const GLubyte noInk = 0;
    glNewList(terminatorList, GL_COMPILE);
    glBitmap(1, 1, 0.0f, 0.0f, 50.0f, 0.0f, &noInk);
    glEndList();

    glRasterPos2f(200.0f, 300.0f);
    const RasterPosition before = rasterPosition();
    const char* const empty = "";
    drawText("%s", empty);
    drawText("%s%s", empty, empty);
    EXPECT_EQ(rasterPosition().x, before.x);
    EXPECT_EQ(litBox(render::readScreen()).pixels, 0);

    // Called, that list would have shown.
    glPushAttrib(GL_LIST_BIT);
    glListBase(fontBase - platform::FirstGlyphCode);
    const GLubyte terminator = 0;
    glCallLists(1, GL_UNSIGNED_BYTE, &terminator);
    glPopAttrib();
    EXPECT_EQ(rasterPosition().x, before.x + 50.0f);
    glDeleteLists(terminatorList, 1);
}

TEST_F(BitmapTextTest, TextLongerThanTheBufferIsCutTo255Characters) {
    const std::string longText(300, 'x');
    glRasterPos2f(0.0f, 300.0f);
    drawText("%s", longText.c_str());
    EXPECT_FLOAT_EQ(rasterPosition().x, 255 * advanceAt(SmallFontHeight));
}

TEST_F(BitmapTextTest, TheCallersListBaseIsKept) {
    glListBase(1234);
    glRasterPos2f(100.0f, 300.0f);
    drawText("Balance");
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 1234);
    EXPECT_GT(litBox(render::readScreen()).pixels, 0);
}

TEST_F(BitmapTextTest, OverABoundPictureTheGlyphsTakeTheRasterColourAloneAndThePictureStaysBound) {
    // A picture of many colours, none of them white, bound and textured as the scenes leave it.
    GLubyte texels[16 * 16 * 3];
    for (int i = 0; i < 16 * 16; ++i) {
        texels[3 * i] = static_cast<GLubyte>(i % 16 * 12);
        texels[3 * i + 1] = static_cast<GLubyte>(i / 16 * 12);
        texels[3 * i + 2] = 60;
    }
    GLuint picture = 0;
    glGenTextures(1, &picture);
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 16, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_2D);
    glTexCoord2f(0.0f, 1.0f);

    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(100.0f, 300.0f);
    drawText("Level 1");
    const Screenshot shot = render::readScreen();
    const std::vector<int> lit = render::pixelsUnlike(shot, Colour{0, 0, 0}, 0, 0, 0,
                                                      render::ScreenWidth, render::ScreenHeight);
    ASSERT_GT(lit.size(), 50u);
    for (const int pixel : lit) {
        EXPECT_EQ(shot.at(pixel % render::ScreenWidth, pixel / render::ScreenWidth),
                  (Colour{255, 255, 255}));
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), picture);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &picture);
}

// Shutdown deletes the font after the context has gone; that, and deleting again, must be
// harmless, and a window opened afterwards gets a whole working font of its own.
TEST(FontAfterTheContextTest, DeletingWithoutAContextIsHarmlessAndANewWindowHasAWholeFont) {
    ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    closeWindow(); // deletes the font last, with no context left
    ASSERT_FALSE(platform::hasCurrentRenderingContext());
    deleteFont();
    deleteFont();

    ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    int lists = 0;
    for (GLuint name = 1; name <= fontBase + 2 * platform::GlyphCount; ++name) {
        lists += glIsList(name) ? 1 : 0;
    }
    EXPECT_EQ(lists, 2 * platform::GlyphCount); // the small and the large font
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(100.0f, 300.0f);
    drawText("Level 1");
    EXPECT_GT(litBox(render::readScreen()).pixels, 0);
    closeWindow();
}

// The HUD's "Blocks left" line in white on black, drawn on a window of the given drawable size
// laid out by a Size message, read back whole: its lit box in pixels.
struct ViewedText {
    LitBox box;
    std::vector<std::uint8_t> rgb; // bottom row first
};

ViewedText blocksLeftLineOn(int width, int height) {
    scripted::script().drawableWidth = width;
    scripted::script().drawableHeight = height;
    EXPECT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    resizeView(width, height);
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(855.0f, 200.0f);
    drawText("Blocks left: %i", 10);
    ViewedText viewed;
    viewed.box.left = width;
    viewed.box.top = height;
    viewed.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, viewed.rgb.data());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (viewed.rgb[(static_cast<std::size_t>(y) * width + x) * 3] != 0) {
                ++viewed.box.pixels;
                viewed.box.left = std::min(viewed.box.left, x);
                viewed.box.right = std::max(viewed.box.right, x);
                viewed.box.top = std::min(viewed.box.top, y);
                viewed.box.bottom = std::max(viewed.box.bottom, y);
            }
        }
    }
    closeWindow();
    scripted::script().drawableWidth = render::ScreenWidth;
    scripted::script().drawableHeight = render::ScreenHeight;
    return viewed;
}

TEST(ScaledTextTest, OnATwiceLargerViewTheHudLineIsTwiceAsLargeAndAt768ItIsTheSixteenPixelFace) {
    const ViewedText atScreen = blocksLeftLineOn(1024, 768);
    const ViewedText atDouble = blocksLeftLineOn(2048, 1536);
    ASSERT_GT(atScreen.box.pixels, 0);
    const double widthRatio = static_cast<double>(atDouble.box.width()) / atScreen.box.width();
    const double heightRatio = static_cast<double>(atDouble.box.height()) / atScreen.box.height();
    EXPECT_GE(widthRatio, 1.9);
    EXPECT_LE(widthRatio, 2.1);
    EXPECT_GE(heightRatio, 1.9);
    EXPECT_LE(heightRatio, 2.1);
    // The line starts where the HUD puts it, in drawing units, on both.
    EXPECT_NEAR(atDouble.box.left / 2.0, atScreen.box.left, 2.0);

    // At 1024x768 the font is the 16-pixel face itself: the same glyphs drawn straight from the
    // face light exactly the same pixels.
    ASSERT_EQ(openWindow("Tolvar", 1024, 768, 32, true), 1);
    auto glyphs = std::make_unique<platform::GlyphSet>();
    ASSERT_TRUE(platform::loadGlyphs(SmallFontHeight, *glyphs));
    glDisable(GL_TEXTURE_2D);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(855.0f, 200.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const char* c = "Blocks left: 10"; *c != '\0'; ++c) {
        const platform::GlyphBitmap& glyph = glyphs->glyphs[*c - platform::FirstGlyphCode];
        glBitmap(glyph.width, glyph.height, glyph.originX, glyph.originY, glyph.advance, 0.0f,
                 glyph.bits);
    }
    std::vector<std::uint8_t> straight(atScreen.rgb.size());
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, straight.data());
    EXPECT_TRUE(straight == atScreen.rgb);
    closeWindow();
}

} // namespace
