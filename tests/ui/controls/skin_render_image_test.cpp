#include <gtest/gtest.h>

#include "tests/ui/controls/draw_fixture.h"
#include "ui/controls/skin_render.h"

namespace SkinUI {
namespace {

using testsupport::MakePng;

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBack = 0xFF202020;  // what the surfaces start with

class ImageDrawTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::UseDrawingServices(); }
  // Paints `description` for a control at `control`, dirty area `dirty` (the control when empty).
  bool Paint(testsupport::DrawSurface& s, const std::wstring& description, const SkinRect& control,
             SkinRect dirty = {}) {
    SkinImageSpec spec;
    spec.Parse(description);
    return CSkinRender::PaintImage(s.canvas(), &host, control, dirty.IsEmpty() ? control : dirty, spec);
  }
  static std::uint32_t Coded(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x) << 8 | y; }

  testsupport::SkinFiles files;
  CSkinHost host;
};

TEST_F(ImageDrawTest, BareFileNameIsStretchedOverTheWholeControl) {
  files.Add(L"img/inst/edit_install_path.png", MakePng(2, 2, [](int x, int y) {
              return y == 0 ? (x == 0 ? kRed : kGreen) : (x == 0 ? kBlue : kWhite);
            }));
  testsupport::DrawSurface s(24, 24, &host, kBack);
  ASSERT_TRUE(Paint(s, L"img\\inst\\edit_install_path.png", {4, 4, 20, 20}));
  s.Save("stretched");
  EXPECT_EQ(s.At(4, 4), kRed);
  EXPECT_EQ(s.At(19, 4), kGreen);
  EXPECT_EQ(s.At(4, 19), kBlue);
  EXPECT_EQ(s.At(19, 19), kWhite);
  EXPECT_NE(s.At(11, 11), kRed);  // the middle blends the four
  EXPECT_EQ(s.CountNot({0, 0, 24, 4}, kBack) + s.CountNot({0, 20, 24, 24}, kBack) + s.CountNot({0, 4, 4, 20}, kBack) +
                s.CountNot({20, 4, 24, 20}, kBack),
            0);
}

TEST_F(ImageDrawTest, NineSliceKeepsCornersAtNaturalSizeAndStretchesEdgesAndCentre) {
  // 152 x 152 with corners 15,54,15,15: every corner pixel codes its position, the edges vary
  // only across their stretch direction, the centre is white.
  files.Add(L"img/msgbox/bg.png", MakePng(152, 152, [](int x, int y) -> std::uint32_t {
              const bool left = x < 15, right = x >= 137, top = y < 54, bottom = y >= 137;
              if ((left || right) && (top || bottom)) return Coded(x, y);
              if (top) return 0xFF400000u | y;
              if (bottom) return 0xFF410000u | (y - 137);
              if (left) return 0xFF500000u | x << 8;
              if (right) return 0xFF510000u | (x - 137) << 8;
              return kWhite;
            }));
  testsupport::DrawSurface s(333, 203, &host, 0);
  ASSERT_TRUE(Paint(s, L"file='img\\msgbox\\bg.png' corner='15,54,15,15'", {0, 0, 333, 203}));
  s.Save("nine_slice");
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 15; ++x) {
      ASSERT_EQ(s.At(x, y), Coded(x, y));                     // top-left
      ASSERT_EQ(s.At(318 + x, y), Coded(137 + x, y));         // top-right
    }
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) {
      ASSERT_EQ(s.At(x, 188 + y), Coded(x, 137 + y));         // bottom-left
      ASSERT_EQ(s.At(318 + x, 188 + y), Coded(137 + x, 137 + y));  // bottom-right
    }
  EXPECT_EQ(s.At(100, 20), 0xFF400000u | 20);
  EXPECT_EQ(s.At(300, 53), 0xFF400000u | 53);
  EXPECT_EQ(s.At(200, 195), 0xFF410000u | 7);
  EXPECT_EQ(s.At(7, 120), 0xFF500000u | 7 << 8);
  EXPECT_EQ(s.At(325, 60), 0xFF510000u | 7 << 8);
  EXPECT_EQ(s.At(166, 120), kWhite);
}

