// Check boxes: frames normal, hot, selected and disabled; and the custom-install arrow, whose
// eight frames are the four button states, first unselected (panel closed: the arrow points
// down), then selected (panel open: it points up).
#include "tools/artwork/art.h"
#include "tools/artwork/paint.h"

namespace artwork {

namespace {

using namespace palette;

enum CheckState { kCheckNormal, kCheckHot, kCheckSelected, kCheckDisabled };

void CheckMark(cairo_t* cr, double s, const Rgb& c) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, 0.26 * s, 0.52 * s);
  cairo_line_to(cr, 0.44 * s, 0.70 * s);
  cairo_line_to(cr, 0.76 * s, 0.34 * s);
  Stroke(cr, c, 0.125 * s);
}

}  // namespace

Image CheckBox(int size, bool round) {
  return Strip(size, size, 4, [=](cairo_t* cr, int state) {
    const double s = size;
    const double r = round ? (s - 1) / 2 : 2.5;
    const Rgb fills[] = {kWhite, Rgb(0xF3F8FD), kBlue, Rgb(0xF1F3F5)};
    const Rgb borders[] = {kBorderStrong, kBlue, kBlue, kBorderDisabled};
    RoundedRect(cr, 0.5, 0.5, s - 1, s - 1, r);
    if (state == kCheckSelected) {
      FillGradientPreserve(cr, 0, 0, 0, s, {{0, kBlue.Mix(kBlueBright, 0.35)}, {1, kBlue}});
    } else {
      SetColour(cr, fills[state]);
      cairo_fill_preserve(cr);
    }
    Stroke(cr, borders[state], 1);
    if (state == kCheckSelected) CheckMark(cr, s, kWhite);
  });
}

Image ExpandArrow() {
  return Strip(14, 14, 8, [](cairo_t* cr, int frame) {
    const int state = frame % 4;
    const bool open = frame >= 4;
    const Rgb colours[] = {kGlyph, kBlueHot, kBluePushed, kGlyphDisabled};
    const Rgb grounds[] = {kWhite.WithAlpha(0), kBlueTint, kBlueTintDeep, kWhite.WithAlpha(0)};
    Circle(cr, 7, 7, 6.5);
    SetColour(cr, grounds[state]);
    cairo_fill_preserve(cr);
    Stroke(cr, colours[state].WithAlpha(0.75), 1);
    const double tip = open ? 5.6 : 8.4;
    const double ends = open ? 8.3 : 5.7;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 4.4, ends);
    cairo_line_to(cr, 7, tip);
    cairo_line_to(cr, 9.6, ends);
    Stroke(cr, colours[state], 1.4);
  });
}

}  // namespace artwork
