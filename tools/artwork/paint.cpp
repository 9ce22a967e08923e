#include "tools/artwork/paint.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace artwork {

namespace {

void AddStops(cairo_pattern_t* p, std::initializer_list<Stop> stops) {
  for (const Stop& s : stops) {
    cairo_pattern_add_color_stop_rgba(p, s.offset, s.colour.r, s.colour.g, s.colour.b, s.colour.a);
  }
}

// One pass of a box blur of radius r along rows (step 1) or columns (step = stride).
void BoxPass(uint8_t* data, int count, int lines, int step, int lineStep, int r) {
  std::vector<uint8_t> line(static_cast<size_t>(count));
  const int window = 2 * r + 1;
  for (int l = 0; l < lines; ++l) {
    uint8_t* p = data + static_cast<ptrdiff_t>(l) * lineStep;
    for (int i = 0; i < count; ++i) line[i] = p[static_cast<ptrdiff_t>(i) * step];
    int sum = 0;
    auto at = [&](int i) { return i < 0 || i >= count ? 0 : line[i]; };
    for (int i = -r; i <= r; ++i) sum += at(i);
    for (int i = 0; i < count; ++i) {
      p[static_cast<ptrdiff_t>(i) * step] = static_cast<uint8_t>((sum + window / 2) / window);
      sum += at(i + r + 1) - at(i - r);
    }
  }
}

}  // namespace

void SetColour(cairo_t* cr, const Rgb& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void FillColour(cairo_t* cr, const Rgb& c) {
  SetColour(cr, c);
  cairo_fill(cr);
}

void FillGradientPreserve(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
  AddStops(p, stops);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void FillGradient(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
  FillGradientPreserve(cr, x0, y0, x1, y1, stops);
  cairo_new_path(cr);
}

void FillGlow(cairo_t* cr, double cx, double cy, double r, const Rgb& c) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  AddStops(p, {{0, c}, {0.45, c.WithAlpha(c.a * 0.45)}, {1, c.WithAlpha(0)}});
  cairo_set_source(cr, p);
  Circle(cr, cx, cy, r);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Stroke(cairo_t* cr, const Rgb& c, double width) {
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void SoftShadow(cairo_t* cr, int w, int h, const std::function<void(cairo_t*)>& shape, double blur, const Rgb& c,
                double dx, double dy) {
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* m = cairo_create(mask);
  cairo_translate(m, dx, dy);
  shape(m);
  cairo_set_source_rgba(m, 0, 0, 0, 1);
  cairo_fill(m);
  cairo_destroy(m);
  cairo_surface_flush(mask);
  // Three box passes of radius r approximate a Gaussian of deviation about r.
  const int r = std::max(1, static_cast<int>(std::lround(blur)));
  uint8_t* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(data, w, h, 1, stride, r);
    BoxPass(data, h, w, stride, 1, r);
  }
  cairo_surface_mark_dirty(mask);
  SetColour(cr, c);
  cairo_mask_surface(cr, mask, 0, 0);
  cairo_surface_destroy(mask);
}

double DrawText(cairo_t* cr, const std::string& utf8, double px, int weight, const Rgb& c, double x, double y,
                int maxWidth, double lineSpacing) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout);

  PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei");
  pango_font_description_set_absolute_size(font, px * PANGO_SCALE);
  pango_font_description_set_weight(font, static_cast<PangoWeight>(weight));
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  if (maxWidth > 0) {
    pango_layout_set_width(layout, maxWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  pango_layout_set_line_spacing(layout, static_cast<float>(lineSpacing));
  pango_layout_set_text(layout, utf8.c_str(), -1);

  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  cairo_save(cr);
  cairo_move_to(cr, x, y);
  SetColour(cr, c);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  g_object_unref(layout);
  return h;
}

}  // namespace artwork
