// The shared colours of every picture, so menus, levels and objects read as one set.
#pragma once

#include "colour.h"

namespace pictures::palette {

// The light mat around every full-screen picture and the box.
constexpr Colour mat = hexColour(0xF6F3EC);
constexpr Colour matEdge = hexColour(0xDDD5C6);

// Dark navy "ink": panels behind white text, lettering on light ground.
constexpr Colour ink = hexColour(0x1B2838);
constexpr Colour inkSoft = hexColour(0x2E4052);
constexpr Colour panelDark = hexColour(0x16202C, 0.93);
constexpr Colour panelDarkEdge = hexColour(0x0D141C, 0.9);
constexpr Colour panelLight = hexColour(0xFBFCFE, 0.95);
constexpr Colour panelLightEdge = hexColour(0x8FA3B8, 0.9);

// Warm amber for everything that can be clicked.
constexpr Colour button = hexColour(0xF4AE3E);
constexpr Colour buttonTop = hexColour(0xFBC766);
constexpr Colour buttonEdge = hexColour(0xA9650F);
constexpr Colour buttonText = hexColour(0x1B2838);

// Accents for titles and motifs.
constexpr Colour teal = hexColour(0x2A9D8F);
constexpr Colour coral = hexColour(0xE76F51);
constexpr Colour cream = hexColour(0xFFF8E7);
constexpr Colour white = hexColour(0xFFFFFF);

// The wood of the board, also used wherever the board appears in a motif.
constexpr Colour wood = hexColour(0xA8693A);
constexpr Colour woodLight = hexColour(0xC98B55);
constexpr Colour woodDark = hexColour(0x5E3517);

// The ball.
constexpr Colour ball = hexColour(0x2F7FB8);
constexpr Colour ballLight = hexColour(0x8FD0F2);
constexpr Colour ballDark = hexColour(0x123A5C);

} // namespace pictures::palette
