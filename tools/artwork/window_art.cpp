// Window backgrounds, the logo and the message box's parts.
#include <cmath>

#include "tools/artwork/art.h"
#include "tools/artwork/paint.h"

namespace artwork {

namespace {

using namespace palette;

// Both windows keep a 10-pixel transparent margin (the root's inset) for their shadow.
constexpr double kMargin = 10;

// A white card inside the margin with a two-layer soft shadow and a hairline edge that keeps
// the window apart from a white desktop.
void Card(cairo_t* cr, int w, int h, double radius) {
  auto shape = [&](cairo_t* c) { RoundedRect(c, kMargin, kMargin, w - 2 * kMargin, h - 2 * kMargin, radius); };
  SoftShadow(cr, w, h, shape, 3, kShadow.WithAlpha(0.22), 0, 1.5);
  SoftShadow(cr, w, h, shape, 1.2, kShadow.WithAlpha(0.10), 0, 0.5);
  shape(cr);
  FillColour(cr, kWhite);
  RoundedRect(cr, kMargin + 0.5, kMargin + 0.5, w - 2 * kMargin - 1, h - 2 * kMargin - 1, radius - 0.5);
  Stroke(cr, kShadow.WithAlpha(0.09), 1);
}

Image InstallerWindow(int h, bool panel) {
  const int w = 819;
  return Picture(w, h, [&](cairo_t* cr) {
    Card(cr, w, h, 6);
    if (panel) {
      // The custom-install panel sits on a light ground below a divider, halfway between the
      // install button's row (ends at 532) and the panel (starts at 552).
      RoundedRect(cr, kMargin, kMargin, w - 2 * kMargin, h - 2 * kMargin, 6);
      cairo_clip(cr);
      cairo_rectangle(cr, kMargin, 542, w - 2 * kMargin, h - kMargin - 542);
      FillColour(cr, kSurfaceAlt);
      cairo_rectangle(cr, kMargin, 542, w - 2 * kMargin, 1);
      FillColour(cr, kDivider);
    }
  });
}

}  // namespace

Image WindowBackground() { return InstallerWindow(574, false); }
Image WindowBackgroundExpanded() { return InstallerWindow(698, true); }

Image MessageBoxBackground() {
  const int s = 152;
  return Picture(s, s, [&](cairo_t* cr) {
    Card(cr, s, s, 5);
    // The caption band (10 .. 54) ends in a divider; the nine-slice keeps it 54 pixels high.
    cairo_rectangle(cr, kMargin, 53, s - 2 * kMargin, 1);
    FillColour(cr, kDivider);
  });
}

Image BlankSlide() {
  return Picture(767, 398, [&](cairo_t* cr) {
    RoundedRect(cr, 0, 0, 767, 398, 8);
    FillColour(cr, kWhite);
  });
}

Image Logo() {
  return Picture(24, 24, [&](cairo_t* cr) {
    // A blue tile with a white landscape and a warm sun: a photograph, reduced to its sign.
    RoundedRect(cr, 0, 0, 24, 24, 5.5);
    FillGradient(cr, 0, 0, 0, 24, {{0, kBlueBright}, {1, kBlue.Mix(kBluePushed, 0.3)}});
    cairo_move_to(cr, 3, 19);
    cairo_line_to(cr, 9, 11);
    cairo_line_to(cr, 12.5, 15.5);
    cairo_line_to(cr, 15, 12.5);
    cairo_line_to(cr, 21, 19);
    cairo_close_path(cr);
    FillColour(cr, kWhite);
    Circle(cr, 16.5, 7, 2.4);
    FillColour(cr, kAmber);
  });
}

Image WarningIcon() {
  return Picture(16, 16, [&](cairo_t* cr) {
    Circle(cr, 8, 8, 7.5);
    FillGradient(cr, 0, 0, 0, 16, {{0, Rgb(0xFFBE3D)}, {1, Rgb(0xF59300)}});
    RoundedRect(cr, 7, 3.5, 2, 6.5, 1);
    FillColour(cr, kWhite);
    Circle(cr, 8, 12.2, 1.15);
    FillColour(cr, kWhite);
  });
}

}  // namespace artwork
