// The help, game-over and credits screens: the menu landscape with text cards.
#include "buttons.h"
#include "framed_screen.h"
#include "game_objects.h"
#include "menu_scenery.h"
#include "painters.h"
#include "palette.h"
#include "shapes.h"
#include "text.h"

namespace pictures {
namespace {

constexpr Colour bodyText = hexColour(0xF3EEE4);
constexpr Colour mutedText = hexColour(0xB9C7D3);
constexpr Colour hintColour = hexColour(0xFFF1D6);

// A "click to go back" line in a dark pill near the bottom of the screen.
void drawReturnHint(cairo_t* cr, const char* text) {
    const Font font{fonts::sans, 18.0, true};
    const double width = textWidth(cr, text, font) + 40.0;
    fillRoundedRectangle(cr, Rect{512.0 - width / 2.0, 694.0, width, 36.0}, 18.0,
                         withAlpha(palette::panelDark, 0.85));
    drawTextLine(cr, text, font, hintColour, 512.0, 718.0, Align::Centre);
}

void drawCardHeading(cairo_t* cr, const char* text, double x, double baseline) {
    drawTextLine(cr, text, Font{fonts::serif, 28.0, true}, palette::buttonTop, x, baseline,
                 Align::Left);
}

void paintHelpScene(cairo_t* cr) {
    paintMenuScenery(cr);
    drawTitle(cr, "How to play", 512.0, 112.0, 70.0);

    // Controls.
    const Rect controls{50.0, 170.0, 452.0, 470.0};
    drawCard(cr, controls);
    drawCardHeading(cr, "Controls", 80.0, 218.0);
    const Font body{fonts::sans, 18.0, false};
    const Font compact{fonts::sans, 15.0, false};
    const double textLeft = 210.0;
    const double textWidthAvailable = controls.right() - textLeft - 24.0;
    drawKeyCap(cr, Rect{72.0, 240.0, 52.0, 44.0}, "\u2190", 24.0);
    drawKeyCap(cr, Rect{132.0, 240.0, 52.0, 44.0}, "\u2192", 24.0);
    drawParagraph(cr,
                  "Move the falling block to the <b>left</b> or <b>right</b> column while it "
                  "is still above the stacks.",
                  compact, bodyText, textLeft, 236.0, textWidthAvailable, Align::Left);
    drawKeyCap(cr, Rect{102.0, 296.0, 52.0, 44.0}, "\u2193", 24.0);
    drawParagraph(cr, "Drop it <b>three times as fast</b>.", compact, bodyText, textLeft, 306.0,
                  textWidthAvailable, Align::Left);
    drawKeyCap(cr, Rect{72.0, 352.0, 52.0, 44.0}, "P", 20.0);
    drawKeyCap(cr, Rect{132.0, 352.0, 52.0, 44.0}, "Esc", 16.0);
    drawParagraph(cr, "<b>Pause</b> a level and go on again. Esc also leaves this page.", compact,
                  bodyText, textLeft, 350.0, textWidthAvailable, Align::Left);
    drawKeyCap(cr, Rect{102.0, 408.0, 52.0, 44.0}, "M", 20.0);
    drawParagraph(cr, "<b>Mute</b> or unmute the music.", compact, bodyText, textLeft, 418.0,
                  textWidthAvailable, Align::Left);
    drawKeyCap(cr, Rect{72.0, 464.0, 52.0, 44.0}, "Tab", 16.0);
    drawKeyCap(cr, Rect{132.0, 464.0, 52.0, 44.0}, "\u21B5", 22.0);
    drawParagraph(cr,
                  "In the menus, the <b>arrows</b> or <b>Tab</b> pick a button, <b>Enter</b> "
                  "or <b>Space</b> presses it.",
                  compact, bodyText, textLeft, 462.0, textWidthAvailable, Align::Left);
    drawKeyCap(cr, Rect{72.0, 520.0, 52.0, 44.0}, "A", 20.0);
    drawKeyCap(cr, Rect{132.0, 520.0, 52.0, 44.0}, "B", 20.0);
    drawParagraph(cr,
                  "A <b>gamepad</b>: D-pad or stick to move, A to press, B to go back, "
                  "<b>Start</b> to pause.",
                  compact, bodyText, textLeft, 524.0, textWidthAvailable, Align::Left);
    drawParagraph(cr,
                  "With the <b>mouse</b>: click the buttons. In a level, those on the right "
                  "take you to the <b>Menu</b>, start a <b>New game</b> from level 1, or open "
                  "the <b>Levels</b> list.",
                  compact, mutedText, 72.0, 586.0, controls.right() - 72.0 - 24.0, Align::Left);

    // The rule of the balance.
    const Rect rules{522.0, 170.0, 452.0, 470.0};
    drawCard(cr, rules);
    drawCardHeading(cr, "The balance", 552.0, 218.0);
    constexpr int left[] = {3, 5};
    constexpr int right[] = {7, 4};
    cairo_save(cr);
    cairo_new_path(cr);
    roundedRectanglePath(cr, Rect{546.0, 236.0, 404.0, 150.0}, 10.0);
    cairo_clip(cr);
    fillVerticalGradient(cr, Rect{546.0, 236.0, 404.0, 150.0}, hexColour(0x2C4D63),
                         hexColour(0x41707C));
    drawBalanceMotif(cr, BalanceMotif{748.0, 384.0, 0.56, 3.0, left, 2, right, 2});
    cairo_restore(cr);
    drawTextLine(cr, "8", Font{fonts::sans, 22.0, true}, palette::buttonTop, 600.0, 268.0,
                 Align::Centre);
    drawTextLine(cr, "11", Font{fonts::sans, 22.0, true}, palette::buttonTop, 902.0, 268.0,
                 Align::Centre);
    drawTextLine(cr, "difference 3: tilted 3\u00B0", Font{fonts::sans, 14.0, true}, mutedText,
                 748.0, 268.0, Align::Centre);
    drawParagraph(cr,
                  "Each block that lands adds its weight to its side, and the board tilts "
                  "<b>one degree</b> for every unit of difference between the two sides. If the "
                  "difference grows past the <b>balance differential</b> shown at the top "
                  "right, the game is over. Each level drops more blocks and allows less: "
                  "<b>9</b> in level 1, down to <b>5</b> in level 5.",
                  body, bodyText, 552.0, 404.0, 392.0, Align::Left, 1.1);

    drawReturnHint(cr, "Click anywhere or press Esc to return to the menu");
}

void paintGameOverScene(cairo_t* cr) {
    paintMenuScenery(cr);
    // A red dusk wash over the usual landscape.
    cairo_rectangle(cr, 0.0, 0.0, screenWidth, 1100.0);
    setSource(cr, hexColour(0x7A1E1E, 0.28));
    cairo_fill(cr);
    drawTitle(cr, "Game over", 512.0, 200.0, 110.0);
    drawTextLine(cr, "The board tipped too far.", Font{fonts::serif, 30.0, false}, hintColour,
                 512.0, 280.0, Align::Centre);

    constexpr int left[] = {2, 1};
    constexpr int right[] = {9, 6, 8};
    constexpr double motifScale = 0.95;
    drawBalanceMotif(cr, BalanceMotif{512.0, 662.0, motifScale, 16.0, left, 2, right, 3});
    // Two blocks already tumbling off the low end, the size of the motif's own.
    const double blockWidth = layout::blockWidth * motifScale;
    const double blockHeight = layout::blockHeight * motifScale;
    const struct {
        double x, y, turn;
        int weight;
    } falling[] = {{742.0, 476.0, 0.55, 10}, {800.0, 566.0, 1.25, 7}};
    for (const auto& block : falling) {
        cairo_save(cr);
        cairo_translate(cr, block.x, block.y);
        cairo_rotate(cr, block.turn);
        // Kept as first painted: turned about a point 11.9 in from the block's left edge, a hair
        // off its centre (11.875).
        drawBlockFace(cr, Rect{-11.9, -blockHeight / 2.0, blockWidth, blockHeight}, block.weight);
        cairo_restore(cr);
    }
    drawReturnHint(cr, "Click, or press Enter, to return to the menu");
}

void paintCreditsScene(cairo_t* cr) {
    paintMenuScenery(cr);
    drawTitle(cr, "Tolvar", 512.0, 170.0, 110.0);
    drawTextLine(cr, "Thank you for playing!", Font{fonts::serif, 30.0, false}, hintColour, 512.0,
                 250.0, Align::Centre);
    const Rect card{252.0, 290.0, 520.0, 330.0};
    drawCard(cr, card);
    struct Credit {
        const char* role;
        const char* who;
    };
    constexpr Credit credits[] = {
        {"Made by", "the Tolvar team"},
        {"Pictures and music", "generated by our own tools"},
        {"Built with", "SDL2 \u00B7 libopenmpt \u00B7 DevIL \u00B7 FreeType"},
    };
    double baseline = 346.0;
    for (const Credit& credit : credits) {
        drawTextLine(cr, credit.role, Font{fonts::sans, 18.0, false}, mutedText, 512.0, baseline,
                     Align::Centre);
        drawTextLine(cr, credit.who,
                     fitToWidth(cr, credit.who, Font{fonts::sans, 26.0, true}, card.width - 56.0),
                     bodyText, 512.0, baseline + 36.0, Align::Centre);
        baseline += 100.0;
    }
    drawReturnHint(cr, "Click or press Esc to return to the menu");
}

} // namespace

void paintHelp(Canvas& canvas) {
    paintFramedScreen(canvas, paintHelpScene);
}
void paintGameOver(Canvas& canvas) {
    paintFramedScreen(canvas, paintGameOverScene);
}
void paintCredits(Canvas& canvas) {
    paintFramedScreen(canvas, paintCreditsScene);
}

} // namespace pictures
