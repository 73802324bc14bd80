// The level-select screen. The game writes "Level 1" .. "Level 5" itself, in white, for the
// levels that are unlocked; the picture gives those labels dark slots to sit in.
#include "buttons.h"
#include "framed_screen.h"
#include "level_themes.h"
#include "menu_scenery.h"
#include "painters.h"
#include "palette.h"
#include "shapes.h"
#include "text.h"

#include <numbers>

namespace pictures {
namespace {

// Each level label's dark slot, where the layout puts it.
constexpr Rect labelSlot(int level) {
    const layout::ClickRect slot = layout::levelLabelSlot(level);
    return Rect{static_cast<double>(slot.left), static_cast<double>(slot.top),
                static_cast<double>(slot.right - slot.left),
                static_cast<double>(slot.bottom - slot.top)};
}

// Each level's badge stands level with the middle of its slot, its centre this far left of the
// slot.
constexpr double badgeBeforeSlot = 36.0;

// The card holds the five slots, from the first level's down to the fifth's, with room on the
// left for the level badges.
constexpr double panelMarginLeft = 70.0;
constexpr double panelMarginRight = 10.0;
constexpr double panelMarginAbove = 18.0;
constexpr double panelMarginBelow = 14.0;

constexpr Rect panelAroundSlots() {
    const Rect first = labelSlot(1);
    const Rect last = labelSlot(5);
    const double left = first.x - panelMarginLeft;
    const double top = first.y - panelMarginAbove;
    return Rect{left, top, first.right() + panelMarginRight - left,
                last.bottom() + panelMarginBelow - top};
}
constexpr Rect labelPanel = panelAroundSlots();

// A round badge in a level's colours: its sky over its land.
void drawLevelBadge(cairo_t* cr, double x, double y, int level) {
    const LevelTheme& theme = levelTheme(level);
    constexpr double radius = 17.0;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, 2.0 * std::numbers::pi);
    cairo_clip(cr);
    fillVerticalGradient(cr, Rect{x - radius, y - radius, 2.0 * radius, 2.0 * radius}, theme.skyTop,
                         theme.skyHorizon);
    cairo_new_path(cr);
    cairo_move_to(cr, x - radius, y + 3.0);
    cairo_curve_to(cr, x - 6.0, y - 4.0, x + 4.0, y + 6.0, x + radius, y);
    cairo_line_to(cr, x + radius, y + radius);
    cairo_line_to(cr, x - radius, y + radius);
    cairo_close_path(cr);
    setSource(cr, theme.nearLand);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, 2.0 * std::numbers::pi);
    setSource(cr, palette::cream);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
}

void paintLevelSelectScene(cairo_t* cr) {
    paintMenuScenery(cr);
    drawTitle(cr, "Choose a level", labelPanel.centreX(), 200.0, 72.0);
    drawCard(cr, labelPanel);
    for (int level = 1; level <= 5; ++level) {
        const Rect slot = labelSlot(level);
        fillRoundedRectangle(cr, slot, 9.0, hexColour(0x0E161F));
        cairo_new_path(cr);
        roundedRectanglePath(cr, slot.inset(0.75), 8.5);
        setSource(cr, hexColour(0x3A5266));
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        drawLevelBadge(cr, slot.x - badgeBeforeSlot, slot.centreY(), level);
    }
    const char* hint = "Click a level you have reached to play it";
    const Font hintFont{fonts::sans, 17.0, true};
    const double hintWidth = textWidth(cr, hint, hintFont) + 40.0;
    fillRoundedRectangle(cr, Rect{labelPanel.centreX() - hintWidth / 2.0, 638.0, hintWidth, 36.0},
                         18.0, withAlpha(palette::panelDark, 0.85));
    drawTextLine(cr, hint, hintFont, hexColour(0xFFF1D6), labelPanel.centreX(), 662.0,
                 Align::Centre);
    drawMenuMotif(cr);
    drawButton(cr, drawnArea(layout::levelSelectBack), "Back", 21.0, ButtonIcon::BackArrow);
}

} // namespace

void paintLevelSelect(Canvas& canvas) {
    paintFramedScreen(canvas, paintLevelSelectScene);
}

} // namespace pictures
