#include "icon_picture.h"

#include "game_objects.h"
#include "palette.h"
#include "picture_files.h"
#include "scenery.h"
#include "shapes.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <system_error>

namespace pictures {
namespace {

// The icon is laid out on a 256-unit square and scaled to the size asked for.
constexpr double iconUnits = 256.0;
constexpr Rect tile{10.0, 10.0, 236.0, 236.0};
constexpr double tileRadius = 46.0;

// The balance, larger than in play relative to the board so it still reads at 32 pixels.
constexpr double ballRadius = 40.0;
constexpr double groundY = 226.0;
constexpr double boardHalfLength = 96.0;
constexpr double boardThickness = 18.0;
constexpr double tiltDegrees = 11.0; // the heavier right end down, as the game tilts it
constexpr double blockWidth = 38.0;
constexpr double blockHeight = 58.0;
constexpr double blockInset = 6.0; // from each end of the board
constexpr int lighterWeight = 3;
constexpr int heavierWeight = 8;

void paintTile(cairo_t* cr) {
    cairo_save(cr);
    cairo_new_path(cr);
    roundedRectanglePath(cr, tile, tileRadius);
    cairo_clip(cr);
    // The menus' dusk: deep teal above, the warm glow of a low sun at the horizon.
    cairo_pattern_t* sky = cairo_pattern_create_linear(0.0, tile.y, 0.0, tile.bottom());
    addStop(sky, 0.0, hexColour(0x1B3F52));
    addStop(sky, 0.45, hexColour(0x3F7A82));
    addStop(sky, 0.78, hexColour(0xF2BE84));
    addStop(sky, 1.0, hexColour(0xF7D7A6));
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    drawStars(cr, Rect{tile.x, tile.y, tile.width, 70.0}, 7, 0x1C0A, hexColour(0xFFF8E7, 0.8));
    // The ground the ball stands on.
    cairo_new_path(cr);
    cairo_rectangle(cr, tile.x, groundY, tile.width, tile.bottom() - groundY);
    setSource(cr, hexColour(0x2A5158));
    cairo_fill(cr);
    cairo_restore(cr);

    // The edge stays inside the tile, so the outermost pixels of the icon stay transparent.
    cairo_new_path(cr);
    roundedRectanglePath(cr, tile.inset(1.5), tileRadius - 1.5);
    setSource(cr, withAlpha(palette::ink, 0.85));
    cairo_set_line_width(cr, 3.0);
    cairo_stroke(cr);
}

void paintBalance(cairo_t* cr) {
    const double centreX = tile.centreX();
    const double ballCentreY = groundY - ballRadius;

    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, centreX, groundY);
    cairo_scale(cr, ballRadius * 1.15, ballRadius * 0.16);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * std::numbers::pi);
    cairo_restore(cr);
    setSource(cr, hexColour(0x000000, 0.3));
    cairo_fill(cr);

    drawBallSphere(cr, centreX, ballCentreY, ballRadius);

    cairo_save(cr);
    cairo_translate(cr, centreX, ballCentreY - ballRadius - boardThickness / 2.0);
    cairo_rotate(cr, tiltDegrees * std::numbers::pi / 180.0);
    const Rect board{-boardHalfLength, -boardThickness / 2.0, 2.0 * boardHalfLength,
                     boardThickness};
    const double blockBottom = board.y;
    drawBlockFace(cr,
                  Rect{board.x + blockInset, blockBottom - blockHeight, blockWidth, blockHeight},
                  lighterWeight);
    drawBlockFace(cr,
                  Rect{board.right() - blockInset - blockWidth, blockBottom - blockHeight,
                       blockWidth, blockHeight},
                  heavierWeight);
    drawPlank(cr, board);
    cairo_restore(cr);
}

} // namespace

std::optional<int> parseIconSize(std::string_view text) {
    int size = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, size);
    if (text.empty() || error != std::errc{} || stop != end || size < smallestIconSize ||
        size > largestIconSize) {
        return std::nullopt;
    }
    return size;
}

void paintIcon(Canvas& canvas) {
    cairo_t* cr = canvas.context();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_scale(cr, canvas.width() / iconUnits, canvas.height() / iconUnits);
    paintTile(cr);
    paintBalance(cr);
}

bool makeIcon(const std::filesystem::path& path, int size, std::ostream& errors) {
    if (path.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            errors << "make_pictures: cannot create " << path.parent_path().string() << ": "
                   << error.message() << "\n";
            return false;
        }
    }
    Canvas canvas(size, size, CanvasKind::Transparent);
    if (canvas.ok()) {
        paintIcon(canvas);
    }
    if (!canvas.ok() || !writePng(canvas.surface(), path)) {
        errors << "make_pictures: cannot write " << path.string() << "\n";
        return false;
    }
    return true;
}

} // namespace pictures
