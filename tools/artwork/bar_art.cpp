// Progress bars, the install-path field and the animated installation bar.
#include "tools/artwork/art.h"
#include "tools/artwork/paint.h"

namespace artwork {

namespace {

using namespace palette;

constexpr int kBarWidth = 659;
constexpr int kBarHeight = 12;

// A shade along the top inside edge of the current clip.
void TopShade(cairo_t* cr, double w, double depth, double alpha) {
  cairo_rectangle(cr, 0, 0, w, depth);
  FillGradient(cr, 0, 0, 0, depth, {{0, Rgb(0x000000, alpha)}, {1, Rgb(0x000000, 0)}});
}

}  // namespace

Image ProgressTrack() {
  return Picture(kBarWidth, kBarHeight, [&](cairo_t* cr) {
    RoundedRect(cr, 0, 0, kBarWidth, kBarHeight, kBarHeight / 2.0);
    SetColour(cr, kTrack);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    TopShade(cr, kBarWidth, 4, 0.06);
  });
}

Image ProgressFill(bool red) {
  // The progress control stretches the whole picture over the filled part, so the gradient
  // always runs from the start of the bar to its moving end.
  return Picture(kBarWidth, kBarHeight, [&](cairo_t* cr) {
    RoundedRect(cr, 0, 0, kBarWidth, kBarHeight, kBarHeight / 2.0);
    if (red) {
      FillGradientPreserve(cr, 0, 0, kBarWidth, 0, {{0, Rgb(0xFF6A52)}, {1, kRed}});
    } else {
      FillGradientPreserve(cr, 0, 0, kBarWidth, 0, {{0, Rgb(0x38A6F2)}, {1, kBlue}});
    }
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, kBarWidth, kBarHeight / 2.0);
    FillGradient(cr, 0, 0, 0, kBarHeight / 2.0, {{0, kWhite.WithAlpha(0.30)}, {1, kWhite.WithAlpha(0.05)}});
  });
}

Image PathField() {
  const int w = 573, h = 38;
  return Picture(w, h, [&](cairo_t* cr) {
    RoundedRect(cr, 0, 0, w, h, 4);
    SetColour(cr, kWhite);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    TopShade(cr, w, 3, 0.035);
    cairo_restore(cr);
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    Stroke(cr, kBorder, 1);
  });
}

Image InstallBar() {
  // 48 frames of 40 ms: diagonal stripes creep two pixels a frame (four 24-pixel periods per
  // loop, so the loop is seamless) while a glow sweeps across once.
  constexpr int kFrames = 48, kWidth = 767, kHeight = 12, kPeriod = 24, kGlow = 260;
  return Strip(kWidth, kHeight, kFrames, [&](cairo_t* cr, int i) {
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    FillGradient(cr, 0, 0, 0, kHeight, {{0, kRed.Mix(kWhite, 0.10)}, {0.55, kRed}, {1, kRed.Mix(kRedPushed, 0.8)}});
    const int phase = (i * 2) % kPeriod;
    for (int x = -kPeriod * 2 + phase; x < kWidth + kPeriod; x += kPeriod) {
      cairo_move_to(cr, x, kHeight);
      cairo_line_to(cr, x + kHeight, 0);
      cairo_line_to(cr, x + kHeight + kPeriod / 2.0, 0);
      cairo_line_to(cr, x + kPeriod / 2.0, kHeight);
      cairo_close_path(cr);
    }
    FillColour(cr, kWhite.WithAlpha(0.08));
    const double centre = -kGlow / 2.0 + (kWidth + kGlow) * i / double(kFrames);
    cairo_rectangle(cr, centre - kGlow / 2.0, 0, kGlow, kHeight);
    FillGradient(cr, centre - kGlow / 2.0, 0, centre + kGlow / 2.0, 0,
                 {{0, kWhite.WithAlpha(0)},
                  {0.2, kWhite.WithAlpha(0.05)},
                  {0.35, kWhite.WithAlpha(0.22)},
                  {0.5, kWhite.WithAlpha(0.38)},
                  {0.65, kWhite.WithAlpha(0.22)},
                  {0.8, kWhite.WithAlpha(0.05)},
                  {1, kWhite.WithAlpha(0)}});
    cairo_rectangle(cr, 0, 0, kWidth, kHeight / 2.0);
    FillGradient(cr, 0, 0, 0, kHeight / 2.0, {{0, kWhite.WithAlpha(0.16)}, {1, kWhite.WithAlpha(0)}});
  });
}

}  // namespace artwork
