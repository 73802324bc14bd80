// Where the glyphs' bold monospaced face comes from, apart from how FreeType draws it
// (freetype_glyphs.cpp): fontconfig's search of the installed fonts (fontconfig_font_face.cpp),
// or on Windows the face the game ships in its Fonts folder (win32_font_face.cpp).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace font_face {

struct FaceFile {
    std::string path; // UTF-8; FreeType opens it itself unless bytes are given
    // The whole file, read beforehand where FreeType cannot open the path itself (its narrow
    // paths on Windows are the ANSI code page's); kept for the rest of the run.
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    int index = 0;              // the face within the file
    bool needsEmbolden = false; // the face is lighter than bold; FreeType thickens it
};

// Starts, in the background, whatever would make the first search slow.
void prepare();
// Waits until that is done.
void finishPreparing();

// Hands the faces to drawWith, the most wanted first, until it answers true; false when none was
// found or none could be drawn.
bool offerFaces(const std::function<bool(const FaceFile&)>& drawWith);

// One line on standard error: no face could be drawn, what was looked for and how to get it.
void reportMissingFace();

} // namespace font_face
