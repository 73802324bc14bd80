#include "scenery.h"

#include "seeded_random.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace pictures {
namespace {

constexpr double fullTurn = 2.0 * std::numbers::pi;
// Silhouettes run a little past every side so no edge shows through the window's corners.
constexpr double overscan = 40.0;
constexpr double deepBottom = 1100.0; // below every row of the picture, seen or not

} // namespace

void paintSky(cairo_t* cr, std::initializer_list<GradientStop> stopsByScreenY) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0.0, 0.0, 0.0, screenHeight);
    for (const GradientStop& stop : stopsByScreenY) {
        addStop(sky, stop.offset / screenHeight, stop.colour);
    }
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
}

void drawHills(cairo_t* cr, const HillLayer& layer) {
    cairo_new_path(cr);
    cairo_move_to(cr, -overscan, deepBottom);
    for (double x = -overscan; x <= screenWidth + overscan; x += 6.0) {
        const double t = fullTurn * x / layer.wavelength + layer.phase;
        const double swell =
            0.62 * std::sin(t) + 0.28 * std::sin(2.3 * t + 1.1) + 0.1 * std::sin(5.1 * t + 0.4);
        cairo_line_to(cr, x, layer.baseY - layer.amplitude * swell);
    }
    cairo_line_to(cr, screenWidth + overscan, deepBottom);
    cairo_close_path(cr);
    setSource(cr, layer.colour);
    cairo_fill(cr);
}

namespace {

struct Point {
    double x;
    double y;
};

// A ridge line: alternating peaks and saddles, each segment then split again and again with a
// shrinking random rise or fall, which turns the zigzag into a rugged natural skyline.
std::vector<Point> ridgeLine(const MountainRange& range) {
    SeededRandom random(range.seed);
    const double step = (screenWidth + 2.0 * overscan) / range.peaks;
    std::vector<Point> ridge;
    for (int i = 0; i <= range.peaks; ++i) {
        const double x = -overscan + step * i;
        ridge.push_back(Point{x + random.between(-0.15, 0.15) * step,
                              range.baseY - range.height * random.between(0.6, 1.0)});
        ridge.push_back(Point{x + step * random.between(0.4, 0.6),
                              range.baseY - range.height * random.between(0.15, 0.4)});
    }
    double roughness = 0.22;
    for (int pass = 0; pass < 5; ++pass) {
        std::vector<Point> finer;
        for (std::size_t i = 0; i + 1 < ridge.size(); ++i) {
            const Point a = ridge[i];
            const Point b = ridge[i + 1];
            finer.push_back(a);
            finer.push_back(Point{(a.x + b.x) / 2.0 + (b.x - a.x) * random.between(-0.1, 0.1),
                                  (a.y + b.y) / 2.0 +
                                      std::abs(b.x - a.x) * roughness * random.between(-1.0, 1.0)});
        }
        finer.push_back(ridge.back());
        ridge = std::move(finer);
        roughness *= 0.8;
    }
    return ridge;
}

} // namespace

void drawMountains(cairo_t* cr, const MountainRange& range) {
    const std::vector<Point> ridge = ridgeLine(range);
    cairo_new_path(cr);
    cairo_move_to(cr, -overscan, deepBottom);
    for (const Point& point : ridge) {
        cairo_line_to(cr, point.x, point.y);
    }
    cairo_line_to(cr, screenWidth + overscan, deepBottom);
    cairo_close_path(cr);
    setSource(cr, range.colour);
    cairo_fill(cr);

    if (range.capColour.a <= 0.0) {
        return;
    }
    // Snow: everything above the snow line, which wanders a little, in the cap colour.
    const double snowLine = range.baseY - range.height * 0.72;
    SeededRandom random(range.seed ^ 0x5A0ULL);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, -overscan, -overscan);
    for (double x = -overscan; x <= screenWidth + overscan; x += 12.0) {
        cairo_line_to(cr, x, snowLine + random.between(-7.0, 7.0));
    }
    cairo_line_to(cr, screenWidth + overscan, -overscan);
    cairo_close_path(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, -overscan, deepBottom);
    for (const Point& point : ridge) {
        cairo_line_to(cr, point.x, point.y);
    }
    cairo_line_to(cr, screenWidth + overscan, deepBottom);
    cairo_close_path(cr);
    setSource(cr, range.capColour);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawStars(cairo_t* cr, Rect area, int count, std::uint64_t seed, Colour colour) {
    SeededRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = area.x + random.unit() * area.width;
        const double y = area.y + random.unit() * area.height;
        const double size = random.between(0.5, 1.0);
        const double radius = 0.5 + 1.3 * size * size;
        cairo_new_path(cr);
        cairo_arc(cr, x, y, radius, 0.0, fullTurn);
        setSource(cr, withAlpha(colour, colour.a * random.between(0.35, 1.0)));
        cairo_fill(cr);
        if (size > 0.93) {
            // The brightest few get a small cross of light.
            cairo_set_line_width(cr, 0.8);
            cairo_new_path(cr);
            cairo_move_to(cr, x - 5.0, y);
            cairo_line_to(cr, x + 5.0, y);
            cairo_move_to(cr, x, y - 5.0);
            cairo_line_to(cr, x, y + 5.0);
            setSource(cr, withAlpha(colour, colour.a * 0.45));
            cairo_stroke(cr);
        }
    }
}

void drawSnowflakes(cairo_t* cr, Rect area, int count, std::uint64_t seed, Colour colour) {
    SeededRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = area.x + random.unit() * area.width;
        const double y = area.y + random.unit() * area.height;
        cairo_new_path(cr);
        cairo_arc(cr, x, y, random.between(1.0, 2.6), 0.0, fullTurn);
        setSource(cr, withAlpha(colour, colour.a * random.between(0.4, 1.0)));
        cairo_fill(cr);
    }
}

void drawSun(cairo_t* cr, double x, double y, double radius, Colour disc, Colour glow) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(x, y, radius * 0.8, x, y, radius * 3.2);
    addStop(halo, 0.0, glow);
    addStop(halo, 1.0, withAlpha(glow, 0.0));
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius * 3.2, 0.0, fullTurn);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, fullTurn);
    setSource(cr, disc);
    cairo_fill(cr);
}

void drawCrescentMoon(cairo_t* cr, double x, double y, double radius, Colour colour) {
    drawSun(cr, x, y, radius, withAlpha(colour, 0.0), withAlpha(colour, 0.12));
    cairo_push_group(cr);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, fullTurn);
    setSource(cr, colour);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    cairo_arc(cr, x - radius * 0.45, y - radius * 0.2, radius * 0.88, 0.0, fullTurn);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

void drawCloud(cairo_t* cr, double x, double y, double size, Colour colour) {
    struct Puff {
        double dx;
        double dy;
        double r;
    };
    constexpr Puff puffs[] = {{-0.9, 0.15, 0.42},
                              {-0.4, -0.15, 0.55},
                              {0.2, -0.3, 0.62},
                              {0.75, -0.05, 0.48},
                              {1.15, 0.18, 0.34}};
    cairo_push_group(cr);
    for (const Puff& puff : puffs) {
        cairo_new_path(cr);
        cairo_arc(cr, x + puff.dx * size, y + puff.dy * size, puff.r * size, 0.0, fullTurn);
        setSource(cr, withAlpha(colour, 1.0));
        cairo_fill(cr);
    }
    // A flat underside.
    cairo_new_path(cr);
    cairo_rectangle(cr, x - 0.95 * size, y + 0.1 * size, 2.15 * size, 0.42 * size);
    setSource(cr, withAlpha(colour, 1.0));
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, colour.a);
}

} // namespace pictures
