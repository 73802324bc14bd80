// Everything a player can click is drawn as the same amber button, filling its click area
// exactly: the area's pixels are the button's pixels.
#pragma once

#include "screen_space.h"

#include <cairo.h>

#include <string_view>

namespace pictures {

enum class ButtonIcon {
    None,
    BackArrow, // a left-pointing arrow before the label
};

// The label is centred and shrunk only if it would not fit; fontSize is its largest size.
void drawButton(cairo_t* cr, Rect area, std::string_view label, double fontSize,
                ButtonIcon icon = ButtonIcon::None);

// A keyboard key with a symbol or short word on it (the help screen's controls).
void drawKeyCap(cairo_t* cr, Rect area, std::string_view symbol, double fontSize);

} // namespace pictures
