// The bold monospaced face found with fontconfig among the installed fonts.
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

#include "platform/font_face.h"

namespace font_face {

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

} // namespace

void prepare() {
    if (configurationReading.reader.joinable()) {
        return;
    }
    try {
        configurationReading.reader = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first search reads the configuration itself.
    }
}

void finishPreparing() {
    configurationReading.finish();
}

bool offerFaces(const std::function<bool(const FaceFile&)>& drawWith) {
    finishPreparing();
    if (FcInit() != FcTrue) {
        return false;
    }
    FaceFile face;
    return (matchBoldFamily(PreferredFamily, face) && drawWith(face)) ||
           (matchBoldFamily(MetricTwinFamily, face) && drawWith(face)) ||
           (findBoldMonospaced(face) && drawWith(face));
}

void reportMissingFace() {
    std::fprintf(stderr,
                 "no bold monospaced font: neither \"%s\" nor \"%s\" nor any other monospaced "
                 "face was found (the fonts-liberation2 package provides \"%s\")\n",
                 PreferredFamily, MetricTwinFamily, MetricTwinFamily);
}

} // namespace font_face
