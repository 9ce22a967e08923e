#include "ui/controls/cairo_canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "ui/controls/pango_text.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {

// Cairo refuses image surfaces larger than this on either side.
constexpr int kMaxSurfaceSide = 32767;

// Style bits of StrokeLine.
constexpr int kDashBits = 5;
constexpr int kDash = 1;
constexpr int kDashDotDot = 4;
constexpr int kFlatCap = 0x200;
constexpr int kSquareCap = 0x100;

double Channel(SkinColor c, int shift) { return static_cast<double>((c >> shift) & 0xFF) / 255.0; }

// A rectangle with elliptical corners of radii rx, ry (plain corners when either is 0).
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double rx, double ry) {
  rx = std::min(rx, w / 2);
  ry = std::min(ry, h / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  struct Corner {
    double cx, cy, from;
  };
  const Corner corners[] = {{x + w - rx, y + ry, -M_PI / 2},
                            {x + w - rx, y + h - ry, 0},
                            {x + rx, y + h - ry, M_PI / 2},
                            {x + rx, y + ry, M_PI}};
  cairo_new_sub_path(cr);
  for (const Corner& c : corners) {
    cairo_save(cr);
    cairo_translate(cr, c.cx, c.cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, c.from, c.from + M_PI / 2);
    cairo_restore(cr);
  }
  cairo_close_path(cr);
}

// A surface over the pixels of `bitmap` from (x, y), w x h, rows at the bitmap's full stride: no
// copy, and frames of strips wider than a surface may be are reachable.
cairo_surface_t* SurfaceOver(const SkinBitmapInfo& bitmap, int x, int y, int w, int h) {
  auto* first = const_cast<std::uint32_t*>(bitmap.pixels.data() + static_cast<std::size_t>(y) * bitmap.width + x);
  return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(first), CAIRO_FORMAT_ARGB32, w, h,
                                             bitmap.width * 4);
}

}  // namespace

CCairoCanvas::CCairoCanvas(CSkinHost* host, std::uint32_t* pixels, int width, int height, int strideBytes)
    : host_(host), width_(width), height_(height) {
  if (pixels == nullptr || width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide ||
      strideBytes < width * 4 || strideBytes % 4 != 0)
    return;
  surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, width,
                                                 height, strideBytes);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    return;
  }
  cr_ = cairo_create(surface_);
}

CCairoCanvas::~CCairoCanvas() {
  if (cr_ != nullptr) {
    while (clipDepth_ > 0) PopClip();
    cairo_destroy(cr_);
  }
  if (surface_ != nullptr) {
    cairo_surface_flush(surface_);
    cairo_surface_destroy(surface_);
  }
}

std::unique_ptr<IRenderCanvas> CCairoCanvas::Create(CSkinHost* host, std::uint32_t* pixels, int width, int height,
                                                    int strideBytes) {
  auto canvas = std::make_unique<CCairoCanvas>(host, pixels, width, height, strideBytes);
  if (!canvas->IsValid()) return nullptr;
  return canvas;
}

void CCairoCanvas::Flush() {
  if (surface_ != nullptr) cairo_surface_flush(surface_);
}

void CCairoCanvas::SetColor(SkinColor c) {
  cairo_set_source_rgba(cr_, Channel(c, 16), Channel(c, 8), Channel(c, 0), Channel(c, 24));
}

