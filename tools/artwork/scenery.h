#pragma once
// The small pictures the introduction slides are made of: landscape "photographs" in several
// moods and a handful of glyphs (heart, sparkle, share, person, pin), all drawn from shapes.
#include <cairo.h>

#include "tools/artwork/palette.h"

namespace artwork {

struct PhotoMood {
  Rgb skyTop, skyBottom;
  Rgb far, near;
  Rgb sun;
  bool water = false;
  Rgb waterTop{0x000000}, waterBottom{0x000000};
};

namespace moods {
extern const PhotoMood kAlpine;
extern const PhotoMood kSunset;
extern const PhotoMood kForest;
extern const PhotoMood kNight;
extern const PhotoMood kLake;
extern const PhotoMood kDune;
}  // namespace moods

// The mood washed out towards grey, as a photograph before it is edited.
PhotoMood Faded(const PhotoMood& m, double amount);

// A landscape in the rectangle, rounded by `radius`; `seed` varies the ridges.
void DrawPhoto(cairo_t* cr, double x, double y, double w, double h, double radius, const PhotoMood& mood,
               unsigned seed);

// Glyphs centred on cx, cy with overall size s.
void DrawHeart(cairo_t* cr, double cx, double cy, double s, const Rgb& c);
void DrawSparkle(cairo_t* cr, double cx, double cy, double s, const Rgb& c);
void DrawShareGlyph(cairo_t* cr, double cx, double cy, double s, const Rgb& c);
void DrawPerson(cairo_t* cr, double cx, double cy, double s, const Rgb& ground, const Rgb& figure);
void DrawPin(cairo_t* cr, double cx, double cy, double s, const Rgb& c);

// A round badge with a soft shadow and a glyph painter on top.
void Badge(cairo_t* cr, int canvasW, int canvasH, double cx, double cy, double r, const Rgb& ground);

}  // namespace artwork
