#include "buttons.h"

#include "palette.h"
#include "shapes.h"
#include "text.h"

#include <algorithm>

namespace pictures {
namespace {

// How far a label may be narrowed before it is made smaller instead.
constexpr double maxSqueeze = 0.8;

} // namespace

void drawButton(cairo_t* cr, Rect area, std::string_view label, double fontSize, ButtonIcon icon) {
    const double radius = std::min(6.0, area.height / 4.0);
    fillRoundedRectangle(cr, area, radius, palette::buttonEdge);
    const Rect face = area.inset(1.5);
    cairo_new_path(cr);
    roundedRectanglePath(cr, face, radius - 1.0);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0.0, face.y, 0.0, face.bottom());
    addStop(fill, 0.0, palette::buttonTop);
    addStop(fill, 0.55, palette::button);
    addStop(fill, 1.0, mix(palette::button, palette::buttonEdge, 0.35));
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    // A thin highlight along the top edge gives the button some lift.
    cairo_new_path(cr);
    cairo_move_to(cr, face.x + radius, face.y + 1.0);
    cairo_line_to(cr, face.right() - radius, face.y + 1.0);
    setSource(cr, withAlpha(palette::white, 0.55));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    const double iconWidth = icon == ButtonIcon::BackArrow ? fontSize * 0.9 : 0.0;
    const double gap = icon == ButtonIcon::None ? 0.0 : fontSize * 0.35;
    // A label too long for its button is first narrowed a little, which keeps it as tall as
    // the others, and only then made smaller.
    const double room = face.width - 6.0 - iconWidth - gap;
    const Font full{fonts::sans, fontSize, true};
    const double fullWidth = textWidth(cr, label, full);
    const double squeeze = fullWidth > room ? std::max(maxSqueeze, room / fullWidth) : 1.0;
    const Font font = fitToWidth(cr, label, full, room / squeeze);
    const double labelWidth = textWidth(cr, label, font) * squeeze;
    const double left = area.centreX() - (iconWidth + gap + labelWidth) / 2.0;
    const double baseline = area.centreY() + capitalHeight * font.pixelSize / 2.0;
    if (icon == ButtonIcon::BackArrow) {
        const double h = font.pixelSize * capitalHeight;
        const double midY = baseline - h / 2.0;
        cairo_new_path(cr);
        cairo_move_to(cr, left, midY);
        cairo_line_to(cr, left + iconWidth * 0.55, midY - h * 0.55);
        cairo_line_to(cr, left + iconWidth * 0.55, midY - h * 0.2);
        cairo_line_to(cr, left + iconWidth, midY - h * 0.2);
        cairo_line_to(cr, left + iconWidth, midY + h * 0.2);
        cairo_line_to(cr, left + iconWidth * 0.55, midY + h * 0.2);
        cairo_line_to(cr, left + iconWidth * 0.55, midY + h * 0.55);
        cairo_close_path(cr);
        setSource(cr, palette::buttonText);
        cairo_fill(cr);
    }
    drawTextLine(cr, label, font, palette::buttonText, left + iconWidth + gap, baseline,
                 Align::Left, squeeze);
}

void drawKeyCap(cairo_t* cr, Rect area, std::string_view symbol, double fontSize) {
    fillRoundedRectangle(cr, Rect{area.x, area.y + 3.0, area.width, area.height}, 7.0,
                         hexColour(0x000000, 0.35));
    fillRoundedRectangle(cr, area, 7.0, palette::inkSoft);
    const Rect top{area.x + 2.0, area.y + 1.5, area.width - 4.0, area.height - 6.0};
    fillRoundedRectangle(cr, top, 6.0, palette::cream);
    drawTextCentred(cr, symbol,
                    fitToWidth(cr, symbol, Font{fonts::sans, fontSize, true}, top.width - 8.0),
                    palette::ink, top);
}

} // namespace pictures
