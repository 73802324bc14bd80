// Glyph bitmaps of a bold monospaced face (see font_face.h for where it comes from), rasterised
// with FreeType.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cstring>

#include "platform/font_face.h"
#include "platform/platform.h"

namespace platform {

namespace {

void clearGlyphs(GlyphSet& glyphSet) {
    for (GlyphBitmap& glyph : glyphSet.glyphs) {
        glyph = GlyphBitmap{};
    }
}

// 8-bit coverage to 1-bit rows: half covered or more is ink. Rows run bottom-up and
// a glyph larger than the bitmap keeps its top-left part.
void storeGlyph(const FT_GlyphSlot slot, GlyphBitmap& glyph) {
    const FT_Bitmap& source = slot->bitmap;
    const int width = static_cast<int>(source.width) < MaxGlyphSide ? static_cast<int>(source.width)
                                                                    : MaxGlyphSide;
    const int height =
        static_cast<int>(source.rows) < MaxGlyphSide ? static_cast<int>(source.rows) : MaxGlyphSide;
    const int rowBytes = (width + 7) / 8;
    glyph.width = width;
    glyph.height = height;
    glyph.originX = static_cast<float>(-slot->bitmap_left);
    glyph.originY = static_cast<float>(height - slot->bitmap_top);
    glyph.advance = static_cast<float>((slot->advance.x + 32) >> 6);
    std::memset(glyph.bits, 0, sizeof glyph.bits);
    if (source.pixel_mode != FT_PIXEL_MODE_GRAY || source.buffer == nullptr) {
        return;
    }
    const unsigned int levels = source.num_grays > 1 ? source.num_grays - 1u : 255u;
    for (int row = 0; row < height; ++row) {
        // FreeType's pitch is negative for bottom-up bitmaps; its row 0 is the top either way.
        const unsigned char* sourceRow =
            source.pitch >= 0 ? source.buffer + static_cast<std::ptrdiff_t>(row) * source.pitch
                              : source.buffer + static_cast<std::ptrdiff_t>(source.rows - 1 - row) *
                                                    -source.pitch;
        std::uint8_t* targetRow = glyph.bits + (height - 1 - row) * rowBytes;
        for (int column = 0; column < width; ++column) {
            if (sourceRow[column] * 2u >= levels) {
                targetRow[column / 8] |= static_cast<std::uint8_t>(0x80u >> (column % 8));
            }
        }
    }
}

bool renderFace(const font_face::FaceFile& file, int pixelHeight, GlyphSet& glyphSet) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool rendered = false;
    const FT_Error opened =
        file.bytes != nullptr
            ? FT_New_Memory_Face(library, file.bytes, static_cast<FT_Long>(file.size), file.index,
                                 &face)
            : FT_New_Face(library, file.path.c_str(), file.index, &face);
    if (opened == 0 && FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0) {
        rendered = true;
        float commonAdvance = 0.0f;
        for (int i = 0; i < GlyphCount; ++i) {
            GlyphBitmap& glyph = glyphSet.glyphs[i];
            glyph = GlyphBitmap{};
            const FT_ULong code = static_cast<FT_ULong>(FirstGlyphCode + i);
            const FT_UInt index = FT_Get_Char_Index(face, code);
            // A code the face has no glyph for (127) draws nothing but still moves the pen.
            if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
                continue;
            }
            if (file.needsEmbolden) {
                FT_GlyphSlot_Embolden(face->glyph);
            }
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
                continue;
            }
            storeGlyph(face->glyph, glyph);
            if (commonAdvance == 0.0f) {
                commonAdvance = glyph.advance;
            }
        }
        for (GlyphBitmap& glyph : glyphSet.glyphs) {
            if (glyph.advance == 0.0f) {
                glyph.advance = commonAdvance;
            }
        }
    }
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return rendered;
}

} // namespace

void prepareGlyphs() {
    font_face::prepare();
}

void finishPreparingGlyphs() {
    font_face::finishPreparing();
}

bool loadGlyphs(int pixelHeight, GlyphSet& glyphSet) {
    clearGlyphs(glyphSet);
    if (pixelHeight <= 0) {
        return false;
    }
    if (font_face::offerFaces([&](const font_face::FaceFile& face) {
            return renderFace(face, pixelHeight, glyphSet);
        })) {
        return true;
    }
    clearGlyphs(glyphSet);
    font_face::reportMissingFace();
    return false;
}

} // namespace platform
