// The bold monospaced face on Windows: the game's own copy of Liberation Mono Bold in its Fonts
// folder, the very file fontconfig finds first on a Debian desktop, so that the text stands where
// it stands there. No font configuration to read, and nothing asked of %WINDIR%\Fonts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/font_face.h"
#include "platform/game_folder.h"
#include "platform/win32_utf16.h"

namespace font_face {

namespace {

constexpr std::string_view ShippedFace = "Fonts/LiberationMono-Bold.ttf";
constexpr const char* ShippedFamily = "Liberation Mono";
// Far above the face's few hundred KiB; a larger file is no face of ours.
constexpr std::size_t LargestFaceBytes = 32u << 20;

// Read once and kept for the run: FreeType reads a memory face's bytes for as long as the face
// lives, and each font size makes its face anew.
std::vector<unsigned char> faceBytes;
std::string facePath;
std::string readFailure; // why the last read failed, for the report

// FreeType's own open takes a narrow path, which Windows reads in the ANSI code page: a folder
// named "Spiele Jöns" may not survive that. The file is read here through its UTF-16 path.
bool readShippedFace() {
    if (!faceBytes.empty()) {
        return true;
    }
    facePath = platform::gameFilePath(ShippedFace);
    const std::wstring widePath = platform::utf16FromUtf8(facePath).value_or(std::wstring());
    std::FILE* file = widePath.empty() ? nullptr : _wfopen(widePath.c_str(), L"rb");
    if (file == nullptr) {
        readFailure = !widePath.empty()  ? std::strerror(errno)
                      : facePath.empty() ? "the game's folder is not known"
                                         : "the path is no UTF-8";
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 &&
           bytes.size() + got <= LargestFaceBytes) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    const bool tooLarge = got > 0;
    std::fclose(file);
    if (failed || tooLarge || bytes.empty()) {
        readFailure = failed ? "a read failed" : tooLarge ? "far too large" : "empty";
        return false;
    }
    faceBytes = std::move(bytes);
    return true;
}

} // namespace

void prepare() {} // no font configuration to read
void finishPreparing() {}

bool offerFaces(const std::function<bool(const FaceFile&)>& drawWith) {
    if (!readShippedFace()) {
        return false;
    }
    FaceFile face;
    face.path = facePath;
    face.bytes = faceBytes.data();
    face.size = faceBytes.size();
    if (drawWith(face)) {
        return true;
    }
    readFailure = "no face FreeType can draw";
    return false;
}

void reportMissingFace() {
    std::fprintf(stderr,
                 "no bold monospaced font: \"%s\" could not be used (%s); the game ships \"%s\" "
                 "there, in its Fonts folder\n",
                 facePath.c_str(), readFailure.c_str(), ShippedFamily);
}

} // namespace font_face
