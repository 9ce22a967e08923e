#include "tools/artwork/scenery.h"

#include <cmath>
#include <vector>

#include "tools/artwork/paint.h"

namespace artwork {

namespace moods {
const PhotoMood kAlpine{Rgb(0x6DB7F2), Rgb(0xD9EEFF), Rgb(0x8DB3D6), Rgb(0x3F7DB3), Rgb(0xFFE28A)};
const PhotoMood kSunset{Rgb(0xFF8A65), Rgb(0xFFD7A0), Rgb(0xD9727A), Rgb(0x8E3B5E), Rgb(0xFFF3C9)};
const PhotoMood kForest{Rgb(0x9ED9C6), Rgb(0xE9F7EF), Rgb(0x5FBF95), Rgb(0x2A8264), Rgb(0xFFF0A8)};
const PhotoMood kNight{Rgb(0x233463), Rgb(0x5267A8), Rgb(0x3A4C86), Rgb(0x18224A), Rgb(0xF4F1D6)};
const PhotoMood kLake{Rgb(0x57B3EE),   Rgb(0xCBEBFF), Rgb(0x7FB2D9), Rgb(0x2F6F9F),
                      Rgb(0xFFE9A3),   true,          Rgb(0x4FA6DE), Rgb(0x1F6BA3)};
const PhotoMood kDune{Rgb(0xF9B46B), Rgb(0xFFE7C2), Rgb(0xE9A05E), Rgb(0xC0703A), Rgb(0xFFFBEA)};
}  // namespace moods

namespace {

// A small deterministic generator: the same seed always gives the same ridges.
class Random {
 public:
  explicit Random(unsigned seed) : state_(seed * 2654435761u + 12345u) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) / double(1u << 24);
  }

 private:
  unsigned state_;
};

// A ridge line across the width: peaks when `sharp`, rolling hills otherwise.
void Ridge(cairo_t* cr, double x, double w, double base, double amplitude, int peaks, bool sharp, Random& rnd,
           double bottom) {
  std::vector<std::pair<double, double>> pts;
  const int n = peaks * 2 + 2;
  for (int i = 0; i <= n; ++i) {
    const double px = x + w * i / n + (i > 0 && i < n ? (rnd.Next() - 0.5) * w / n * 0.6 : 0);
    const double lift = (i % 2 == 1) ? amplitude * (0.55 + 0.45 * rnd.Next()) : amplitude * 0.15 * rnd.Next();
    pts.emplace_back(px, base - lift);
  }
  cairo_move_to(cr, x - 1, bottom);
  cairo_line_to(cr, x - 1, pts.front().second);
  if (sharp) {
    for (const auto& [px, py] : pts) cairo_line_to(cr, px, py);
  } else {
    cairo_line_to(cr, pts.front().first, pts.front().second);
    for (size_t i = 1; i < pts.size(); ++i) {
      const auto [x0, y0] = pts[i - 1];
      const auto [x1, y1] = pts[i];
      const double mx = (x0 + x1) / 2;
      cairo_curve_to(cr, mx, y0, mx, y1, x1, y1);
    }
  }
  cairo_line_to(cr, x + w + 1, pts.back().second);
  cairo_line_to(cr, x + w + 1, bottom);
  cairo_close_path(cr);
}

}  // namespace

PhotoMood Faded(const PhotoMood& m, double amount) {
  const Rgb grey(0x9AA1A8);
  PhotoMood f = m;
  for (Rgb* c : {&f.skyTop, &f.skyBottom, &f.far, &f.near, &f.sun, &f.waterTop, &f.waterBottom}) {
    *c = c->Mix(grey, amount);
  }
  return f;
}

void DrawPhoto(cairo_t* cr, double x, double y, double w, double h, double radius, const PhotoMood& m,
               unsigned seed) {
  Random rnd(seed);
  cairo_save(cr);
  RoundedRect(cr, x, y, w, h, radius);
  cairo_clip(cr);
  cairo_rectangle(cr, x, y, w, h);
  FillGradient(cr, 0, y, 0, y + h * 0.75, {{0, m.skyTop}, {1, m.skyBottom}});

  const double sunR = std::min(w, h) * (0.075 + 0.03 * rnd.Next());
  const double sunX = x + w * (0.62 + 0.2 * rnd.Next());
  const double sunY = y + h * (0.22 + 0.1 * rnd.Next());
  FillGlow(cr, sunX, sunY, sunR * 3.2, m.sun.WithAlpha(0.55));
  Circle(cr, sunX, sunY, sunR);
  FillColour(cr, m.sun);

  const double horizon = m.water ? 0.66 : 0.72;
  Ridge(cr, x, w, y + h * (horizon - 0.06), h * 0.30, 2, true, rnd, y + h);
  FillGradient(cr, 0, y + h * 0.3, 0, y + h, {{0, m.far}, {1, m.far.Mix(m.near, 0.5)}});
  if (m.water) {
    cairo_rectangle(cr, x, y + h * horizon, w, h * (1 - horizon));
    FillGradient(cr, 0, y + h * horizon, 0, y + h, {{0, m.waterTop}, {1, m.waterBottom}});
    // The sun's reflection as a few broken light streaks.
    for (int i = 0; i < 4; ++i) {
      const double ly = y + h * (horizon + 0.05 + 0.07 * i);
      const double lw = w * (0.16 - 0.03 * i);
      RoundedRect(cr, sunX - lw / 2, ly, lw, std::max(1.0, h * 0.012), 1);
      FillColour(cr, m.sun.WithAlpha(0.55 - 0.1 * i));
    }
    Ridge(cr, x - w * 0.1, w * 0.5, y + h * horizon, h * 0.10, 1, false, rnd, y + h * horizon + 0.5);
    FillColour(cr, m.near);
  } else {
    Ridge(cr, x, w, y + h * (horizon + 0.12), h * 0.22, 2, false, rnd, y + h);
    FillGradient(cr, 0, y + h * 0.5, 0, y + h, {{0, m.near}, {1, m.near.Mix(Rgb(0x000000), 0.15)}});
  }
  cairo_restore(cr);
}

