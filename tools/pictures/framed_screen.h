// The common look of the twelve full-screen pictures: a light mat round a rounded window in
// which the scene is painted.
#pragma once

#include "canvas.h"
#include "screen_space.h"

namespace pictures {

constexpr double matWidth = 12.0;
constexpr double windowRadius = 20.0;
constexpr Rect sceneWindow{matWidth, matWidth, screenWidth - 2.0 * matWidth,
                           screenHeight - 2.0 * matWidth};

using ScenePainter = void (*)(cairo_t* cr);

// Paints the mat over the whole picture (the unseen bottom rows too), then scene in screen
// coordinates clipped to the window, then the window's edge, then overlay (if any) unclipped,
// for the few things that reach over the mat.
void paintFramedScreen(Canvas& canvas, ScenePainter scene, ScenePainter overlay = nullptr);

} // namespace pictures
