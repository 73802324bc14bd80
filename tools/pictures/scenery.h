// Landscape pieces the backgrounds are built from: skies, rolling hills, stars, sun, moon and
// clouds. Everything is drawn in screen coordinates and is deterministic.
#pragma once

#include "colour.h"
#include "screen_space.h"

#include <cairo.h>

#include <cstdint>
#include <initializer_list>

namespace pictures {

struct GradientStop {
    double offset;
    Colour colour;
};

// A vertical sky over the whole picture area (seen and unseen rows), stops from top to bottom
// given as screen y.
void paintSky(cairo_t* cr, std::initializer_list<GradientStop> stopsByScreenY);

// One silhouette layer: a gently rolling line around baseY, filled down past the screen bottom.
struct HillLayer {
    double baseY;
    double amplitude;
    double wavelength; // of the main swell, in screen pixels
    double phase;
    Colour colour;
};
void drawHills(cairo_t* cr, const HillLayer& layer);

// Pointed peaks (mountains): a jagged line around baseY, with an optional lighter cap.
struct MountainRange {
    double baseY;
    double height;
    int peaks;
    std::uint64_t seed;
    Colour colour;
    Colour capColour; // alpha 0 for no caps
};
void drawMountains(cairo_t* cr, const MountainRange& range);

// Small twinkles scattered over area.
void drawStars(cairo_t* cr, Rect area, int count, std::uint64_t seed, Colour colour);

// Small soft flakes (plain dots) scattered over area.
void drawSnowflakes(cairo_t* cr, Rect area, int count, std::uint64_t seed, Colour colour);

// A round light with a soft glow around it.
void drawSun(cairo_t* cr, double x, double y, double radius, Colour disc, Colour glow);

// A crescent moon, its dark side facing left.
void drawCrescentMoon(cairo_t* cr, double x, double y, double radius, Colour colour);

// A soft puffy cloud of a few discs, drawn as one shape with one alpha.
void drawCloud(cairo_t* cr, double x, double y, double size, Colour colour);

} // namespace pictures
