#include "level_themes.h"

#include <algorithm>
#include <array>

namespace pictures {
namespace {

constexpr std::array<LevelTheme, 5> themes{{
    // 1: morning meadow
    {hexColour(0x9FD3EE), hexColour(0xFDF3DC), hexColour(0xA9D3B0), hexColour(0x5AA469),
     hexColour(0x3F7F4C), false},
    // 2: warm afternoon over dunes
    {hexColour(0xF3B27A), hexColour(0xFCE7C4), hexColour(0xE7B06A), hexColour(0xC98042),
     hexColour(0x9E5E2D), false},
    // 3: dusk over a still lake
    {hexColour(0x54497A), hexColour(0xEFA59A), hexColour(0x5E4F7E), hexColour(0x394466),
     hexColour(0x262D45), false},
    // 4: starry night over the hills
    {hexColour(0x0B1630), hexColour(0x2A3F6E), hexColour(0x1B2A4E), hexColour(0x121D38),
     hexColour(0x0B1226), false},
    // 5: bright snowfield
    {hexColour(0xCFE6F7), hexColour(0xFAFCFE), hexColour(0xDCE8F2), hexColour(0xEEF4F9),
     hexColour(0xF7FAFC), true},
}};

} // namespace

const LevelTheme& levelTheme(int level) {
    return themes[static_cast<std::size_t>(std::clamp(level, 1, 5) - 1)];
}

} // namespace pictures
