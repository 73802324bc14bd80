// The bold monospaced face in the browser: the game's own copy in its Fonts folder, preloaded with
// its data, as on Windows. FreeType opens it from the page's file system itself.
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/font_face.h"
#include "platform/game_folder.h"

namespace font_face {

namespace {

constexpr std::string_view ShippedFace = "Fonts/LiberationMono-Bold.ttf";

} // namespace

void prepare() {} // no font configuration to read
void finishPreparing() {}

bool offerFaces(const std::function<bool(const FaceFile&)>& drawWith) {
    FaceFile face;
    face.path = platform::gameFilePath(ShippedFace);
    return drawWith(face);
}

void reportMissingFace() {
    std::fprintf(stderr, "no bold monospaced font: \"%s\" could not be used\n",
                 platform::gameFilePath(ShippedFace).c_str());
}

} // namespace font_face
