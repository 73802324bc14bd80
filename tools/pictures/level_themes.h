// The look of each level: its landscape colours, shared by the level backgrounds and by the
// little badges on the level-select screen.
#pragma once

#include "colour.h"

namespace pictures {

struct LevelTheme {
    Colour skyTop;
    Colour skyHorizon;
    Colour farLand;
    Colour nearLand;
    Colour ground;
    bool lightHud; // true when the game writes the HUD in black over a light panel
};

// level 1..5
const LevelTheme& levelTheme(int level);

} // namespace pictures
