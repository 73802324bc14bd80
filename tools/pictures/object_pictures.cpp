// The objects of play: the board, the ball, the ten blocks and the level-complete box. Each is
// drawn at the size the game draws it and mapped onto a power-of-two picture.
#include "game_objects.h"
#include "painters.h"
#include "palette.h"
#include "screen_space.h"
#include "shapes.h"

#include <cmath>
#include <numbers>

namespace pictures {
namespace {

// The quads the game draws these pictures on (screen units) and how much of each it shows.
// The board and the blocks are placed from their own top left corner.
constexpr QuadPlacement boardQuad{
    Rect{0.0, 0.0, onScreen(layout::boardQuad).width, onScreen(layout::boardQuad).height},
    partlyShownFraction};
constexpr QuadPlacement ballQuad{onScreen(layout::ballQuad), wholeShownFraction};
constexpr QuadPlacement blockQuad{Rect{0.0, 0.0, layout::blockWidth, layout::blockHeight},
                                  wholeShownFraction};
constexpr QuadPlacement boxQuad{onScreen(layout::completionBoxQuad), partlyShownFraction};

// Inside the box: a thin outline one pixel in from its edge, then the dark interior, 4 pixels in
// at the sides and 5 at the top and bottom.
constexpr double boxOutlineInset = 1.0;
constexpr double boxInteriorSideInset = 4.0;
constexpr double boxInteriorEndInset = 5.0;

} // namespace

void paintBoard(Canvas& canvas) {
    cairo_t* cr = canvas.context();
    mapScreenOntoPicture(cr, boardQuad, canvas.width(), canvas.height());
    // The unseen rows repeat the plank's dark edge, which is also what the top edge blends with
    // under repeat wrapping.
    const Rect whole = wholePictureOnScreen(boardQuad);
    cairo_rectangle(cr, whole.x, whole.y, whole.width, whole.height);
    setSource(cr, palette::woodDark);
    cairo_fill(cr);
    drawPlank(cr, boardQuad.onScreen);
}

void paintBall(Canvas& canvas) {
    cairo_t* cr = canvas.context();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    mapScreenOntoPicture(cr, ballQuad, canvas.width(), canvas.height());
    // One picture pixel short of the edge, so the outermost ring of pixels stays transparent.
    const double radius = ballQuad.onScreen.width / 2.0 - ballQuad.onScreen.width / canvas.width();
    drawBallSphere(cr, ballQuad.onScreen.centreX(), ballQuad.onScreen.centreY(), radius);
}

void paintBlock(Canvas& canvas, int weight) {
    cairo_t* cr = canvas.context();
    mapScreenOntoPicture(cr, blockQuad, canvas.width(), canvas.height());
    drawBlockFace(cr, blockQuad.onScreen, weight);
}

void paintCompletionBox(Canvas& canvas) {
    cairo_t* cr = canvas.context();
    mapScreenOntoPicture(cr, boxQuad, canvas.width(), canvas.height());
    // Light all round, the unseen rows too: under repeat wrapping the top edge blends with them.
    const Rect whole = wholePictureOnScreen(boxQuad);
    cairo_rectangle(cr, whole.x, whole.y, whole.width, whole.height);
    setSource(cr, palette::mat);
    cairo_fill(cr);
    const Rect outline = boxQuad.onScreen.inset(boxOutlineInset);
    cairo_new_path(cr);
    cairo_rectangle(cr, outline.x, outline.y, outline.width, outline.height);
    setSource(cr, palette::matEdge);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    // The dark interior the white countdown line is written on, from where
    // layout::completionText starts it to about x 600 (x 640 in a wider font); a light rim stays
    // round it.
    const Rect interior = boxQuad.onScreen.inset(boxInteriorSideInset, boxInteriorEndInset);
    fillRoundedRectangle(cr, interior, 10.0, palette::ink);
    fillRoundedRectangle(cr, Rect{interior.x, interior.y, interior.width, 4.0}, 2.0,
                         palette::button);

    // A check mark badge before the text.
    constexpr double badgeX = static_cast<double>(layout::completionText.x) - 24.0;
    constexpr double badgeY = static_cast<double>(layout::completionText.baseline) - 4.0;
    cairo_new_path(cr);
    cairo_arc(cr, badgeX, badgeY, 12.0, 0.0, 2.0 * std::numbers::pi);
    setSource(cr, palette::teal);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, badgeX - 6.0, badgeY + 0.5);
    cairo_line_to(cr, badgeX - 1.5, badgeY + 5.0);
    cairo_line_to(cr, badgeX + 6.5, badgeY - 5.0);
    setSource(cr, palette::white);
    cairo_set_line_width(cr, 3.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);

    // Three small stars in the top right corner, above the line of text, which may run on to
    // x 640 in a wider font.
    for (int star = 0; star < 3; ++star) {
        const double x = boxQuad.onScreen.right() - 38.0 + star * 10.0;
        const double y = boxQuad.onScreen.y + 22.0 + (star == 1 ? -4.0 : 2.0);
        const double r = star == 1 ? 5.0 : 3.5;
        cairo_new_path(cr);
        for (int point = 0; point < 8; ++point) {
            const double angle = point * std::numbers::pi / 4.0 - std::numbers::pi / 2.0;
            const double reach = point % 2 == 0 ? r : r * 0.4;
            cairo_line_to(cr, x + reach * std::cos(angle), y + reach * std::sin(angle));
        }
        cairo_close_path(cr);
        setSource(cr, palette::buttonTop);
        cairo_fill(cr);
    }
}

} // namespace pictures