TEST_F(ImageDrawTest, DestinationOfTheImageSizeIsDrawnOneToOneFromTheControlsCorner) {
  files.Add(L"img/msgbox/icon_warning.png", MakePng(16, 16, Coded));
  testsupport::DrawSurface s(100, 80, &host, kBack);
  ASSERT_TRUE(Paint(s, L"file='img\\msgbox\\icon_warning.png' dest='16,14,32,30'", {10, 20, 90, 70}));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(s.At(26 + x, 34 + y), Coded(x, y)) << x << "," << y;
  EXPECT_EQ(s.CountNot({0, 0, 100, 80}, kBack), 256);
}

TEST_F(ImageDrawTest, FadeMaskAndStates) {
  files.Add(L"red.png", MakePng(4, 4, [](int, int) { return kRed; }));
  struct Case {
    const wchar_t* description;
    std::uint32_t pixel;
  };
  const Case fades[] = {
      {L"file='red.png' fade='128'", 0x80800000},  // even an opaque image is blended at 128
      {L"file='red.png' fade='300'", 0x2C2C0000},  // 300 modulo 256 = 44
      {L"file='red.png' fade='0'", 0x00000000},
      {L"file='red.png'", kRed},
  };
  for (const Case& c : fades) {
    testsupport::DrawSurface s(4, 4, &host, 0);
    ASSERT_TRUE(Paint(s, c.description, {0, 0, 4, 4}));
    EXPECT_EQ(s.At(1, 1), c.pixel) << testing::PrintToString(std::wstring(c.description));
  }

  // Opaque magenta goes, half-transparent magenta stays (compared after premultiplication).
  files.Add(L"m.png", MakePng(2, 1, [](int x, int) { return x == 0 ? 0xFFFF00FFu : 0x80FF00FFu; }));
  testsupport::DrawSurface masked(2, 1, &host, 0);
  ASSERT_TRUE(Paint(masked, L"file='m.png' mask='#FF00FF'", {0, 0, 2, 1}));
  EXPECT_EQ(masked.At(0, 0), 0u);
  EXPECT_EQ(masked.At(1, 0), 0x80800080u);

  // "normal hot,pushed" on a 64-pixel strip: normal and hot share the first 32 pixels.
  files.Add(L"btn.png", MakePng(64, 8, [](int x, int) { return x < 32 ? kGreen : kBlue; }));
  SkinStatusImageMap states;
  ASSERT_TRUE(ParseStatusImage(L"file='btn.png' source='0,0,64,8' status='normal hot,pushed'", states));
  const std::pair<const wchar_t*, std::uint32_t> expected[] = {{L"normal", kGreen}, {L"hot", kGreen}, {L"pushed", kBlue}};
  for (const auto& [state, colour] : expected) {
    testsupport::DrawSurface s(32, 8, &host, 0);
    ASSERT_TRUE(CSkinRender::PaintImage(s.canvas(), &host, {0, 0, 32, 8}, {0, 0, 32, 8}, states[state]));
    EXPECT_EQ(s.CountNot({0, 0, 32, 8}, colour), 0) << testing::PrintToString(std::wstring(state));
  }

  // A comma after the file value ends the description: the source after it is not applied and
  // the whole image is drawn.
  files.Add(L"quad.png", MakePng(4, 4, [](int x, int y) { return x < 2 && y < 2 ? kRed : kWhite; }));
  testsupport::DrawSurface comma(4, 4, &host, 0);
  ASSERT_TRUE(Paint(comma, L"file='quad.png',source='0,0,2,2'", {0, 0, 4, 4}));
  EXPECT_EQ(comma.At(0, 0), kRed);
  EXPECT_EQ(comma.At(3, 3), kWhite);
}

