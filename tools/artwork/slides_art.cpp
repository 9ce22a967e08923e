// The three introduction slides: what the application does for a person's photographs.
// Each has a short headline on the left and an illustration on the right, on a light ground
// with rounded corners (the window background shows around them).
#include <cmath>
#include <string>

#include "tools/artwork/art.h"
#include "tools/artwork/paint.h"
#include "tools/artwork/scenery.h"

namespace artwork {

namespace {

using namespace palette;

constexpr int kW = 767;
constexpr int kH = 398;

struct Caption {
  const char* headline;
  const char* detail;
};

void Ground(cairo_t* cr, const Rgb& accent) {
  RoundedRect(cr, 0, 0, kW, kH, 8);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 0, kW, kH);
  FillGradient(cr, 0, 0, kW, kH, {{0, Rgb(0xF5F9FE)}, {1, Rgb(0xE3EFFA)}});
  // Two large soft glows give the ground depth without drawing the eye.
  FillGlow(cr, 610, 60, 300, accent.WithAlpha(0.10));
  FillGlow(cr, 110, 420, 240, kBlue.WithAlpha(0.07));
  // A small dot grid as a quiet brand mark in the upper left.
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 6; ++col) {
      Circle(cr, 40 + col * 12, 40 + row * 12, 1.6);
      FillColour(cr, kBlue.WithAlpha(0.16));
    }
  }
}

void Text(cairo_t* cr, const Caption& caption, const Rgb& accent) {
  const double x = 56;
  RoundedRect(cr, x, 138, 30, 4, 2);
  FillColour(cr, accent);
  DrawText(cr, caption.headline, 30, 700, kInk, x, 156);
  DrawText(cr, caption.detail, 15, 400, kInkSoft, x, 208, 250, 1.5);
}

// A white card with a soft shadow, as an application window or panel.
void Card(cairo_t* cr, double x, double y, double w, double h, double r) {
  SoftShadow(cr, kW, kH, [&](cairo_t* c) { RoundedRect(c, x, y, w, h, r); }, 9, kShadow.WithAlpha(0.16), 0, 8);
  RoundedRect(cr, x, y, w, h, r);
  FillColour(cr, kWhite);
}

// A line of abstract interface text: a rounded grey bar.
void Bar(cairo_t* cr, double x, double y, double w, double h, const Rgb& c) {
  RoundedRect(cr, x, y, w, h, h / 2);
  FillColour(cr, c);
}

// A printed photograph with a white border, turned by `angle` around its centre.
void Print(cairo_t* cr, double cx, double cy, double w, double h, double angle, const PhotoMood& mood, unsigned seed) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  const double x = -w / 2, y = -h / 2;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  cairo_identity_matrix(cr);
  SoftShadow(
      cr, kW, kH,
      [&](cairo_t* c) {
        cairo_set_matrix(c, &m);
        RoundedRect(c, x, y, w, h, 4);
        cairo_identity_matrix(c);
      },
      5, kShadow.WithAlpha(0.20), 0, 4);
  cairo_set_matrix(cr, &m);
  RoundedRect(cr, x, y, w, h, 4);
  FillColour(cr, kWhite);
  DrawPhoto(cr, x + 7, y + 7, w - 14, h - 26, 2, mood, seed);
  cairo_restore(cr);
}

