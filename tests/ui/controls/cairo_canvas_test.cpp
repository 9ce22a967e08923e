#include "ui/controls/cairo_canvas.h"

#include <gtest/gtest.h>

#include "tests/ui/controls/draw_fixture.h"

namespace SkinUI {
namespace {

constexpr std::uint32_t kInk = 0xFF102030;

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::UseDrawingServices(); }
  // The columns (or rows) of row (column) `at` that were drawn.
  static std::vector<int> Drawn(testsupport::DrawSurface& s, int at, bool row) {
    std::vector<int> out;
    const int n = row ? s.width() : s.height();
    for (int i = 0; i < n; ++i)
      if ((row ? s.At(i, at) : s.At(at, i)) != 0) out.push_back(i);
    return out;
  }
  CSkinHost host;
};

TEST_F(CanvasTest, FillsAndGradients) {
  testsupport::DrawSurface s(16, 16, &host, 0);
  s.canvas().FillColor({0, 0, 16, 16}, 0x00FF0000);  // alpha 0: nothing
  EXPECT_EQ(s.CountNot({0, 0, 16, 16}, 0), 0);
  s.canvas().FillColor({2, 2, 4, 4}, 0x80FF0000);
  EXPECT_EQ(s.At(2, 2), 0x80800000u);
  EXPECT_EQ(s.At(4, 4), 0u);

  // The gradient runs between the opaque colours and is blended at the average alpha.
  testsupport::DrawSurface g(4, 64, &host, 0);
  g.canvas().FillGradient({0, 0, 4, 64}, 0xFF000000, 0x01FFFFFF, true);  // (255 + 1) / 2 = 128
  EXPECT_EQ(g.At(1, 0) >> 24, 128u);
  EXPECT_EQ(g.At(1, 63) >> 24, 128u);
  EXPECT_LT(g.At(1, 0) & 0xFF, 8u);
  EXPECT_GT(g.At(1, 63) & 0xFF, 120u);
  EXPECT_EQ(g.At(0, 10), g.At(3, 10));  // vertical: rows are uniform
  testsupport::DrawSurface h(64, 2, &host, 0);
  h.canvas().FillGradient({0, 0, 64, 2}, 0xFF0000FF, 0xFFFF0000, false);
  EXPECT_GT(h.At(0, 0) & 0xFF, 240u);
  EXPECT_GT((h.At(63, 0) >> 16) & 0xFF, 240u);
  testsupport::DrawSurface none(4, 4, &host, 0);
  none.canvas().FillGradient({0, 0, 4, 4}, 0x01FFFFFF, 0x00FFFFFF, true);  // average 0: nothing
  EXPECT_EQ(none.CountNot({0, 0, 4, 4}, 0), 0);
}