TEST_F(ImageDrawTest, TiledCentres) {
  files.Add(L"tile.png", MakePng(3, 2, Coded));
  testsupport::DrawSurface both(8, 5, &host, kBack);
  ASSERT_TRUE(Paint(both, L"file='tile.png' xtiled='true' ytiled='true'", {0, 0, 8, 5}));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(both.At(x, y), Coded(x % 3, y % 2)) << x << "," << y;

  // One axis tiled, the other scaled: columns of a tile whose colour varies with x only.
  files.Add(L"cols.png", MakePng(3, 2, [](int x, int) { return Coded(x, 0); }));
  testsupport::DrawSurface xOnly(8, 6, &host, kBack);
  ASSERT_TRUE(Paint(xOnly, L"file='cols.png' xtiled='true'", {0, 0, 8, 6}));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(xOnly.At(x, 4), Coded(x % 3, 0)) << x;
  files.Add(L"rows.png", MakePng(2, 3, [](int, int y) { return Coded(0, y); }));
  testsupport::DrawSurface yOnly(6, 8, &host, kBack);
  ASSERT_TRUE(Paint(yOnly, L"file='rows.png' ytiled='true'", {0, 0, 6, 8}));
  for (int y = 0; y < 8; ++y) EXPECT_EQ(yOnly.At(4, y), Coded(0, y % 3)) << y;

  // Borders that leave the source's centre no width: no centre (and no division by zero), the
  // borders are still drawn.
  testsupport::DrawSurface none(10, 4, &host, kBack);
  ASSERT_TRUE(Paint(none, L"file='tile.png' corner='2,0,1,0' xtiled='true'", {0, 0, 10, 4}));
  EXPECT_EQ(none.CountNot({2, 0, 9, 4}, kBack), 0);
  EXPECT_NE(none.At(0, 0), kBack);
  EXPECT_NE(none.At(9, 0), kBack);
}

// Natural-size drawing with a dirty area that starts inside the destination takes the source from
// that offset, and no more of it than there is.
TEST_F(ImageDrawTest, NaturalSizeNeverReadsPastTheSource) {
  files.Add(L"n.png", MakePng(4, 4, Coded));
  struct Case {
    SkinRect dirty;
    SkinRect drawn;  // where pixels of the image must appear
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {0, 0, 4, 4}},
      {{2, 0, 10, 10}, {2, 0, 4, 4}},
      {{0, 3, 10, 10}, {0, 3, 4, 4}},
      {{5, 5, 10, 10}, {}},  // beyond the image: nothing
  };
  for (const Case& c : cases) {
    testsupport::DrawSurface s(10, 10, &host, kBack);
    ASSERT_TRUE(Paint(s, L"file='n.png' stretch='false'", {0, 0, 10, 10}, c.dirty));
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inside = c.drawn.Contains({x, y});
        ASSERT_EQ(s.At(x, y), inside ? Coded(x, y) : kBack) << x << "," << y << " dirty from " << c.dirty.left;
      }
  }
}

TEST_F(ImageDrawTest, SourcesAreCutToTheImageAndPiecesWithoutAreaAreSkipped) {
  files.Add(L"c.png", MakePng(4, 4, Coded));
  testsupport::DrawSurface s(8, 8, &host, kBack);
  // A source starting left of and above the image is cut to it, like one reaching beyond it.
  ASSERT_TRUE(Paint(s, L"file='c.png' source='-4,-4,40,40'", {0, 0, 8, 8}));
  EXPECT_EQ(s.At(0, 0), Coded(0, 0));
  EXPECT_EQ(s.At(7, 7), Coded(3, 3));

  // A destination smaller than its borders: the corners at natural size, nothing outside the
  // destination, no piece of negative size.
  files.Add(L"big.png", MakePng(20, 20, Coded));
  testsupport::DrawSurface small(20, 20, &host, kBack);
  ASSERT_TRUE(Paint(small, L"file='big.png' corner='8,8,8,8'", {5, 5, 15, 15}));
  small.Save("small_nine_slice");
  EXPECT_EQ(small.At(5, 5), Coded(0, 0));
  EXPECT_EQ(small.At(14, 14), Coded(19, 19));
  EXPECT_EQ(small.CountNot({0, 0, 20, 5}, kBack) + small.CountNot({0, 15, 20, 20}, kBack) +
                small.CountNot({0, 5, 5, 15}, kBack) + small.CountNot({15, 5, 20, 15}, kBack),
            0);
}