// Organising: a library window with albums in a side bar and a grid of photographs, and a stack
// of prints with a favourite mark in front of it.
void Albums(cairo_t* cr) {
  Ground(cr, kBlue);
  Text(cr, {"照片井然有序", "按时间、地点和相册自动整理，\n珍贵回忆一目了然。"}, kBlue);

  const double x = 360, y = 58, w = 350, h = 262;
  Card(cr, x, y, w, h, 10);
  // Title strip with a search field.
  cairo_save(cr);
  RoundedRect(cr, x, y, w, h, 10);
  cairo_clip(cr);
  cairo_rectangle(cr, x, y, 86, h);
  FillColour(cr, kSurfaceAlt);
  cairo_restore(cr);
  Bar(cr, x + 110, y + 16, 130, 14, Rgb(0xEEF2F6));
  Circle(cr, x + 120, y + 23, 3.2);
  Stroke(cr, Rgb(0xA9B4C0), 1.4);
  // Albums in the side bar; the first is the open one.
  const PhotoMood* albumMoods[] = {&moods::kAlpine, &moods::kSunset, &moods::kForest, &moods::kNight, &moods::kDune};
  for (int i = 0; i < 5; ++i) {
    const double ay = y + 48 + i * 36;
    if (i == 0) {
      RoundedRect(cr, x + 8, ay - 6, 70, 30, 6);
      FillColour(cr, kBlueTint);
    }
    DrawPhoto(cr, x + 14, ay, 18, 18, 4, *albumMoods[i], 40 + i);
    Bar(cr, x + 38, ay + 4, i == 0 ? 32 : 26 + (i * 7) % 12, 5, i == 0 ? kBlue.WithAlpha(0.55) : Rgb(0xCBD3DC));
    Bar(cr, x + 38, ay + 12, 18, 4, Rgb(0xDDE3E9));
  }
  // The photo grid.
  const PhotoMood* grid[] = {&moods::kLake,   &moods::kSunset, &moods::kAlpine, &moods::kForest, &moods::kDune,
                             &moods::kNight,  &moods::kAlpine, &moods::kLake,   &moods::kSunset};
  Bar(cr, x + 102, y + 46, 70, 7, Rgb(0x9AA7B5));
  for (int i = 0; i < 9; ++i) {
    const double gx = x + 102 + (i % 3) * 80, gy = y + 64 + (i / 3) * 64;
    DrawPhoto(cr, gx, gy, 72, 56, 5, *grid[i], 7 + i * 3);
  }
  // A selected photo: blue ring and a check badge.
  RoundedRect(cr, x + 180.5, y + 126.5, 75, 59, 6);
  Stroke(cr, kBlue, 2.5);
  Circle(cr, x + 247, y + 135, 8);
  FillColour(cr, kBlue);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, x + 243.3, y + 135.2);
  cairo_line_to(cr, x + 246, y + 137.8);
  cairo_line_to(cr, x + 250.8, y + 132.6);
  Stroke(cr, kWhite, 1.8);

  // A stack of prints leaning on the window.
  Print(cr, 330, 304, 112, 96, -0.16, moods::kForest, 3);
  Print(cr, 344, 310, 112, 96, 0.09, moods::kDune, 5);
  Print(cr, 350, 318, 112, 96, -0.03, moods::kAlpine, 11);
  Badge(cr, kW, kH, 398, 268, 16, kCoral);
  DrawHeart(cr, 398, 269, 15, kWhite);
  // A place marker: albums by location.
  Badge(cr, kW, kH, 712, 80, 19, kWhite);
  DrawPin(cr, 712, 80, 22, kTeal);
}

