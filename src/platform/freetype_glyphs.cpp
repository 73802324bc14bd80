// Glyph bitmaps of a bold monospaced face, found with fontconfig and rasterised with FreeType.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

#include "platform/platform.h"

namespace platform {

namespace {

// The face the game was drawn with, then its metric twin, then any bold monospaced face.
constexpr const char* PreferredFamily = "Courier New";
constexpr const char* MetricTwinFamily = "Liberation Mono";

// Reading the font configuration takes longer than anything else the first font needs: it is
// started early on a thread of its own and joined before the first look for a face.
struct ConfigurationReading {
    std::thread reader;
    ~ConfigurationReading() { finish(); }
    void finish() {
        if (reader.joinable()) {
            reader.join();
        }
    }
};
ConfigurationReading configurationReading;

struct FaceFile {
    std::string path;
    int index = 0;
    bool needsEmbolden = false; // the face is lighter than bold; FreeType thickens it
};

bool patternFaceFile(FcPattern* pattern, FaceFile& face) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return false;
    }
    int index = 0;
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch) {
        index = 0;
    }
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(pattern, FC_WEIGHT, 0, &weight) != FcResultMatch) {
        weight = FC_WEIGHT_REGULAR;
    }
    face.path = reinterpret_cast<const char*>(file);
    face.index = index;
    face.needsEmbolden = weight < FC_WEIGHT_BOLD;
    return true;
}

bool patternHasFamily(FcPattern* pattern, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family)) == 0) {
            return true;
        }
    }
    return false;
}

// fontconfig always answers with its best match, which may be any face at all: the match is
// taken only when it really is the family asked for.
bool matchBoldFamily(const char* family, FaceFile& face) {
    FcPattern* request = FcPatternCreate();
    if (request == nullptr) {
        return false;
    }
    FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(request, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddInteger(request, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, request, &result);
    FcPatternDestroy(request);
    if (match == nullptr) {
        return false;
    }
    const bool found = patternHasFamily(match, family) && patternFaceFile(match, face);
    FcPatternDestroy(match);
    return found;
}

// Any scalable monospaced upright face, the one nearest to bold from above; listed rather than
// matched, since a match would weigh the family name far above the spacing.
bool findBoldMonospaced(FaceFile& face) {
    FcPattern* request = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, nullptr);
    if (request == nullptr || fields == nullptr) {
        if (request != nullptr) {
            FcPatternDestroy(request);
        }
        if (fields != nullptr) {
            FcObjectSetDestroy(fields);
        }
        return false;
    }
    FcPatternAddInteger(request, FC_SPACING, FC_MONO);
    FcPatternAddBool(request, FC_OUTLINE, FcTrue);
    FcPatternAddInteger(request, FC_SLANT, FC_SLANT_ROMAN);
    FcFontSet* fonts = FcFontList(nullptr, request, fields);
    FcObjectSetDestroy(fields);
    FcPatternDestroy(request);
    if (fonts == nullptr) {
        return false;
    }
    // Bold or heavier beats lighter; among the bold ones the lightest, among the rest the
    // heaviest; ties go to the file name, so the choice does not depend on listing order.
    FcPattern* best = nullptr;
    int bestWeight = 0;
    std::string bestFile;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        int weight = FC_WEIGHT_REGULAR;
        FcChar8* file = nullptr;
        if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) != FcResultMatch ||
            FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
            continue;
        }
        const std::string fileName = reinterpret_cast<const char*>(file);
        bool better = false;
        if (best == nullptr) {
            better = true;
        } else if ((weight >= FC_WEIGHT_BOLD) != (bestWeight >= FC_WEIGHT_BOLD)) {
            better = weight >= FC_WEIGHT_BOLD;
        } else if (weight != bestWeight) {
            better = weight >= FC_WEIGHT_BOLD ? weight < bestWeight : weight > bestWeight;
        } else {
            better = fileName < bestFile;
        }
        if (better) {
            best = font;
            bestWeight = weight;
            bestFile = fileName;
        }
    }
    const bool found = best != nullptr && patternFaceFile(best, face);
    FcFontSetDestroy(fonts);
    return found;
}

void clearGlyphs(GlyphSet& glyphSet) {
    for (GlyphBitmap& glyph : glyphSet.glyphs) {
        glyph = GlyphBitmap{};
    }
}

// 8-bit coverage to glBitmap's 1-bit rows: half covered or more is ink. Rows run bottom-up and
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

bool renderFace(const FaceFile& file, int pixelHeight, GlyphSet& glyphSet) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool rendered = false;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) == 0 &&
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0) {
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
    if (configurationReading.reader.joinable()) {
        return;
    }
    try {
        configurationReading.reader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first loadGlyphs reads the configuration itself.
    }
}

void finishPreparingGlyphs() {
    configurationReading.finish();
}

bool loadGlyphs(int pixelHeight, GlyphSet& glyphSet) {
    clearGlyphs(glyphSet);
    if (pixelHeight <= 0) {
        return false;
    }
    finishPreparingGlyphs();
    FaceFile face;
    if (FcInit() == FcTrue) {
        if (matchBoldFamily(PreferredFamily, face) && renderFace(face, pixelHeight, glyphSet)) {
            return true;
        }
        if (matchBoldFamily(MetricTwinFamily, face) && renderFace(face, pixelHeight, glyphSet)) {
            return true;
        }
        if (findBoldMonospaced(face) && renderFace(face, pixelHeight, glyphSet)) {
            return true;
        }
    }
    clearGlyphs(glyphSet);
    std::fprintf(stderr,
                 "no bold monospaced font: neither \"%s\" nor \"%s\" nor any other monospaced "
                 "face was found (the fonts-liberation2 package provides \"%s\")\n",
                 PreferredFamily, MetricTwinFamily, MetricTwinFamily);
    return false;
}

} // namespace platform
