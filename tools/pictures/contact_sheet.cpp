#include "contact_sheet.h"

#include "canvas.h"
#include "colour.h"
#include "picture_catalogue.h"
#include "picture_files.h"
#include "screen_space.h"
#include "text.h"

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
    DecodedPicture decoded;
    SurfaceHandle surface;
};
using PictureShelf = std::map<std::string, LoadedPicture, std::less<>>;

SurfaceHandle toSurface(const DecodedPicture& picture) {
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

// The colour the game's text takes over a picture: the average of its four corners.
Colour cornerTint(const DecodedPicture& picture) {
    double sum[3] = {0.0, 0.0, 0.0};
    for (int y : {0, picture.height - 1}) {
        for (int x : {0, picture.width - 1}) {
            for (int c = 0; c < 3; ++c) {
                sum[c] += picture.at(x, y)[c];
            }
        }
    }
    return Colour{sum[0] / 1020.0, sum[1] / 1020.0, sum[2] / 1020.0, 1.0};
}

Colour times(Colour a, Colour b) {
    return Colour{a.r * b.r, a.g * b.g, a.b * b.b, a.a};
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
    const std::string background = "Kuvat/Taustat/runtausta" + std::to_string(frame.level) + ".jpg";
    const LoadedPicture& scene = shelf.find(background)->second;
    drawShown(cr, scene, partlyShownFraction, Rect{0.0, 0.0, screenWidth, screenHeight});

    const Colour hudColour = frame.level == 5 ? hexColour(0x000000) : hexColour(0xFFFFFF);
    const Colour hud = times(hudColour, cornerTint(scene.decoded));
    const Font small{fonts::mono, 16.0, true};
    const int blocksLeft =
        10 + 5 * (frame.level - 1) - static_cast<int>(frame.left.size() + frame.right.size());
    char line[64];
    std::snprintf(line, sizeof line, "Level %d", frame.level);
    drawTextLine(cr, line, small, hud, 890.0, 50.0, Align::Left);
    drawTextLine(cr, "Balance", small, hud, 883.0, 150.0, Align::Left);
    std::snprintf(line, sizeof line, "differential: %d", 10 - frame.level);
    drawTextLine(cr, line, small, hud, 855.0, 165.0, Align::Left);
    std::snprintf(line, sizeof line, "Blocks left: %d", frame.completionBox ? 0 : blocksLeft);
    drawTextLine(cr, line, small, hud, 855.0, 200.0, Align::Left);

    drawShown(cr, shelf.find("Kuvat/Objektit/Pallo.png")->second, 1.0,
              Rect{350.0, 685.0, 100.0, 100.0});
    cairo_save(cr);
    cairo_translate(cr, 395.0, 695.0);
    cairo_rotate(cr, frame.angle * std::numbers::pi / 180.0);
    drawShown(cr, shelf.find("Kuvat/Objektit/lauta.jpg")->second, partlyShownFraction,
              Rect{-200.0, -7.5, 400.0, 15.0});
    cairo_restore(cr);

    // Stacks stand upright on the tilted board's surface, as the game keeps them.
    const double slope = std::tan(frame.angle * std::numbers::pi / 180.0);
    const auto drawStack = [&](const std::vector<int>& weights, double x) {
        double top = 687.5 + (x + 12.5 - 395.0) * slope;
        for (int weight : weights) {
            top -= 40.0;
            const std::string path = "Kuvat/Objektit/" + std::to_string(weight) + ".jpg";
            drawShown(cr, shelf.find(path)->second, 1.0, Rect{x, top, 25.0, 40.0});
        }
    };
    drawStack(frame.left, 220.0);
    drawStack(frame.right, 550.0);
    if (frame.fallingWeight > 0) {
        const std::string path = "Kuvat/Objektit/" + std::to_string(frame.fallingWeight) + ".jpg";
        drawShown(cr, shelf.find(path)->second, 1.0, Rect{550.0, 120.0, 25.0, 40.0});
    }
    if (frame.completionBox) {
        const LoadedPicture& box = shelf.find("Kuvat/Objektit/ihqbox.jpg")->second;
        drawShown(cr, box, partlyShownFraction, Rect{150.0, 350.0, 500.0, 100.0});
        drawTextLine(cr, "Completed! Next level begins... Ready? 5", small,
                     times(hexColour(0xFFFFFF), cornerTint(box.decoded)), 200.0, 400.0,
                     Align::Left);
    }
}

bool loadAll(const std::filesystem::path& dataDir, PictureShelf& shelf, std::ostream& errors) {
    bool complete = true;
    for (const CatalogueEntry& entry : pictureCatalogue) {
        const std::filesystem::path path = dataDir / entry.path;
        std::optional<DecodedPicture> decoded =
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

    // The objects, each at twice the size the game draws it.
    drawTextLine(cr, "Objects enlarged (board and ball x2, blocks x3, box x1)",
                 Font{fonts::sans, 18.0, true}, hexColour(0x1B2838), margin, y + 22.0, Align::Left);
    y += 40.0;
    drawShown(cr, shelf.find("Kuvat/Objektit/lauta.jpg")->second, partlyShownFraction,
              Rect{margin, y, 800.0, 30.0});
    caption(cr, "Kuvat/Objektit/lauta.jpg", margin, y + 47.0);
    drawShown(cr, shelf.find("Kuvat/Objektit/ihqbox.jpg")->second, partlyShownFraction,
              Rect{margin + 856.0, y, 500.0, 100.0});
    caption(cr, "Kuvat/Objektit/ihqbox.jpg (1:1)", margin + 856.0, y + 117.0);
    const double blocksTop = y + 70.0;
    for (int weight = 1; weight <= 10; ++weight) {
        const double x = margin + (weight - 1) * 86.0;
        drawShown(cr, shelf.find("Kuvat/Objektit/" + std::to_string(weight) + ".jpg")->second, 1.0,
                  Rect{x, blocksTop, 75.0, 120.0});
    }
    caption(cr, "Kuvat/Objektit/1.jpg .. 10.jpg", margin, blocksTop + 137.0);
    const Rect ballArea{margin + 1000.0, blocksTop + 70.0, 200.0, 200.0};
    drawCheckerboard(cr, ballArea);
    drawShown(cr, shelf.find("Kuvat/Objektit/Pallo.png")->second, 1.0, ballArea);
    caption(cr, "Kuvat/Objektit/Pallo.png (over a checkerboard)", ballArea.x,
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
