// Four-state push-button sprites: frames normal, hot, pushed and disabled from left to right.
#include "tools/artwork/art.h"
#include "tools/artwork/paint.h"

namespace artwork {

namespace {

using namespace palette;

struct Look {
  Rgb fill;
  Rgb border;
};

Image TitleButton(bool close) {
  return Strip(24, 24, 4, [close](cairo_t* cr, int state) {
    // Hover and press show a rounded plate: grey for minimise, the alert red for close.
    const Rgb plates[] = {kWhite.WithAlpha(0), close ? kRed : Rgb(0x000000, 0.07),
                          close ? kRedPushed : Rgb(0x000000, 0.13), kWhite.WithAlpha(0)};
    const bool onRed = close && (state == kHot || state == kPushed);
    const Rgb glyph = state == kDisabled ? kGlyphDisabled : onRed ? kWhite : state == kNormal ? kGlyph : kText;
    RoundedRect(cr, 0, 0, 24, 24, 4);
    FillColour(cr, plates[state]);
    if (close) {
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_move_to(cr, 7.5, 7.5);
      cairo_line_to(cr, 16.5, 16.5);
      cairo_move_to(cr, 16.5, 7.5);
      cairo_line_to(cr, 7.5, 16.5);
      Stroke(cr, glyph, 1.5);
    } else {
      cairo_rectangle(cr, 7, 12, 10, 1);  // whole pixels: a crisp bar
      FillColour(cr, glyph);
    }
  });
}

// A vertical sheen: light at the top edge fading out by the middle.
void Sheen(cairo_t* cr, double w, double h, double radius, double strength) {
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, radius - 0.5);
  SetColour(cr, kWhite);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, strength);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
}

// The blue body every filled button shares; pressed buttons lose the sheen and get a shade at
// the top, disabled ones go pale and flat.
void BlueBody(cairo_t* cr, double w, double h, double radius, int state) {
  const Stop stops[4][2] = {
      {{0, kBlue.Mix(kBlueBright, 0.45)}, {1, kBlue}},
      {{0, kBlueHot.Mix(kWhite, 0.12)}, {1, kBlueHot}},
      {{0, kBluePushed}, {1, kBluePushed.Mix(kBlue, 0.3)}},
      {{0, kBlueDisabled.Mix(kWhite, 0.08)}, {1, kBlueDisabled}},
  };
  RoundedRect(cr, 0, 0, w, h, radius);
  FillGradient(cr, 0, 0, 0, h, {stops[state][0], stops[state][1]});
  if (state == kNormal || state == kHot) Sheen(cr, w, h, radius, 0.28);
  if (state == kPushed) {
    cairo_save(cr);
    RoundedRect(cr, 0, 0, w, h, radius);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, w, 6);
    FillGradient(cr, 0, 0, 0, 6, {{0, Rgb(0x000000, 0.18)}, {1, Rgb(0x000000, 0)}});
    cairo_restore(cr);
  }
}

void Outlined(cairo_t* cr, double w, double h, const Look& look) {
  RoundedRect(cr, 0, 0, w, h, 4);
  FillColour(cr, look.fill);
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
  Stroke(cr, look.border, 1);
}

}  // namespace

Image MinimiseButton() { return TitleButton(false); }
Image CloseButton() { return TitleButton(true); }

Image LargeButton(bool pill) {
  return Strip(228, 62, 4, [pill](cairo_t* cr, int state) { BlueBody(cr, 228, 62, pill ? 31 : 6, state); });
}

Image FilledButton(int width, int height) {
  return Strip(width, height, 4, [=](cairo_t* cr, int state) { BlueBody(cr, width, height, 4, state); });
}

Image OutlineButton(int width, int height, bool red) {
  const Look blue[] = {{kWhite, kBlue}, {kBlueTint, kBlueHot}, {kBlueTintDeep, kBluePushed}, {kWhite, kBlueDisabled}};
  const Look alert[] = {{kWhite, kRed}, {kRedTint, kRedHot}, {kRedTintDeep, kRedPushed}, {kWhite, kRedDisabled}};
  const Look* looks = red ? alert : blue;
  return Strip(width, height, 4, [=](cairo_t* cr, int state) { Outlined(cr, width, height, looks[state]); });
}

Image PlainButton(int width, int height) {
  const Look looks[] = {{kWhite, Rgb(0xC9CFD6)},
                        {Rgb(0xF4F7FA), Rgb(0xAAB3BD)},
                        {Rgb(0xE6EAEF), Rgb(0x97A0AB)},
                        {Rgb(0xF7F8F9), kBorderDisabled}};
  return Strip(width, height, 4, [=](cairo_t* cr, int state) { Outlined(cr, width, height, looks[state]); });
}

}  // namespace artwork