// Enhancing: a photograph half before and half after, with adjustment sliders and a wand.
void Enhance(cairo_t* cr) {
  Ground(cr, kViolet);
  Text(cr, {"一键美化照片", "智能调色、修复与裁剪，\n让每一张照片都更出彩。"}, kViolet);

  const double x = 352, y = 62, w = 300, h = 220;
  Card(cr, x - 8, y - 8, w + 16, h + 16, 12);
  const double split = x + w * 0.46;
  cairo_save(cr);
  cairo_rectangle(cr, x, y, split - x, h);
  cairo_clip(cr);
  DrawPhoto(cr, x, y, w, h, 6, Faded(moods::kSunset, 0.6), 21);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_rectangle(cr, split, y, x + w - split, h);
  cairo_clip(cr);
  DrawPhoto(cr, x, y, w, h, 6, moods::kSunset, 21);
  cairo_restore(cr);
  // Crop corners.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  for (int corner = 0; corner < 4; ++corner) {
    const double cx = corner % 2 == 0 ? x + 10 : x + w - 10;
    const double cy = corner < 2 ? y + 10 : y + h - 10;
    const double sx = corner % 2 == 0 ? 1 : -1, sy = corner < 2 ? 1 : -1;
    cairo_move_to(cr, cx, cy + sy * 16);
    cairo_line_to(cr, cx, cy);
    cairo_line_to(cr, cx + sx * 16, cy);
    Stroke(cr, kWhite.WithAlpha(0.9), 3);
  }
  // The before/after divider with its handle.
  cairo_rectangle(cr, split - 1.5, y, 3, h);
  FillColour(cr, kWhite);
  Badge(cr, kW, kH, split, y + h / 2, 16, kWhite);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int side : {-1, 1}) {
    cairo_move_to(cr, split + side * 3, y + h / 2 - 5);
    cairo_line_to(cr, split + side * 8, y + h / 2);
    cairo_line_to(cr, split + side * 3, y + h / 2 + 5);
    Stroke(cr, kBlue, 2);
  }

  // Adjustment panel: brightness, contrast and colour, each a slider.
  const double px = 590, py = 196, pw = 150, ph = 132;
  Card(cr, px, py, pw, ph, 12);
  const Rgb fills[] = {kAmber, kBlue, kCoral};
  const double values[] = {0.72, 0.5, 0.84};
  for (int i = 0; i < 3; ++i) {
    const double ry = py + 30 + i * 36;
    Circle(cr, px + 24, ry, 11);
    FillColour(cr, fills[i].WithAlpha(0.15));
    if (i == 0) {  // a sun
      Circle(cr, px + 24, ry, 3.5);
      FillColour(cr, fills[i]);
      for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        cairo_move_to(cr, px + 24 + std::cos(a) * 5.5, ry + std::sin(a) * 5.5);
        cairo_line_to(cr, px + 24 + std::cos(a) * 7.5, ry + std::sin(a) * 7.5);
      }
      Stroke(cr, fills[i], 1.5);
    } else if (i == 1) {  // contrast: a half-filled disc
      Circle(cr, px + 24, ry, 6);
      Stroke(cr, fills[i], 1.5);
      cairo_arc(cr, px + 24, ry, 6, M_PI / 2, 3 * M_PI / 2);
      cairo_close_path(cr);
      FillColour(cr, fills[i]);
    } else {  // colour: a drop
      cairo_move_to(cr, px + 24, ry - 7);
      cairo_curve_to(cr, px + 29, ry - 1, px + 30, ry + 2, px + 30, ry + 2.5);
      cairo_arc(cr, px + 24, ry + 2.5, 6, 0, M_PI);
      cairo_curve_to(cr, px + 18, ry + 2, px + 19, ry - 1, px + 24, ry - 7);
      cairo_close_path(cr);
      FillColour(cr, fills[i]);
    }
    const double tx = px + 46, tw = 88;
    Bar(cr, tx, ry - 2, tw, 4, kTrack);
    Bar(cr, tx, ry - 2, tw * values[i], 4, fills[i]);
    Badge(cr, kW, kH, tx + tw * values[i], ry, 6.5, kWhite);
    Circle(cr, tx + tw * values[i], ry, 6.5);
    Stroke(cr, fills[i], 2);
  }

  // A wand with sparkles over the photograph's corner.
  cairo_save(cr);
  cairo_translate(cr, 336, 74);
  cairo_rotate(cr, -M_PI / 4);
  RoundedRect(cr, -4, 0, 8, 66, 4);
  FillGradient(cr, -4, 0, 4, 0, {{0, Rgb(0x3A4A5E)}, {1, kInk}});
  RoundedRect(cr, -4, 0, 8, 14, 4);
  FillColour(cr, kWhite);
  cairo_restore(cr);
  DrawSparkle(cr, 318, 54, 22, kAmber);
  DrawSparkle(cr, 344, 40, 12, kViolet);
  DrawSparkle(cr, 304, 82, 10, kTeal);
}

