#include "menu_scenery.h"

#include "game_objects.h"
#include "palette.h"
#include "scenery.h"
#include "shapes.h"
#include "text.h"

namespace pictures {

void paintMenuScenery(cairo_t* cr) {
    paintSky(cr, {{0.0, hexColour(0x132B3D)},
                  {300.0, hexColour(0x24576A)},
                  {520.0, hexColour(0x5E8C8C)},
                  {640.0, hexColour(0xF2BE84)},
                  {768.0, hexColour(0xF7D7A6)}});
    drawStars(cr, Rect{0.0, 0.0, screenWidth, 260.0}, 90, 0x51A45, hexColour(0xFFF8E7, 0.8));
    drawSun(cr, 512.0, 640.0, 46.0, hexColour(0xFFE3A8), hexColour(0xFFD08A, 0.55));
    drawHills(cr, HillLayer{628.0, 22.0, 700.0, 0.4, hexColour(0x3F6E72)});
    drawHills(cr, HillLayer{668.0, 26.0, 520.0, 2.1, hexColour(0x2A5158)});
    drawHills(cr, HillLayer{712.0, 20.0, 430.0, 4.0, hexColour(0x1A363F)});
}

void drawMenuMotif(cairo_t* cr) {
    constexpr int left[] = {6, 2};
    constexpr int right[] = {3, 5, 1};
    drawBalanceMotif(cr, BalanceMotif{805.0, 706.0, 0.6, 1.0, left, 2, right, 3});
}

void drawTitle(cairo_t* cr, std::string_view text, double centreX, double baselineY, double size) {
    const Font font{fonts::serif, size, true};
    // An amber rule under the heading, like the board under its blocks, clear of descenders.
    const double width = textWidth(cr, text, font) * 0.7;
    fillRoundedRectangle(cr,
                         Rect{centreX - width / 2.0, baselineY + size * 0.27, width, size * 0.07},
                         size * 0.035, palette::button);
    drawTextLine(cr, text, font, hexColour(0x000000, 0.35), centreX + size * 0.04,
                 baselineY + size * 0.06, Align::Centre);
    drawOutlinedTextLine(cr, text, font, palette::cream, palette::ink, size * 0.035, centreX,
                         baselineY, Align::Centre);
}

void drawCard(cairo_t* cr, Rect rect) {
    drawSoftShadow(cr, rect, 16.0, 18.0, 0.45);
    drawPanel(cr, rect, PanelTone::Dark, 16.0);
}

} // namespace pictures
