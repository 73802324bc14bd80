#include "framed_screen.h"

#include "palette.h"
#include "seeded_random.h"
#include "shapes.h"

#include <algorithm>
#include <cstdint>

namespace pictures {
namespace {

// A faint even grain over the window: it hides the steps of long 8-bit gradients, which JPEG
// would otherwise show as bands across the sky.
void addGrain(Canvas& canvas, Rect windowOnPicture) {
    cairo_surface_t* surface = canvas.surface();
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    SeededRandom random(0x6EA1);
    const int top = static_cast<int>(windowOnPicture.y) + 2;
    const int bottom = static_cast<int>(windowOnPicture.bottom()) - 2;
    const int left = static_cast<int>(windowOnPicture.x) + 2;
    const int right = static_cast<int>(windowOnPicture.right()) - 2;
    for (int y = top; y < bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = left; x < right; ++x) {
            // Triangular noise of about one level, the same on all three channels.
            const int offset =
                static_cast<int>(random.next() % 3) + static_cast<int>(random.next() % 3) - 2;
            std::uint32_t pixel = row[x];
            std::uint32_t result = pixel & 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int channel = static_cast<int>((pixel >> shift) & 0xFF) + offset;
                result |= static_cast<std::uint32_t>(std::clamp(channel, 0, 255)) << shift;
            }
            row[x] = result;
        }
    }
    cairo_surface_mark_dirty(surface);
}

} // namespace

void paintFramedScreen(Canvas& canvas, ScenePainter scene, ScenePainter overlay) {
    cairo_t* cr = canvas.context();
    mapScreenOntoPicture(cr, fullScreenQuad, canvas.width(), canvas.height());

    const Rect whole = wholePictureOnScreen(fullScreenQuad);
    cairo_rectangle(cr, whole.x, whole.y, whole.width, whole.height);
    setSource(cr, palette::mat);
    cairo_fill(cr);

    cairo_save(cr);
    roundedRectanglePath(cr, sceneWindow, windowRadius);
    cairo_clip(cr);
    scene(cr);
    cairo_restore(cr);
    const double rowsPerScreenUnit = canvas.height() * partlyShownFraction / screenHeight;
    addGrain(canvas, Rect{sceneWindow.x, sceneWindow.y * rowsPerScreenUnit, sceneWindow.width,
                          sceneWindow.height * rowsPerScreenUnit});

    cairo_new_path(cr);
    roundedRectanglePath(cr, sceneWindow.inset(-1.0), windowRadius + 1.0);
    setSource(cr, palette::matEdge);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);

    if (overlay != nullptr) {
        overlay(cr);
    }
}

} // namespace pictures