// A tablet with a full photograph and a strip of thumbnails, a phone, and friends it reaches.
void Share(cairo_t* cr) {
  Ground(cr, kTeal);
  Text(cr, {"随时浏览分享", "大图浏览、幻灯片播放，\n与家人朋友分享美好瞬间。"}, kTeal);

  // Tablet.
  const double x = 356, y = 54, w = 300, h = 214;
  SoftShadow(cr, kW, kH, [&](cairo_t* c) { RoundedRect(c, x, y, w, h, 16); }, 10, kShadow.WithAlpha(0.22), 0, 9);
  RoundedRect(cr, x, y, w, h, 16);
  FillGradient(cr, 0, y, 0, y + h, {{0, Rgb(0x2C3B4E)}, {1, kInk}});
  const double sx = x + 12, sy = y + 12, sw = w - 24, sh = h - 24;
  DrawPhoto(cr, sx, sy, sw, sh, 6, moods::kLake, 33);
  // Thumbnail strip over the bottom of the screen.
  cairo_save(cr);
  RoundedRect(cr, sx, sy, sw, sh, 6);
  cairo_clip(cr);
  cairo_rectangle(cr, sx, sy + sh - 40, sw, 40);
  FillColour(cr, Rgb(0x0B1A2A, 0.35));
  cairo_restore(cr);
  const PhotoMood* strip[] = {&moods::kAlpine, &moods::kSunset, &moods::kLake, &moods::kForest, &moods::kDune};
  for (int i = 0; i < 5; ++i) {
    const double tx = sx + (sw - (5 * 44 - 6)) / 2 + i * 44, ty = sy + sh - 33;
    DrawPhoto(cr, tx, ty, 38, 26, 3, *strip[i], 50 + i);
    if (i == 2) {
      RoundedRect(cr, tx - 1.5, ty - 1.5, 41, 29, 4);
      Stroke(cr, kWhite, 2);
    }
  }
  // Previous / next.
  for (int side : {-1, 1}) {
    const double cx = side < 0 ? sx + 18 : sx + sw - 18, cy = sy + sh / 2 - 14;
    Circle(cr, cx, cy, 11);
    FillColour(cr, kWhite.WithAlpha(0.75));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - side * 1.5, cy - 4.5);
    cairo_line_to(cr, cx + side * 3, cy);
    cairo_line_to(cr, cx - side * 1.5, cy + 4.5);
    Stroke(cr, kInk, 2);
  }

  // Phone.
  const double phx = 628, phy = 146, phw = 96, phh = 186;
  SoftShadow(cr, kW, kH, [&](cairo_t* c) { RoundedRect(c, phx, phy, phw, phh, 16); }, 9, kShadow.WithAlpha(0.25), 0,
             8);
  RoundedRect(cr, phx, phy, phw, phh, 16);
  FillGradient(cr, 0, phy, 0, phy + phh, {{0, Rgb(0x2C3B4E)}, {1, kInk}});
  cairo_save(cr);
  RoundedRect(cr, phx + 6, phy + 6, phw - 12, phh - 12, 11);
  cairo_clip(cr);
  cairo_rectangle(cr, phx + 6, phy + 6, phw - 12, phh - 12);
  FillColour(cr, kWhite);
  DrawPhoto(cr, phx + 6, phy + 24, phw - 12, 96, 0, moods::kSunset, 61);
  cairo_restore(cr);
  Bar(cr, phx + phw / 2 - 12, phy + 12, 24, 5, Rgb(0x2C3B4E));
  DrawHeart(cr, phx + 22, phy + 134, 13, kCoral);
  Bar(cr, phx + 36, phy + 130, 38, 5, Rgb(0xCBD3DC));
  Bar(cr, phx + 16, phy + 148, 58, 5, Rgb(0xDDE3E9));
  Bar(cr, phx + 16, phy + 160, 44, 5, Rgb(0xDDE3E9));

  // Friends the photographs go to, joined to a share badge by dotted arcs.
  const double hubX = 352, hubY = 300;
  const double people[][2] = {{420, 350}, {498, 330}, {570, 360}};
  const Rgb grounds[] = {kAmber, kViolet, kTeal};
  const double dash[] = {1, 6};
  cairo_set_dash(cr, dash, 2, 0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const auto& p : people) {
    cairo_move_to(cr, hubX, hubY);
    cairo_curve_to(cr, hubX + 20, hubY + 50, p[0] - 40, p[1] + 10, p[0], p[1]);
    Stroke(cr, kBlue.WithAlpha(0.5), 2.2);
  }
  cairo_set_dash(cr, nullptr, 0, 0);
  for (int i = 0; i < 3; ++i) {
    Badge(cr, kW, kH, people[i][0], people[i][1], 16, kWhite);
    DrawPerson(cr, people[i][0], people[i][1], 27, grounds[i].WithAlpha(0.9), kWhite);
  }
  Badge(cr, kW, kH, hubX, hubY, 20, kBlue);
  DrawShareGlyph(cr, hubX, hubY, 20, kWhite);
  Badge(cr, kW, kH, 650, 112, 15, kCoral);
  DrawHeart(cr, 650, 113, 14, kWhite);
}

}  // namespace

Image IntroductionSlides() {
  return Strip(kW, kH, 3, [](cairo_t* cr, int i) {
    if (i == 0) Albums(cr);
    if (i == 1) Enhance(cr);
    if (i == 2) Share(cr);
  });
}

}  // namespace artwork
