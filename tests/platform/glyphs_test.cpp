// The glyph bitmaps of the real platform: FreeType over the font fontconfig finds.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/font_face.h"
#include "platform/platform.h"
#include "support/file_bytes.h"

namespace {

constexpr int SmallHeight = 16;
constexpr int LargeHeight = 36;

// A GlyphSet is over 50 KiB: kept off the stack.
std::unique_ptr<platform::GlyphSet> loadedGlyphs(int pixelHeight) {
    auto glyphs = std::make_unique<platform::GlyphSet>();
    EXPECT_TRUE(platform::loadGlyphs(pixelHeight, *glyphs)) << "at " << pixelHeight << " pixels";
    return glyphs;
}

const platform::GlyphBitmap& glyphOf(const platform::GlyphSet& glyphs, char code) {
    return glyphs.glyphs[code - platform::FirstGlyphCode];
}

int rowBytes(const platform::GlyphBitmap& glyph) {
    return (glyph.width + 7) / 8;
}

// Row 0 is the bottom row.
bool inked(const platform::GlyphBitmap& glyph, int column, int row) {
    const std::uint8_t byte = glyph.bits[row * rowBytes(glyph) + column / 8];
    return (byte & (0x80u >> (column % 8))) != 0;
}

int inkInRow(const platform::GlyphBitmap& glyph, int row) {
    int count = 0;
    for (int column = 0; column < glyph.width; ++column) {
        count += inked(glyph, column, row) ? 1 : 0;
    }
    return count;
}

int inkTotal(const platform::GlyphBitmap& glyph) {
    int count = 0;
    for (int row = 0; row < glyph.height; ++row) {
        count += inkInRow(glyph, row);
    }
    return count;
}

TEST(Glyphs, EveryPrintableCodeHasInkAtBothSizes) {
    for (const int height : {SmallHeight, LargeHeight}) {
        const auto glyphs = loadedGlyphs(height);
        for (int code = 33; code <= 126; ++code) {
            const platform::GlyphBitmap& glyph = glyphs->glyphs[code - platform::FirstGlyphCode];
            EXPECT_GT(glyph.width, 0) << "code " << code << " at " << height;
            EXPECT_GT(glyph.height, 0) << "code " << code << " at " << height;
            EXPECT_GT(inkTotal(glyph), 0) << "code " << code << " at " << height;
            EXPECT_LE(glyph.width, platform::MaxGlyphSide);
            EXPECT_LE(glyph.height, platform::MaxGlyphSide);
        }
        // The space draws nothing but moves the pen like every other character.
        EXPECT_EQ(inkTotal(glyphOf(*glyphs, ' ')), 0);
    }
}

TEST(Glyphs, AdvancesAreEqualAndWholePixels) {
    for (const int height : {SmallHeight, LargeHeight}) {
        const auto glyphs = loadedGlyphs(height);
        const float advance = glyphs->glyphs[0].advance;
        EXPECT_GT(advance, height * 0.3f);
        EXPECT_LT(advance, static_cast<float>(height));
        for (int i = 0; i < platform::GlyphCount; ++i) {
            EXPECT_EQ(glyphs->glyphs[i].advance, advance)
                << "code " << i + platform::FirstGlyphCode;
        }
        EXPECT_EQ(advance, static_cast<float>(static_cast<int>(advance)));
    }
}

TEST(Glyphs, CapitalLHasTheSizeAskedAndSitsOnTheBaseline) {
    const auto small = loadedGlyphs(SmallHeight);
    const auto large = loadedGlyphs(LargeHeight);
    const platform::GlyphBitmap& smallL = glyphOf(*small, 'L');
    const platform::GlyphBitmap& largeL = glyphOf(*large, 'L');
    EXPECT_GT(largeL.height, smallL.height);
    // A capital fills most of the em but not all of it.
    EXPECT_GE(largeL.height, LargeHeight / 2);
    EXPECT_LE(largeL.height, LargeHeight);
    EXPECT_GE(smallL.height, SmallHeight / 2);
    EXPECT_LE(smallL.height, SmallHeight);
    // Nothing of an L hangs below the baseline.
    EXPECT_EQ(largeL.originY, 0.0f);
    EXPECT_EQ(smallL.originY, 0.0f);
}

TEST(Glyphs, RowsRunBottomUpWithTheLeftmostPixelInTheHighBit) {
    const auto glyphs = loadedGlyphs(LargeHeight);
    const platform::GlyphBitmap& l = glyphOf(*glyphs, 'L');
    // The foot of the L is its widest row and lies at the bottom; the stem alone is at the top.
    EXPECT_GT(inkInRow(l, 0), inkInRow(l, l.height - 1) * 2);
    EXPECT_TRUE(inked(l, 0, l.height - 1) || inked(l, 1, l.height - 1) ||
                inked(l, 2, l.height - 1));
    EXPECT_FALSE(inked(l, l.width - 1, l.height - 1));

    // A descender hangs below the baseline: rows below it are counted in originY.
    const platform::GlyphBitmap& g = glyphOf(*glyphs, 'g');
    EXPECT_GT(g.originY, 0.0f);
    EXPECT_LT(g.originY, static_cast<float>(g.height));
}

TEST(Glyphs, PaddingBitsBeyondTheWidthStayClear) {
    const auto glyphs = loadedGlyphs(LargeHeight);
    for (const platform::GlyphBitmap& glyph : glyphs->glyphs) {
        const int bytes = rowBytes(glyph);
        for (int row = 0; row < glyph.height; ++row) {
            for (int column = glyph.width; column < bytes * 8; ++column) {
                EXPECT_FALSE(inked(glyph, column, row));
            }
        }
        // Nothing is written past the rows in use.
        for (int i = bytes * glyph.height; i < static_cast<int>(sizeof glyph.bits); ++i) {
            ASSERT_EQ(glyph.bits[i], 0u);
        }
    }
}

TEST(Glyphs, OversizedGlyphsAreClippedToTheBitmap) {
    const auto glyphs = loadedGlyphs(400);
    const platform::GlyphBitmap& w = glyphOf(*glyphs, 'W');
    EXPECT_EQ(w.height, platform::MaxGlyphSide);
    EXPECT_LE(w.width, platform::MaxGlyphSide);
    EXPECT_GT(inkTotal(w), 0);
    // The kept top part still says where the baseline is: far below the clipped bitmap.
    EXPECT_LT(w.originY, 0.0f);
}

TEST(Glyphs, ANonsenseHeightGivesEmptyGlyphs) {
    auto glyphs = loadedGlyphs(SmallHeight);
    EXPECT_FALSE(platform::loadGlyphs(0, *glyphs));
    EXPECT_FALSE(platform::loadGlyphs(-16, *glyphs));
    for (const platform::GlyphBitmap& glyph : glyphs->glyphs) {
        EXPECT_EQ(glyph.width, 0);
        EXPECT_EQ(glyph.height, 0);
        EXPECT_EQ(glyph.advance, 0.0f);
    }
}

// The Windows build ships one face and draws with it alone: its text stands where it stands here
// only if the face drawn with here is that very file.
TEST(Glyphs, TheFaceDrawnWithIsTheOneTheWindowsBuildShips) {
    std::string drawn;
    ASSERT_TRUE(font_face::offerFaces([&](const font_face::FaceFile& face) {
        drawn = face.bytes != nullptr
                    ? std::string(reinterpret_cast<const char*>(face.bytes), face.size)
                    : support::fileBytes(face.path);
        EXPECT_EQ(face.index, 0);
        EXPECT_FALSE(face.needsEmbolden);
        return true;
    }));
    const std::string shipped = support::fileBytes(TOLVAR_SHIPPED_FONT_FILE);
    ASSERT_FALSE(shipped.empty()) << TOLVAR_SHIPPED_FONT_FILE;
    EXPECT_TRUE(drawn == shipped) << "the face drawn with is not " << TOLVAR_SHIPPED_FONT_FILE;
}

} // namespace
