#include "game_objects.h"

#include "palette.h"
#include "seeded_random.h"
#include "shapes.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace pictures {
namespace {

constexpr Colour black = hexColour(0x000000);

// Stops of the weight scale; luma falls with every step so heavier always looks darker.
constexpr std::array<Colour, 10> weightScale{
    hexColour(0xFFF6C8), hexColour(0xFFE58A), hexColour(0xFFCB52), hexColour(0xF9A440),
    hexColour(0xF07C3A), hexColour(0xE0533C), hexColour(0xC2344A), hexColour(0x9A2552),
    hexColour(0x641A50), hexColour(0x36103E)};

constexpr double blockNumeralSize = 21.0; // em size for a 25 x 40 block

} // namespace

Colour blockColour(int weight) {
    const int index = std::clamp(weight, lightestWeight, heaviestWeight) - lightestWeight;
    return weightScale[static_cast<std::size_t>(index)];
}

void drawBlockFace(cairo_t* cr, Rect rect, int weight) {
    const Colour body = blockColour(weight);
    const double unit = rect.width / 25.0; // 1 at the size of a block in play
    cairo_save(cr);

    const Colour outline = mix(body, black, 0.62);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    setSource(cr, outline);
    cairo_fill(cr);

    const Rect face = rect.inset(1.6 * unit);
    fillVerticalGradient(cr, face, mix(body, palette::white, 0.22), mix(body, black, 0.12));

    // Bevel: a light top and left lip, a dark bottom and right lip.
    const double lip = 2.0 * unit;
    cairo_new_path(cr);
    cairo_move_to(cr, face.x, face.bottom());
    cairo_line_to(cr, face.x, face.y);
    cairo_line_to(cr, face.right(), face.y);
    cairo_line_to(cr, face.right() - lip, face.y + lip);
    cairo_line_to(cr, face.x + lip, face.y + lip);
    cairo_line_to(cr, face.x + lip, face.bottom() - lip);
    cairo_close_path(cr);
    setSource(cr, withAlpha(palette::white, 0.38));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, face.right(), face.y);
    cairo_line_to(cr, face.right(), face.bottom());
    cairo_line_to(cr, face.x, face.bottom());
    cairo_line_to(cr, face.x + lip, face.bottom() - lip);
    cairo_line_to(cr, face.right() - lip, face.bottom() - lip);
    cairo_line_to(cr, face.right() - lip, face.y + lip);
    cairo_close_path(cr);
    setSource(cr, withAlpha(black, 0.22));
    cairo_fill(cr);

    // The numeral keeps one height for every weight; two digits are narrowed, not shrunk.
    const std::string numeral = std::to_string(weight);
    const bool darkLetters = luma(body) > 0.55;
    const Colour letters = darkLetters ? palette::ink : palette::white;
    const Colour halo = darkLetters ? withAlpha(palette::white, 0.45) : withAlpha(black, 0.45);
    const Font font{fonts::sans, blockNumeralSize * unit, true};
    const double room = face.width - 2.0 * unit;
    const double width = textWidth(cr, numeral, font);
    const double squeeze = width > room ? room / width : 1.0;
    const double baseline = rect.centreY() + capitalHeight * font.pixelSize / 2.0;
    drawOutlinedTextLine(cr, numeral, font, letters, halo, 0.9 * unit, rect.centreX(), baseline,
                         Align::Centre, squeeze);
    cairo_restore(cr);
}

void drawPlank(cairo_t* cr, Rect rect) {
    const double unit = rect.height / 15.0;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    setSource(cr, palette::woodDark);
    cairo_fill(cr);

    const Rect face = Rect{rect.x + 1.5 * unit, rect.y + 1.5 * unit, rect.width - 3.0 * unit,
                           rect.height - 3.0 * unit};
    fillVerticalGradient(cr, face, palette::woodLight, palette::wood);

    // Grain: long thin wavy strokes, the same on every run.
    cairo_rectangle(cr, face.x, face.y, face.width, face.height);
    cairo_clip(cr);
    SeededRandom random(0x7011A5);
    cairo_set_line_width(cr, 0.7 * unit);
    for (int line = 0; line < 7; ++line) {
        const double y = face.y + face.height * (0.12 + 0.13 * line) + random.between(-0.6, 0.6);
        const double phase = random.between(0.0, 6.28);
        const double wave = random.between(0.4, 1.0) * unit;
        cairo_new_path(cr);
        for (double x = face.x; x <= face.right() + 4.0; x += 4.0 * unit) {
            const double dy = wave * std::sin(phase + (x - face.x) / (23.0 * unit));
            if (x == face.x) {
                cairo_move_to(cr, x, y + dy);
            } else {
                cairo_line_to(cr, x, y + dy);
            }
        }
        setSource(cr, withAlpha(palette::woodDark, random.between(0.18, 0.34)));
        cairo_stroke(cr);
    }
    // A knot or two.
    for (int knot = 0; knot < 2; ++knot) {
        const double x = face.x + face.width * (knot == 0 ? 0.27 : 0.78);
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_translate(cr, x, face.centreY());
        cairo_scale(cr, 3.2 * unit, 1.4 * unit);
        cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
        cairo_restore(cr);
        setSource(cr, withAlpha(palette::woodDark, 0.35));
        cairo_fill(cr);
    }
    // Top highlight.
    cairo_new_path(cr);
    cairo_rectangle(cr, face.x, face.y, face.width, 1.2 * unit);
    setSource(cr, withAlpha(palette::white, 0.28));
    cairo_fill(cr);
    cairo_restore(cr);

    // The pivot mark at the middle, where the board rests on the ball.
    const double mid = rect.centreX();
    cairo_new_path(cr);
    cairo_move_to(cr, mid - 3.5 * unit, rect.bottom() - 1.5 * unit);
    cairo_line_to(cr, mid + 3.5 * unit, rect.bottom() - 1.5 * unit);
    cairo_line_to(cr, mid, rect.y + 4.0 * unit);
    cairo_close_path(cr);
    setSource(cr, withAlpha(palette::cream, 0.85));
    cairo_fill(cr);
    // End caps.
    for (double x : {rect.x + 5.0 * unit, rect.right() - 7.0 * unit}) {
        cairo_new_path(cr);
        cairo_rectangle(cr, x, rect.y + 1.5 * unit, 2.0 * unit, rect.height - 3.0 * unit);
        setSource(cr, withAlpha(palette::woodDark, 0.55));
        cairo_fill(cr);
    }
}

