// The logo, the main menu and the play menu: one dusk landscape, the title, the balance motif.
#include "buttons.h"
#include "framed_screen.h"
#include "game_objects.h"
#include "menu_scenery.h"
#include "painters.h"
#include "palette.h"
#include "shapes.h"
#include "text.h"

#include <algorithm>
#include <initializer_list>

namespace pictures {
namespace {

constexpr Colour hintColour = hexColour(0xFFF1D6);

// A menu's card: the outer bounds of its buttons' click rectangles, widened by sideMargin left and
// right and by endMargin above and below.
Rect cardAround(std::initializer_list<layout::ClickRect> buttons, double sideMargin,
                double endMargin) {
    layout::ClickRect bounds = *buttons.begin();
    for (const layout::ClickRect& button : buttons) {
        bounds.left = std::min(bounds.left, button.left);
        bounds.top = std::min(bounds.top, button.top);
        bounds.right = std::max(bounds.right, button.right);
        bounds.bottom = std::max(bounds.bottom, button.bottom);
    }
    return Rect{bounds.left - sideMargin, bounds.top - endMargin,
                bounds.right - bounds.left + 2.0 * sideMargin,
                bounds.bottom - bounds.top + 2.0 * endMargin};
}

void paintLogoScene(cairo_t* cr) {
    paintMenuScenery(cr);
    drawTitle(cr, "Tolvar", 512.0, 300.0, 170.0);
    drawTextLine(cr, "a game of balance", Font{fonts::serif, 30.0, false}, hintColour, 512.0, 392.0,
                 Align::Centre);
    constexpr int left[] = {4, 7, 2};
    constexpr int right[] = {5, 3, 6};
    drawBalanceMotif(cr, BalanceMotif{512.0, 716.0, 0.95, 1.0, left, 3, right, 3});
}

void paintMainMenuScene(cairo_t* cr) {
    paintMenuScenery(cr);
    const Rect card =
        cardAround({layout::mainMenuPlay, layout::mainMenuHelp, layout::mainMenuQuit}, 35.0, 24.0);
    drawTitle(cr, "Tolvar", card.centreX(), 250.0, 120.0);
    drawTextLine(cr, "a game of balance", Font{fonts::serif, 24.0, false}, hintColour,
                 card.centreX(), 318.0, Align::Centre);
    drawCard(cr, card);
    drawButton(cr, drawnArea(layout::mainMenuPlay), "Play", 20.0);
    drawButton(cr, drawnArea(layout::mainMenuHelp), "Help", 20.0);
    drawButton(cr, drawnArea(layout::mainMenuQuit), "Quit", 20.0);
    drawMenuMotif(cr);
}

void paintPlayMenuScene(cairo_t* cr) {
    paintMenuScenery(cr);
    const Rect card = cardAround(
        {layout::playMenuNewGame, layout::playMenuLevelSelect, layout::playMenuBack}, 24.0, 23.0);
    drawTitle(cr, "Play", card.centreX(), 250.0, 110.0);
    drawCard(cr, card);
    drawButton(cr, drawnArea(layout::playMenuNewGame), "New game", 19.0);
    drawButton(cr, drawnArea(layout::playMenuLevelSelect), "Level select", 19.0);
    drawButton(cr, drawnArea(layout::playMenuBack), "Back", 19.0, ButtonIcon::BackArrow);
    // A hint under the card, centred with it.
    constexpr double hintWidth = 440.0;
    const double hintLeft = card.centreX() - hintWidth / 2.0;
    fillRoundedRectangle(cr, Rect{hintLeft, 548.0, hintWidth, 58.0}, 18.0,
                         withAlpha(palette::panelDark, 0.85));
    drawParagraph(cr,
                  "<b>New game</b> starts at level 1.\n"
                  "<b>Level select</b> replays any level you have reached.",
                  Font{fonts::sans, 16.0, false}, hintColour, hintLeft, 556.0, hintWidth,
                  Align::Centre, 1.05);
    drawMenuMotif(cr);
}

} // namespace

void paintLogo(Canvas& canvas) {
    paintFramedScreen(canvas, paintLogoScene);
}
void paintMainMenu(Canvas& canvas) {
    paintFramedScreen(canvas, paintMainMenuScene);
}
void paintPlayMenu(Canvas& canvas) {
    paintFramedScreen(canvas, paintPlayMenuScene);
}

} // namespace pictures
