#pragma once
// Drawing helpers shared by every picture of the skin: paths, colour and gradient fills, soft
// shadows and text.
#include <cairo.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "tools/artwork/palette.h"

namespace artwork {

struct Stop {
  double offset;
  Rgb colour;
};

void SetColour(cairo_t* cr, const Rgb& c);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Circle(cairo_t* cr, double cx, double cy, double r);

// Fills the current path (and clears it) with a colour or a linear gradient from (x0, y0) to
// (x1, y1).
void FillColour(cairo_t* cr, const Rgb& c);
void FillGradient(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
// The same, keeping the path.
void FillGradientPreserve(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
// A radial glow: `c` at the centre fading to transparent at radius r.
void FillGlow(cairo_t* cr, double cx, double cy, double r, const Rgb& c);

// Strokes the current path (and clears it).
void Stroke(cairo_t* cr, const Rgb& c, double width);

// Draws the blurred silhouette of `shape` (which builds a path) in colour `c`, moved by dx, dy,
// onto the area 0,0 .. w,h of the context. `blur` is roughly the Gaussian's standard deviation.
void SoftShadow(cairo_t* cr, int w, int h, const std::function<void(cairo_t*)>& shape, double blur, const Rgb& c,
                double dx = 0, double dy = 0);

// Text laid out by Pango in the interface face of the skin ("WenQuanYi Micro Hei" stands for
// the skin's "Microsoft YaHei"), `px` pixels high, with greyscale antialiasing and no hinting
// so that the pictures are the same on every machine. Draws at x, y (top-left of the layout),
// wrapping at maxWidth when it is positive; returns the height of the laid-out text.
double DrawText(cairo_t* cr, const std::string& utf8, double px, int weight, const Rgb& c, double x, double y,
                int maxWidth = 0, double lineSpacing = 1.0);

}  // namespace artwork