void drawBallSphere(cairo_t* cr, double centreX, double centreY, double radius) {
    constexpr double fullTurn = 2.0 * std::numbers::pi;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, centreX, centreY, radius, 0.0, fullTurn);
    cairo_clip(cr);

    cairo_pattern_t* body = cairo_pattern_create_radial(
        centreX - 0.35 * radius, centreY - 0.4 * radius, 0.05 * radius, centreX, centreY, radius);
    addStop(body, 0.0, palette::ballLight);
    addStop(body, 0.55, palette::ball);
    addStop(body, 1.0, palette::ballDark);
    cairo_set_source(cr, body);
    cairo_paint(cr);
    cairo_pattern_destroy(body);

    // A curved band round the sphere so it reads as a ball, not a disc.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, centreX, centreY);
    cairo_rotate(cr, -0.45);
    cairo_scale(cr, 1.0, 0.42);
    cairo_arc(cr, 0.0, 0.0, radius * 1.02, 0.0, fullTurn);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, centreX, centreY);
    cairo_rotate(cr, -0.45);
    cairo_scale(cr, 1.0, 0.2);
    cairo_arc_negative(cr, 0.0, 0.0, radius * 1.02, fullTurn, 0.0);
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    setSource(cr, withAlpha(palette::button, 0.85));
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);

    // Shade the lower right over the band as well.
    cairo_pattern_t* shade = cairo_pattern_create_radial(
        centreX - 0.3 * radius, centreY - 0.35 * radius, 0.4 * radius, centreX, centreY, radius);
    addStop(shade, 0.0, hexColour(0x000000, 0.0));
    addStop(shade, 1.0, hexColour(0x000000, 0.35));
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);

    // Gloss.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, centreX - 0.38 * radius, centreY - 0.45 * radius);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 0.3 * radius, 0.17 * radius);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, fullTurn);
    cairo_restore(cr);
    setSource(cr, withAlpha(palette::white, 0.55));
    cairo_fill(cr);
    cairo_restore(cr);

    // Rim, inside the radius so nothing spills past the edge.
    const double rim = std::max(1.0, radius * 0.045);
    cairo_new_path(cr);
    cairo_arc(cr, centreX, centreY, radius - rim / 2.0, 0.0, fullTurn);
    setSource(cr, palette::ballDark);
    cairo_set_line_width(cr, rim);
    cairo_stroke(cr);
}

void drawBalanceMotif(cairo_t* cr, const BalanceMotif& motif) {
    const double s = motif.scale;
    // Ball and board stand as in play, scaled.
    const Rect ball = onScreen(layout::ballQuad);
    const double ballRadius = ball.width / 2.0 * s;
    const double ballCentreY = motif.groundY - ballRadius;
    const double boardCentreY = ballCentreY - (ball.centreY() - layout::boardY) * s;

    // Ground shadow under the ball.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, motif.centreX, motif.groundY);
    cairo_scale(cr, ballRadius * 1.2, ballRadius * 0.18);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(cr);
    setSource(cr, hexColour(0x000000, 0.25));
    cairo_fill(cr);

    drawBallSphere(cr, motif.centreX, ballCentreY, ballRadius);

    cairo_save(cr);
    cairo_translate(cr, motif.centreX, boardCentreY);
    cairo_rotate(cr, motif.angleDegrees * std::numbers::pi / 180.0);
    const Rect board = onScreen(layout::boardQuad).scaled(s);
    // Stacks stand on the board in the columns of play, measured from the board's centre, each
    // block upright along the board's own axis.
    const double blockWidth = layout::blockWidth * s;
    const double blockHeight = layout::blockHeight * s;
    const auto drawStack = [&](const int* weights, int count, float columnX) {
        const double x = (static_cast<double>(columnX) - layout::boardX) * s;
        for (int i = 0; i < count; ++i) {
            drawBlockFace(cr, Rect{x, board.y - blockHeight * (i + 1), blockWidth, blockHeight},
                          weights[i]);
        }
    };
    drawStack(motif.leftWeights, motif.leftCount, layout::leftColumnX);
    drawStack(motif.rightWeights, motif.rightCount, layout::rightColumnX);
    drawPlank(cr, board);
    cairo_restore(cr);
}

} // namespace pictures
