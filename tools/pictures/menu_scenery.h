// The dusk landscape behind every screen outside play, the small balance on its hills beside the
// menus, and the game's title lettering.
#pragma once

#include "colour.h"
#include "screen_space.h"

#include <cairo.h>

#include <string_view>

namespace pictures {

// Sky, low sun, stars and three rows of hills.
void paintMenuScenery(cairo_t* cr);

// The small balance that stands on the hills to the right of the menus and the level select.
void drawMenuMotif(cairo_t* cr);

// A heading in the title style: cream serif capitals with a dark outline and a drop shadow,
// centred on x.
void drawTitle(cairo_t* cr, std::string_view text, double centreX, double baselineY, double size);

// A card for a screen's buttons or text: dark, soft-edged, with a shadow.
void drawCard(cairo_t* cr, Rect rect);

} // namespace pictures