TEST_F(CanvasTest, LinesCoverWholePixels) {
  struct Case {
    int width;
    std::vector<int> columns;
  };
  const Case cases[] = {{1, {5}}, {2, {4, 5}}, {3, {4, 5, 6}}, {4, {3, 4, 5, 6}}};
  for (const Case& c : cases) {
    testsupport::DrawSurface v(12, 12, &host, 0);
    v.canvas().StrokeLine({5, 2, 5, 9}, c.width, kInk, 512);
    EXPECT_EQ(Drawn(v, 5, true), c.columns) << c.width;
    EXPECT_EQ(Drawn(v, 5, false), (std::vector<int>{2, 3, 4, 5, 6, 7, 8})) << c.width;  // flat ends
    testsupport::DrawSurface h(12, 12, &host, 0);
    h.canvas().StrokeLine({2, 5, 9, 5}, c.width, kInk, 512);
    EXPECT_EQ(Drawn(h, 5, false), c.columns) << c.width;
  }
  // Square caps reach half the width beyond the ends, unless flat caps are asked for too.
  testsupport::DrawSurface square(12, 12, &host, 0);
  square.canvas().StrokeLine({2, 5, 9, 5}, 2, kInk, 0x100);
  EXPECT_EQ(Drawn(square, 5, true), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  testsupport::DrawSurface flat(12, 12, &host, 0);
  flat.canvas().StrokeLine({2, 5, 9, 5}, 2, kInk, 0x300);
  EXPECT_EQ(Drawn(flat, 5, true), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  // Dashes: 3 on, 1 off, in units of the width.
  testsupport::DrawSurface dash(16, 4, &host, 0);
  dash.canvas().StrokeLine({0, 1, 16, 1}, 1, kInk, 1);
  EXPECT_EQ(Drawn(dash, 1, true), (std::vector<int>{0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14}));
}

TEST_F(CanvasTest, RectangleOutlinesLieInside) {
  testsupport::DrawSurface one(12, 12, &host, 0);
  one.canvas().StrokeRect({2, 2, 8, 8}, 1, kInk);
  EXPECT_EQ(Drawn(one, 2, true), (std::vector<int>{2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(Drawn(one, 4, true), (std::vector<int>{2, 7}));
  EXPECT_EQ(one.At(8, 8), 0u);
  testsupport::DrawSurface three(16, 16, &host, 0);
  three.canvas().StrokeRect({2, 2, 12, 12}, 3, 0x80FF0000);
  EXPECT_EQ(Drawn(three, 6, true), (std::vector<int>{2, 3, 4, 9, 10, 11}));
  EXPECT_EQ(three.At(3, 3), 0x80800000u);  // corners are covered once, not blended twice

  // Rounded: the corner pixel stays clear, the middle of each side is drawn.
  testsupport::DrawSurface round(40, 30, &host, 0);
  round.canvas().StrokeRoundRect({0, 0, 40, 30}, 2, 8, 8, kInk);
  EXPECT_EQ(round.At(0, 0), 0u);
  EXPECT_EQ(round.At(20, 0), kInk);
  EXPECT_EQ(round.At(0, 15), kInk);
  EXPECT_EQ(round.At(39, 15), kInk);
  EXPECT_EQ(round.At(20, 15), 0u);
}

TEST_F(CanvasTest, ClipsAreAStack) {
  testsupport::DrawSurface s(12, 12, &host, 0);
  CCairoCanvas& c = s.canvas();
  EXPECT_EQ(c.ClipBox(), (SkinRect{0, 0, 12, 12}));
  c.PushClipRect({0, 0, 6, 6});
  c.PushClipRect({3, 3, 10, 10});
  EXPECT_EQ(c.ClipBox(), (SkinRect{3, 3, 6, 6}));
  c.FillColor({0, 0, 12, 12}, kInk);
  c.PopClip();
  c.FillColor({0, 0, 12, 12}, 0xFF0000FF);
  c.PopClip();
  c.PopClip();  // one pop too many changes nothing
  EXPECT_EQ(s.At(4, 4), 0xFF0000FFu);
  EXPECT_EQ(s.At(1, 1), 0xFF0000FFu);
  EXPECT_EQ(s.At(7, 7), 0u);
  EXPECT_EQ(c.ClipBox(), (SkinRect{0, 0, 12, 12}));

  testsupport::DrawSurface r(20, 20, &host, 0);
  {
    CRenderClip clip(r.canvas(), {0, 0, 20, 20}, {0, 0, 20, 20}, 6, 6);
    r.canvas().FillColor({0, 0, 20, 20}, kInk);
  }
  r.canvas().FillColor({0, 0, 1, 1}, 0xFF0000FF);  // the clip is gone again
  EXPECT_EQ(r.At(0, 0), 0xFF0000FFu);
  EXPECT_EQ(r.At(19, 19), 0u);  // rounded away
  EXPECT_EQ(r.At(10, 10), kInk);
  EXPECT_EQ(r.At(10, 0), kInk);
}

TEST_F(CanvasTest, TheWindowLayerGetsCanvasesFromTheFactory) {
  std::vector<std::uint32_t> pixels(40 * 10, 0);
  auto canvas = CreateRenderCanvas(&host, pixels.data(), 30, 10, 40 * 4);  // rows wider than the image
  ASSERT_NE(canvas, nullptr);
  canvas->FillColor({0, 0, 30, 10}, kInk);
  canvas.reset();
  EXPECT_EQ(pixels[9 * 40 + 29], kInk);
  EXPECT_EQ(pixels[9 * 40 + 30], 0u);
  EXPECT_EQ(CreateRenderCanvas(&host, pixels.data(), 30, 10, 30 * 4 - 4), nullptr);  // stride too small
  EXPECT_EQ(CreateRenderCanvas(&host, pixels.data(), 30, 10, 30 * 4 + 2), nullptr);  // not whole pixels
  EXPECT_EQ(CreateRenderCanvas(&host, pixels.data(), 40000, 1, 40000 * 4), nullptr);  // beyond Cairo's limit
}

}  // namespace
}  // namespace SkinUI