void DrawHeart(cairo_t* cr, double cx, double cy, double s, const Rgb& c) {
  const double k = s / 2;
  cairo_move_to(cr, cx, cy + k * 0.85);
  cairo_curve_to(cr, cx - k * 1.25, cy + k * 0.05, cx - k * 0.95, cy - k * 1.05, cx, cy - k * 0.45);
  cairo_curve_to(cr, cx + k * 0.95, cy - k * 1.05, cx + k * 1.25, cy + k * 0.05, cx, cy + k * 0.85);
  cairo_close_path(cr);
  FillColour(cr, c);
}

void DrawSparkle(cairo_t* cr, double cx, double cy, double s, const Rgb& c) {
  const double k = s / 2, waist = s * 0.12;
  cairo_move_to(cr, cx, cy - k);
  cairo_curve_to(cr, cx + waist * 0.3, cy - waist, cx + waist, cy - waist * 0.3, cx + k, cy);
  cairo_curve_to(cr, cx + waist, cy + waist * 0.3, cx + waist * 0.3, cy + waist, cx, cy + k);
  cairo_curve_to(cr, cx - waist * 0.3, cy + waist, cx - waist, cy + waist * 0.3, cx - k, cy);
  cairo_curve_to(cr, cx - waist, cy - waist * 0.3, cx - waist * 0.3, cy - waist, cx, cy - k);
  cairo_close_path(cr);
  FillColour(cr, c);
}

void DrawShareGlyph(cairo_t* cr, double cx, double cy, double s, const Rgb& c) {
  const double k = s / 2;
  const double ax = cx + k * 0.55, ay = cy - k * 0.6;
  const double bx = cx - k * 0.6, by = cy;
  const double dx = cx + k * 0.55, dy = cy + k * 0.6;
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx, by);
  cairo_line_to(cr, dx, dy);
  Stroke(cr, c, s * 0.1);
  for (auto [px, py] : {std::pair{ax, ay}, {bx, by}, {dx, dy}}) {
    Circle(cr, px, py, s * 0.17);
    FillColour(cr, c);
  }
}

void DrawPerson(cairo_t* cr, double cx, double cy, double s, const Rgb& ground, const Rgb& figure) {
  const double r = s / 2;
  cairo_save(cr);
  Circle(cr, cx, cy, r);
  SetColour(cr, ground);
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  Circle(cr, cx, cy - r * 0.18, r * 0.34);
  FillColour(cr, figure);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy + r * 0.95, r * 0.68, M_PI, 2 * M_PI);
  cairo_close_path(cr);
  FillColour(cr, figure);
  cairo_restore(cr);
}

void DrawPin(cairo_t* cr, double cx, double cy, double s, const Rgb& c) {
  const double r = s * 0.32;
  const double top = cy - s / 2 + r;
  cairo_move_to(cr, cx, cy + s / 2);
  cairo_curve_to(cr, cx - r * 0.4, cy + s * 0.2, cx - r, top + r * 0.9, cx - r, top);
  cairo_arc(cr, cx, top, r, M_PI, 2 * M_PI);
  cairo_curve_to(cr, cx + r, top + r * 0.9, cx + r * 0.4, cy + s * 0.2, cx, cy + s / 2);
  cairo_close_path(cr);
  FillColour(cr, c);
  Circle(cr, cx, top, r * 0.42);
  FillColour(cr, Rgb(0xFFFFFF));
}

void Badge(cairo_t* cr, int canvasW, int canvasH, double cx, double cy, double r, const Rgb& ground) {
  SoftShadow(cr, canvasW, canvasH, [&](cairo_t* c) { Circle(c, cx, cy, r); }, 4, palette::kShadow.WithAlpha(0.22), 0,
             3);
  Circle(cr, cx, cy, r);
  FillColour(cr, ground);
}

}  // namespace artwork
