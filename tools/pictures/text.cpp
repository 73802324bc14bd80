#include "text.h"

#include <pango/pangocairo.h>

#include <memory>
#include <string>

namespace pictures {
namespace {

struct GObjectRelease {
    void operator()(void* object) const { g_object_unref(object); }
};
using LayoutHandle = std::unique_ptr<PangoLayout, GObjectRelease>;

// Layouts are made and turned into paths in plain user units, whatever the transform: pango
// spaces glyphs wrongly under transforms that scale x and y differently, and most pictures are
// drawn through one (a block's 25 x 40 screen units fill its 32 x 64 pixels).
LayoutHandle makeLayout(cairo_t* cr, std::string_view markup, Font font) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    std::unique_ptr<PangoContext, GObjectRelease> context(pango_cairo_create_context(cr));
    cairo_restore(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context.get(), FALSE);

    LayoutHandle layout(pango_layout_new(context.get()));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family);
    pango_font_description_set_weight(description,
                                      font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description, font.pixelSize * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);
    const std::string text(markup);
    pango_layout_set_markup(layout.get(), text.c_str(), static_cast<int>(text.size()));
    return layout;
}

double logicalWidth(PangoLayout* layout) {
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return static_cast<double>(logical.width) / PANGO_SCALE;
}

double baselineFromTop(PangoLayout* layout) {
    return static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE;
}

double alignedLeft(double x, double width, Align align) {
    switch (align) {
    case Align::Left:
        return x;
    case Align::Centre:
        return x - width / 2.0;
    case Align::Right:
        return x - width;
    }
    return x;
}

// Makes the outline of the layout's glyphs the current path: laid out in plain user units at
// the origin, then placed, narrowed by squeeze and mapped through the current transform.
void setTextPath(cairo_t* cr, PangoLayout* layout, double x, double baselineY, Align align,
                 double squeeze) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr); // pango leaves out glyphs that fall outside the clip
    cairo_new_path(cr);
    cairo_move_to(cr, 0.0, -baselineFromTop(layout));
    pango_cairo_layout_path(cr, layout);
    cairo_path_t* glyphs = cairo_copy_path(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, alignedLeft(x, logicalWidth(layout) * squeeze, align), baselineY);
    cairo_scale(cr, squeeze, 1.0);
    cairo_append_path(cr, glyphs);
    cairo_restore(cr);
    cairo_path_destroy(glyphs);
}

} // namespace

double textWidth(cairo_t* cr, std::string_view markup, Font font) {
    return logicalWidth(makeLayout(cr, markup, font).get());
}

void drawTextLine(cairo_t* cr, std::string_view markup, Font font, Colour colour, double x,
                  double baselineY, Align align, double squeeze) {
    LayoutHandle layout = makeLayout(cr, markup, font);
    setTextPath(cr, layout.get(), x, baselineY, align, squeeze);
    setSource(cr, colour);
    cairo_fill(cr);
}

void drawOutlinedTextLine(cairo_t* cr, std::string_view markup, Font font, Colour fill,
                          Colour outline, double outlineWidth, double x, double baselineY,
                          Align align, double squeeze) {
    LayoutHandle layout = makeLayout(cr, markup, font);
    setTextPath(cr, layout.get(), x, baselineY, align, squeeze);
    setSource(cr, outline);
    cairo_set_line_width(cr, outlineWidth * 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    setSource(cr, fill);
    cairo_fill(cr);
}

void drawTextCentred(cairo_t* cr, std::string_view markup, Font font, Colour colour, Rect box) {
    drawTextLine(cr, markup, font, colour, box.centreX(),
                 box.centreY() + capitalHeight * font.pixelSize / 2.0, Align::Centre);
}

double drawParagraph(cairo_t* cr, std::string_view markup, Font font, Colour colour, double x,
                     double top, double width, Align align, double lineSpacing) {
    LayoutHandle layout = makeLayout(cr, markup, font);
    pango_layout_set_width(layout.get(), static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    pango_layout_set_line_spacing(layout.get(), static_cast<float>(lineSpacing));
    pango_layout_set_alignment(layout.get(), align == Align::Centre  ? PANGO_ALIGN_CENTER
                                             : align == Align::Right ? PANGO_ALIGN_RIGHT
                                                                     : PANGO_ALIGN_LEFT);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr); // pango leaves out glyphs that fall outside the clip
    cairo_new_path(cr);
    cairo_move_to(cr, 0.0, 0.0);
    pango_cairo_layout_path(cr, layout.get());
    cairo_path_t* glyphs = cairo_copy_path(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, x, top);
    cairo_append_path(cr, glyphs);
    cairo_restore(cr);
    cairo_path_destroy(glyphs);
    setSource(cr, colour);
    cairo_fill(cr);
    PangoRectangle logical;
    pango_layout_get_extents(layout.get(), nullptr, &logical);
    return static_cast<double>(logical.height) / PANGO_SCALE;
}

Font fitToWidth(cairo_t* cr, std::string_view markup, Font font, double maxWidth) {
    const double width = textWidth(cr, markup, font);
    if (width > maxWidth && width > 0.0) {
        font.pixelSize *= maxWidth / width;
    }
    return font;
}

} // namespace pictures
