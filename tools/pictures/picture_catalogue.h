// The 25 pictures the game loads: where each goes under the data folder, its size and file
// kind, and who paints it.
#pragma once

#include "canvas.h"

#include <array>
#include <string_view>

namespace pictures {

enum class PictureKind {
    Jpeg,
    PngWithAlpha,
};

struct CatalogueEntry {
    std::string_view path; // relative to the data folder, exactly as the game spells it
    int width;
    int height;
    PictureKind kind;
    bool fullScreen; // drawn over the whole screen with its upper 74.5 % shown
    void (*paint)(Canvas& canvas);
};

constexpr std::size_t pictureCount = 25;
extern const std::array<CatalogueEntry, pictureCount> pictureCatalogue;

} // namespace pictures