TEST_F(ImageDrawTest, FramesOfAStripWiderThanASurface) {
  // 48 frames of 767 pixels, each of its own colour.
  constexpr int kFrame = 767, kFrames = 48;
  const auto colour = [](int frame) { return 0xFF000000u | static_cast<std::uint32_t>(frame * 5) << 16 | (255 - frame); };
  files.Add(L"img/inst/seq_inst.png", MakePng(kFrame * kFrames, 12, [&](int x, int) { return colour(x / kFrame); }));
  const SkinBitmapInfo* strip = host.FindImage(L"img\\inst\\seq_inst.png");
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->width, 36816);

  testsupport::DrawSurface last(kFrame, 12, &host, kBack);
  ASSERT_TRUE(Paint(last, L"file='img\\inst\\seq_inst.png' source='36049,0,36816,12'", {0, 0, kFrame, 12}));
  EXPECT_EQ(last.CountNot({0, 0, kFrame, 12}, colour(47)), 0);

  // Scaled, a frame keeps to itself: no pixel of its neighbours bleeds into its edges.
  testsupport::DrawSurface scaled(383, 6, &host, kBack);
  ASSERT_TRUE(Paint(scaled, L"file='img\\inst\\seq_inst.png' source='35282,0,36049,12'", {0, 0, 383, 6}));
  EXPECT_EQ(scaled.CountNot({0, 0, 383, 6}, colour(46)), 0);
  testsupport::DrawSurface up(1000, 20, &host, kBack);
  ASSERT_TRUE(Paint(up, L"file='img\\inst\\seq_inst.png' source='767,0,1534,12'", {0, 0, 1000, 20}));
  EXPECT_EQ(up.CountNot({0, 0, 1000, 20}, colour(1)), 0);

  // The whole strip squeezed into one frame's width is drawn in parts, without gaps.
  testsupport::DrawSurface whole(kFrame, 12, &host, 0);
  ASSERT_TRUE(Paint(whole, L"img\\inst\\seq_inst.png", {0, 0, kFrame, 12}));
  EXPECT_EQ(whole.At(0, 5), colour(0));
  EXPECT_EQ(whole.At(kFrame - 1, 5), colour(47));
  for (int x = 0; x < kFrame; ++x) ASSERT_EQ(whole.At(x, 5) >> 24, 0xFFu) << x;
}

TEST_F(ImageDrawTest, WhatPaintImageReports) {
  files.Add(L"a.png", MakePng(2, 2, [](int, int) { return kRed; }));
  testsupport::DrawSurface s(10, 10, &host, kBack);
  EXPECT_FALSE(Paint(s, L"", {0, 0, 10, 10}));
  EXPECT_FALSE(Paint(s, L"missing.png", {0, 0, 10, 10}));
  EXPECT_FALSE(Paint(s, L"source='0,0,1,1'", {0, 0, 10, 10}));  // no file key: the whole text is the name
  // Outside the dirty area or the control: nothing drawn, still a success.
  EXPECT_TRUE(Paint(s, L"a.png", {0, 0, 5, 5}, {6, 6, 10, 10}));
  EXPECT_TRUE(Paint(s, L"file='a.png' dest='20,20,22,22'", {0, 0, 5, 5}));
  EXPECT_EQ(s.CountNot({0, 0, 10, 10}, kBack), 0);
  // The offset moves the destination's edges; the result stays inside the control.
  EXPECT_TRUE(Paint(s, L"file='a.png' offset='2,2,-2,4'", {0, 0, 10, 10}));
  EXPECT_EQ(s.CountNot({2, 2, 8, 10}, kRed), 0);
  EXPECT_EQ(s.CountNot({8, 0, 10, 10}, kBack) + s.CountNot({0, 0, 10, 2}, kBack), 0);
}

}  // namespace
}  // namespace SkinUI