void CCairoCanvas::FillColor(const SkinRect& rc, SkinColor color) {
  if (cr_ == nullptr || (color >> 24) == 0 || rc.IsEmpty()) return;
  cairo_save(cr_);
  cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
  SetColor(color);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void CCairoCanvas::FillGradient(const SkinRect& rc, SkinColor color1, SkinColor color2, bool vertical) {
  const unsigned alpha = ((color1 >> 24) + (color2 >> 24)) / 2;
  if (cr_ == nullptr || alpha == 0 || rc.IsEmpty()) return;
  cairo_pattern_t* pattern = vertical ? cairo_pattern_create_linear(0, rc.top, 0, rc.bottom)
                                      : cairo_pattern_create_linear(rc.left, 0, rc.right, 0);
  cairo_pattern_add_color_stop_rgb(pattern, 0, Channel(color1, 16), Channel(color1, 8), Channel(color1, 0));
  cairo_pattern_add_color_stop_rgb(pattern, 1, Channel(color2, 16), Channel(color2, 8), Channel(color2, 0));
  cairo_save(cr_);
  cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
  cairo_clip(cr_);
  cairo_set_source(cr_, pattern);
  cairo_paint_with_alpha(cr_, alpha / 255.0);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
}

void CCairoCanvas::StrokeLine(const SkinRect& rc, int width, SkinColor color, int style) {
  if (cr_ == nullptr || (color >> 24) == 0) return;
  const int w = std::max(1, width);
  // A pen of odd width is centred on a pixel centre, one of even width between two pixels, so a
  // straight line covers whole pixels.
  const double across = w % 2 != 0 ? 0.5 : 0.0;
  double x0 = rc.left, y0 = rc.top, x1 = rc.right, y1 = rc.bottom;
  if (rc.left == rc.right) {
    x0 += across;
    x1 += across;
  } else if (rc.top == rc.bottom) {
    y0 += across;
    y1 += across;
  } else {
    x0 += 0.5, y0 += 0.5, x1 += 0.5, y1 += 0.5;
  }
  cairo_save(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr_, w);
  cairo_set_line_cap(cr_, (style & kFlatCap) == 0 && (style & kSquareCap) != 0 ? CAIRO_LINE_CAP_SQUARE
                                                                                 : CAIRO_LINE_CAP_BUTT);
  const double dash[] = {3.0 * w, 1.0 * w};
  const double dashDotDot[] = {3.0 * w, 1.0 * w, 1.0 * w, 1.0 * w, 1.0 * w, 1.0 * w};
  if ((style & kDashBits) == kDash)
    cairo_set_dash(cr_, dash, 2, 0);
  else if ((style & kDashBits) == kDashDotDot)
    cairo_set_dash(cr_, dashDotDot, 6, 0);
  cairo_move_to(cr_, x0, y0);
  cairo_line_to(cr_, x1, y1);
  SetColor(color);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void CCairoCanvas::StrokeRect(const SkinRect& rc, int width, SkinColor color) {
  if (cr_ == nullptr || (color >> 24) == 0 || rc.IsEmpty()) return;
  const int w = std::max(1, width);
  cairo_save(cr_);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr_, rc.left, rc.top, rc.Width(), rc.Height());
  const SkinRect inner = rc.Deflated({w, w, w, w});
  if (!inner.IsEmpty()) cairo_rectangle(cr_, inner.left, inner.top, inner.Width(), inner.Height());
  SetColor(color);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void CCairoCanvas::StrokeRoundRect(const SkinRect& rc, int width, int rx, int ry, SkinColor color) {
  if (cr_ == nullptr || (color >> 24) == 0 || rc.IsEmpty()) return;
  const double w = std::max(1, width);
  const double half = w / 2;
  if (rc.Width() <= w || rc.Height() <= w) {
    FillColor(rc, color);
    return;
  }
  cairo_save(cr_);
  RoundedRectPath(cr_, rc.left + half, rc.top + half, rc.Width() - w, rc.Height() - w, std::max(0.0, rx - half),
                  std::max(0.0, ry - half));
  cairo_set_line_width(cr_, w);
  SetColor(color);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}

void CCairoCanvas::PushClipRect(const SkinRect& rc) {
  if (cr_ == nullptr) return;
  cairo_save(cr_);
  cairo_rectangle(cr_, rc.left, rc.top, std::max(0, rc.Width()), std::max(0, rc.Height()));
  cairo_clip(cr_);
  ++clipDepth_;
}

void CCairoCanvas::PushClipRoundRect(const SkinRect& rc, const SkinRect& round, int rx, int ry) {
  if (cr_ == nullptr) return;
  PushClipRect(rc);
  RoundedRectPath(cr_, round.left, round.top, std::max(0, round.Width()), std::max(0, round.Height()), rx, ry);
  cairo_clip(cr_);
}

void CCairoCanvas::PopClip() {
  if (cr_ == nullptr || clipDepth_ == 0) return;
  cairo_restore(cr_);
  --clipDepth_;
}

SkinRect CCairoCanvas::ClipBox() const {
  if (cr_ == nullptr) return {};
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  const SkinRect box{static_cast<int>(std::floor(x1)), static_cast<int>(std::floor(y1)),
                     static_cast<int>(std::ceil(x2)), static_cast<int>(std::ceil(y2))};
  SkinRect out;
  IntersectRect(out, box, {0, 0, width_, height_});
  return out;
}

bool CCairoCanvas::PaintImage(CSkinHost* host, const SkinRect& control, const SkinRect& dirty,
                              const SkinImageSpec& spec) {
  return CSkinRender::PaintImage(*this, host, control, dirty, spec);
}

void CCairoCanvas::DrawBitmap(const SkinBitmapInfo& bitmap, const SkinRect& dest, const SkinRect& src,
                              std::uint8_t alpha) {
  if (cr_ == nullptr || alpha == 0 || dest.IsEmpty() || src.IsEmpty()) return;
  if (src.left < 0 || src.top < 0 || src.right > bitmap.width || src.bottom > bitmap.height ||
      bitmap.pixels.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height)
    return;
  SkinRect visible;
  if (!IntersectRect(visible, dest, ClipBox())) return;
  const double a = alpha / 255.0;
  if (dest.Width() == src.Width() && dest.Height() == src.Height()) {
    // 1:1: only the visible part, which is never larger than the canvas.
    cairo_surface_t* s = SurfaceOver(bitmap, src.left + visible.left - dest.left, src.top + visible.top - dest.top,
                                     visible.Width(), visible.Height());
    cairo_save(cr_);
    cairo_set_source_surface(cr_, s, visible.left, visible.top);
    cairo_rectangle(cr_, visible.left, visible.top, visible.Width(), visible.Height());
    cairo_clip(cr_);
    cairo_paint_with_alpha(cr_, a);
    cairo_restore(cr_);
    cairo_surface_destroy(s);
    return;
  }
  // Scaled: the visible destination in parts whose source fits a surface (only a source wider or
  // taller than a surface may be, drawn at a small scale, needs more than one).
  const double sx = static_cast<double>(src.Width()) / dest.Width();
  const double sy = static_cast<double>(src.Height()) / dest.Height();
  const int stepX = std::max(1, static_cast<int>((kMaxSurfaceSide / 2) / sx));
  const int stepY = std::max(1, static_cast<int>((kMaxSurfaceSide / 2) / sy));
  for (int y = visible.top; y < visible.bottom; y += stepY)
    for (int x = visible.left; x < visible.right; x += stepX)
      DrawScaledPart(bitmap, dest, src,
                     {x, y, std::min(x + stepX, visible.right), std::min(y + stepY, visible.bottom)}, a);
}

void CCairoCanvas::DrawScaledPart(const SkinBitmapInfo& bitmap, const SkinRect& dest, const SkinRect& src,
                                  const SkinRect& part, double alpha) {
  const double sx = static_cast<double>(src.Width()) / dest.Width();
  const double sy = static_cast<double>(src.Height()) / dest.Height();
  // The source the part samples, with room for the filter, never beyond `src`: outside it the
  // edge pixels are repeated, so a neighbouring frame of a sprite never bleeds in.
  const int marginX = static_cast<int>(std::ceil(sx)) + 1;
  const int marginY = static_cast<int>(std::ceil(sy)) + 1;
  int u0 = std::max(src.left, static_cast<int>(std::floor(src.left + (part.left - dest.left) * sx)) - marginX);
  int u1 = std::min(src.right, static_cast<int>(std::ceil(src.left + (part.right - dest.left) * sx)) + marginX);
  int v0 = std::max(src.top, static_cast<int>(std::floor(src.top + (part.top - dest.top) * sy)) - marginY);
  int v1 = std::min(src.bottom, static_cast<int>(std::ceil(src.top + (part.bottom - dest.top) * sy)) + marginY);
  u1 = std::min(u1, u0 + kMaxSurfaceSide);
  v1 = std::min(v1, v0 + kMaxSurfaceSide);
  if (u1 <= u0 || v1 <= v0) return;
  cairo_surface_t* s = SurfaceOver(bitmap, u0, v0, u1 - u0, v1 - v0);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(s);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
  cairo_matrix_t m;
  cairo_matrix_init(&m, sx, 0, 0, sy, src.left - u0 - dest.left * sx, src.top - v0 - dest.top * sy);
  cairo_pattern_set_matrix(pattern, &m);
  cairo_save(cr_);
  cairo_rectangle(cr_, part.left, part.top, part.Width(), part.Height());
  cairo_clip(cr_);
  cairo_set_source(cr_, pattern);
  cairo_paint_with_alpha(cr_, alpha);
  cairo_restore(cr_);
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(s);
}

void CCairoCanvas::DrawPlainText(const SkinRect& rc, const std::wstring& text, const SkinFontInfo& font,
                                 SkinColor color, std::uint32_t style) {
  if (cr_ == nullptr || text.empty() || (color >> 24) == 0) return;
  PlainTextLayout layout = CPangoText::LayoutPlainText(rc, text, font, style);
  cairo_save(cr_);
  if ((style & DT_NOCLIP) == 0) {
    cairo_rectangle(cr_, rc.left, rc.top, std::max(0, rc.Width()), std::max(0, layout.clipBottom - rc.top));
    cairo_clip(cr_);
  } else if ((style & DT_EDITCONTROL) != 0) {
    cairo_rectangle(cr_, 0, 0, width_, std::max(0, layout.clipBottom));
    cairo_clip(cr_);
  }
  SetColor(color);
  cairo_move_to(cr_, layout.x, layout.y);
  pango_cairo_show_layout(cr_, layout.layout.get());
  cairo_restore(cr_);
}

void CCairoCanvas::DrawTextRun(int x, int y, const std::wstring& text, const SkinFontInfo& font, SkinColor color) {
  if (cr_ == nullptr || text.empty() || (color >> 24) == 0) return;
  PangoLayoutPtr layout = CPangoText::RunLayout(font, text);
  // Runs of different fonts on one line share the baseline their metrics put them on.
  int top = y;
  if (font.metricsValid) top = y + font.ascent - PANGO_PIXELS(pango_layout_get_baseline(layout.get()));
  cairo_save(cr_);
  SetColor(color);
  cairo_move_to(cr_, x, top);
  pango_cairo_show_layout(cr_, layout.get());
  cairo_restore(cr_);
}

}  // namespace SkinUI
