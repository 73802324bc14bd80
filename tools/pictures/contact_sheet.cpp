#include "contact_sheet.h"

#include "canvas.h"
#include "colour.h"
#include "picture_catalogue.h"
#include "picture_files.h"
#include "screen_space.h"
#include "text.h"

#include "layout/layout.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace pictures {
namespace {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

struct LoadedPicture {
    RgbaPicture decoded;
    SurfaceHandle surface;
};
using PictureShelf = std::map<std::string, LoadedPicture, std::less<>>;

SurfaceHandle toSurface(const RgbaPicture& picture) {
    SurfaceHandle surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.at(x, y);
            const std::uint32_t a = p[3];
            const auto premultiply = [a](std::uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (premultiply(p[0]) << 16) | (premultiply(p[1]) << 8) |
                     premultiply(p[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// Draws the part of a picture the game shows (rows from the top down to shownFraction) into
// target, stretched, as a textured quad does.
void drawShown(cairo_t* cr, const LoadedPicture& picture, double shownFraction, Rect target) {
    cairo_save(cr);
    cairo_translate(cr, target.x, target.y);
    cairo_scale(cr, target.width / picture.decoded.width,
                target.height / (picture.decoded.height * shownFraction));
    cairo_set_source_surface(cr, picture.surface.get(), 0.0, 0.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, 0.0, 0.0, picture.decoded.width, picture.decoded.height * shownFraction);
    cairo_fill(cr);
    cairo_restore(cr);
}

// The loaded picture at one of the game's paths.
const LoadedPicture& shown(const PictureShelf& shelf, const char* gamePath) {
    return shelf.find(layout::underDataFolder(gamePath))->second;
}

void drawTextAt(cairo_t* cr, std::string_view text, const Font& font, Colour colour,
                layout::TextPlace place) {
    drawTextLine(cr, text, font, colour, place.x, place.baseline, Align::Left);
}

void caption(cairo_t* cr, std::string_view text, double x, double baseline) {
    drawTextLine(cr, text, Font{fonts::sans, 13.0, false}, hexColour(0x3A4652), x, baseline,
                 Align::Left);
}

// One frame of play as the game would draw it, on a 1024 x 768 canvas.
struct PlayFrame {
    int level;
    double angle;
    std::vector<int> left;
    std::vector<int> right;
    int fallingWeight;
    bool completionBox;
};

void drawPlayFrame(cairo_t* cr, const PictureShelf& shelf, const PlayFrame& frame) {
    drawShown(cr, shown(shelf, layout::levelBackgroundPictures[frame.level]), partlyShownFraction,
              Rect{0.0, 0.0, screenWidth, screenHeight});

    // The game's text is plain: white, but for the black HUD of the last level.
    const Colour hud = frame.level == 5 ? hexColour(0x000000) : hexColour(0xFFFFFF);
    const Font small{fonts::mono, 16.0, true};
    const int blocksLeft =
        10 + 5 * (frame.level - 1) - static_cast<int>(frame.left.size() + frame.right.size());
    char line[64];
    std::snprintf(line, sizeof line, "Level %d", frame.level);
    drawTextAt(cr, line, small, hud, layout::hudLevelLabel);
    drawTextAt(cr, "Balance", small, hud, layout::hudBalance);
    std::snprintf(line, sizeof line, "differential: %d", 10 - frame.level);
    drawTextAt(cr, line, small, hud, layout::hudDifferential);
    std::snprintf(line, sizeof line, "Blocks left: %d", frame.completionBox ? 0 : blocksLeft);
    drawTextAt(cr, line, small, hud, layout::hudBlocksLeft);

    drawShown(cr, shown(shelf, layout::ballPicture), 1.0, onScreen(layout::ballQuad));
    cairo_save(cr);
    cairo_translate(cr, layout::boardX, layout::boardY);
    cairo_rotate(cr, frame.angle * std::numbers::pi / 180.0);
    drawShown(cr, shown(shelf, layout::boardPicture), partlyShownFraction,
              onScreen(layout::boardQuad));
    cairo_restore(cr);

    // Stacks stand upright on the tilted board's surface, as the game keeps them.
    const double slope = std::tan(frame.angle * std::numbers::pi / 180.0);
    const auto drawStack = [&](const std::vector<int>& weights, double x) {
        const double boardTop = static_cast<double>(layout::boardY) + layout::boardQuad.top;
        double top = boardTop + (x + layout::blockWidth / 2.0 - layout::boardX) * slope;
        for (int weight : weights) {
            top -= layout::blockHeight;
            drawShown(cr, shown(shelf, layout::weightPictures[weight]), 1.0,
                      Rect{x, top, layout::blockWidth, layout::blockHeight});
        }
    };
    drawStack(frame.left, layout::leftColumnX);
    drawStack(frame.right, layout::rightColumnX);
    if (frame.fallingWeight > 0) {
        drawShown(cr, shown(shelf, layout::weightPictures[frame.fallingWeight]), 1.0,
                  Rect{layout::rightColumnX, 120.0, layout::blockWidth, layout::blockHeight});
    }
    if (frame.completionBox) {
        drawShown(cr, shown(shelf, layout::completionBoxPicture), partlyShownFraction,
                  onScreen(layout::completionBoxQuad));
        drawTextAt(cr, "Completed! Next level begins... Ready? 5", small, hexColour(0xFFFFFF),
                   layout::completionText);
    }
}

bool loadAll(const std::filesystem::path& dataDir, PictureShelf& shelf, std::ostream& errors) {
    bool complete = true;
    for (const CatalogueEntry& entry : pictureCatalogue) {
        const std::filesystem::path path = dataDir / entry.path;
        std::optional<RgbaPicture> decoded =
            entry.kind == PictureKind::Jpeg ? readJpeg(path) : readPng(path);
        if (!decoded) {
            errors << "make_pictures: cannot read " << path.string() << "\n";
            complete = false;
            continue;
        }
        SurfaceHandle surface = toSurface(*decoded);
        shelf.emplace(std::string(entry.path),
                      LoadedPicture{std::move(*decoded), std::move(surface)});
    }
    return complete;
}

void drawCheckerboard(cairo_t* cr, Rect area) {
    for (int row = 0; row * 8.0 < area.height; ++row) {
        for (int column = 0; column * 8.0 < area.width; ++column) {
            cairo_rectangle(cr, area.x + column * 8.0, area.y + row * 8.0, 8.0, 8.0);
            setSource(cr, (row + column) % 2 == 0 ? hexColour(0xD8D8D8) : hexColour(0xF4F4F4));
            cairo_fill(cr);
        }
    }
}

} // namespace

bool makeContactSheet(const std::filesystem::path& dataDir, const std::filesystem::path& output,
                      std::ostream& errors) {
    PictureShelf shelf;
    if (!loadAll(dataDir, shelf, errors)) {
        return false;
    }
    constexpr double margin = 24.0;
    constexpr double thumbWidth = 320.0;
    constexpr double thumbHeight = 240.0;
    constexpr double frameWidth = 656.0;
    constexpr double frameHeight = 492.0;
    constexpr int sheetWidth = static_cast<int>(4 * thumbWidth + 5 * margin);
    constexpr int sheetHeight = 2412; // fits the rows below
    Canvas sheet(sheetWidth, sheetHeight, CanvasKind::Opaque);
    cairo_t* cr = sheet.context();
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.94);
    cairo_paint(cr);
    drawTextLine(cr, "Tolvar \u2014 the 25 pictures", Font{fonts::sans, 26.0, true},
                 hexColour(0x1B2838), margin, 44.0, Align::Left);

    // The twelve full-screen pictures, as the game shows them.
    double y = 70.0;
    int column = 0;
    for (const CatalogueEntry& entry : pictureCatalogue) {
        if (!entry.fullScreen) {
            continue;
        }
        const double x = margin + column * (thumbWidth + margin);
        drawShown(cr, shelf.find(entry.path)->second, partlyShownFraction,
                  Rect{x, y, thumbWidth, thumbHeight});
        caption(cr, entry.path, x, y + thumbHeight + 17.0);
        if (++column == 4) {
            column = 0;
            y += thumbHeight + 36.0;
        }
    }

    // The objects, beside the size the game draws them: the board and the ball twice as large, the
    // blocks three times, the box at its own size.
    drawTextLine(cr, "Objects enlarged (board and ball x2, blocks x3, box x1)",
                 Font{fonts::sans, 18.0, true}, hexColour(0x1B2838), margin, y + 22.0, Align::Left);
    y += 40.0;
    const Rect board = onScreen(layout::boardQuad);
    const Rect box = onScreen(layout::completionBoxQuad);
    const Rect ball = onScreen(layout::ballQuad);
    const std::string_view boardPath = layout::underDataFolder(layout::boardPicture);
    const std::string_view boxPath = layout::underDataFolder(layout::completionBoxPicture);
    const std::string_view ballPath = layout::underDataFolder(layout::ballPicture);
    drawShown(cr, shown(shelf, layout::boardPicture), partlyShownFraction,
              Rect{margin, y, 2.0 * board.width, 2.0 * board.height});
    caption(cr, boardPath, margin, y + 47.0);
    drawShown(cr, shown(shelf, layout::completionBoxPicture), partlyShownFraction,
              Rect{margin + 856.0, y, box.width, box.height});
    caption(cr, std::string(boxPath) + " (1:1)", margin + 856.0, y + 117.0);
    const double blocksTop = y + 70.0;
    for (int weight = 1; weight <= 10; ++weight) {
        const double x = margin + (weight - 1) * 86.0;
        drawShown(cr, shown(shelf, layout::weightPictures[weight]), 1.0,
                  Rect{x, blocksTop, 3.0 * layout::blockWidth, 3.0 * layout::blockHeight});
    }
    caption(cr,
            std::string(layout::underDataFolder(layout::weightPictures[1])) + " .. " +
                std::string(layout::fileName(layout::weightPictures[10])),
            margin, blocksTop + 137.0);
    const Rect ballArea{margin + 1000.0, blocksTop + 70.0, 2.0 * ball.width, 2.0 * ball.height};
    drawCheckerboard(cr, ballArea);
    drawShown(cr, shown(shelf, layout::ballPicture), 1.0, ballArea);
    caption(cr, std::string(ballPath) + " (over a checkerboard)", ballArea.x,
            ballArea.bottom() + 17.0);
    y = ballArea.bottom() + 40.0;

    // Simulated frames of play.
    drawTextLine(cr, "Simulated frames: game objects and HUD text drawn over the pictures",
                 Font{fonts::sans, 18.0, true}, hexColour(0x1B2838), margin, y + 22.0, Align::Left);
    y += 40.0;
    const PlayFrame frames[] = {
        {1, 2.0, {4, 7}, {3, 10}, 6, false},
        {5, -3.0, {9, 8, 5, 2, 6}, {3, 1, 10, 4}, 1, false},
        {3, 1.0, {5, 6, 2, 7, 3, 9, 4, 1, 8, 2}, {8, 4, 9, 3, 6, 5, 1, 7, 2, 9}, 0, true},
        {4, 0.0, {2, 6}, {8}, 5, false},
    };
    for (std::size_t i = 0; i < std::size(frames); ++i) {
        const double x = margin + (i % 2) * (frameWidth + margin);
        const double top = y + (i / 2) * (frameHeight + margin);
        cairo_save(cr);
        cairo_rectangle(cr, x, top, frameWidth, frameHeight);
        cairo_clip(cr);
        cairo_translate(cr, x, top);
        cairo_scale(cr, frameWidth / screenWidth, frameHeight / screenHeight);
        drawPlayFrame(cr, shelf, frames[i]);
        cairo_restore(cr);
    }
    if (!sheet.ok() || !writePng(sheet.surface(), output)) {
        errors << "make_pictures: cannot write " << output.string() << "\n";
        return false;
    }
    return true;
}

} // namespace pictures
