#include <gtest/gtest.h>

#include "tests/ui/controls/draw_fixture.h"
#include "tests/ui/core/recording_canvas.h"
#include "ui/controls/pango_text.h"
#include "ui/controls/skin_render.h"

namespace SkinUI {
namespace {

class PlainTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseDrawingServices();
    for (CSkinHost* h : {&layered, &plain}) {
      h->SetDefaultFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
      h->AddFont(L"Microsoft YaHei", 22, 0, false, false, false, false);
    }
    layered.SetBackgroundTransparency(1);
  }
  static SkinFontInfo Font(const std::wstring& face, int size) {
    SkinFontInfo f;
    f.face = face;
    f.size = size;
    CPangoText::MeasureFont(f);
    return f;
  }
  // Bounding box of the pixels that differ from `background`.
  static SkinRect Ink(testsupport::DrawSurface& s, std::uint32_t background) {
    SkinRect box{s.width(), s.height(), 0, 0};
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x)
        if (s.At(x, y) != background)
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
    return box;
  }

  CSkinHost layered, plain;
  testsupport::RecordingCanvas rec;
};

TEST_F(PlainTextTest, CalcRectGivesTheSizePlusOneAndDrawsNothing) {
  const SkinFontInfo& f = layered.FontInfo(*layered.Font(-1));
  SkinRect rc{3, 4, 9999, 9999};
  CSkinRender::RenderPlainText(&rec, &layered, rc, L"Vellumo", 0xFF333333, -1, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_TRUE(rec.ops.empty());
  EXPECT_EQ(rc, (SkinRect{3, 4, 3 + CPangoText::RunWidth(f, L"Vellumo") + 1, 4 + f.height + 1}));
  // Wrapped text measures the lines the width allows; no canvas is needed.
  SkinRect two{0, 0, CPangoText::RunWidth(f, L"立即安装"), 9999};
  CSkinRender::RenderPlainText(nullptr, &layered, two, L"立即安装立即安装", 0, -1, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(two.bottom, 2 * f.height + 1);
}

TEST_F(PlainTextTest, FontsStylesAndColoursByHost) {
  SkinRect rc{0, 0, 100, 20};
  struct Case {
    CSkinHost* host;
    int font;
    TextStyle style;
    SkinColor colour;
    TextStyle drawnStyle;
    SkinColor drawnColour;
    int drawnSize;
  };
  const Case cases[] = {
      // Layered: the colour's alpha stays, multi-line text wraps.
      {&layered, -1, DT_SINGLELINE | DT_VCENTER, 0x66000000, DT_SINGLELINE | DT_VCENTER, 0x66000000, 12},
      {&layered, 0, DT_CENTER, 0x66000000, DT_CENTER | DT_WORDBREAK, 0x66000000, 22},
      {&layered, 1, 0, 0xFF333333, DT_WORDBREAK, 0xFF333333, 12},  // outside the list: the default font
      // Not layered: opaque colours, vertically aligned text on one line.
      {&plain, 0, DT_VCENTER, 0x66000000, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, 0xFF000000, 22},
      {&plain, -1, DT_WORDBREAK, 0x00FF0000, DT_WORDBREAK | DT_NOPREFIX, 0xFFFF0000, 12},
  };
  for (const Case& c : cases) {
    rec.ops.clear();
    CSkinRender::RenderPlainText(&rec, c.host, rc, L"text", c.colour, c.font, c.style);
    ASSERT_EQ(rec.ops.size(), 1u);
    EXPECT_EQ(static_cast<TextStyle>(rec.ops[0].style), c.drawnStyle);
    EXPECT_EQ(rec.ops[0].color1, c.drawnColour);
    EXPECT_EQ(rec.ops[0].font->size, c.drawnSize);
  }
  rec.ops.clear();
  CSkinRender::RenderPlainText(&rec, &layered, rc, L"", 0xFF000000, -1, 0);
  CSkinRender::RenderPlainText(&rec, nullptr, rc, L"x", 0xFF000000, -1, 0);
  EXPECT_TRUE(rec.ops.empty());
}

TEST_F(PlainTextTest, TranslucentLabelsOnLayeredHostsAndPlacement) {
  // "所需空间" in #66000000 on a layered host: the glyphs are as translucent as the colour.
  testsupport::DrawSurface s(120, 24, &layered, 0);
  SkinRect rc{0, 0, 120, 24};
  CSkinRender::RenderPlainText(&s.canvas(), &layered, rc, L"所需空间：10MB", 0x66000000, -1, DT_SINGLELINE | DT_VCENTER);
  s.Save("translucent_label");
  std::uint32_t most = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) most = std::max(most, s.At(x, y) >> 24);
  EXPECT_EQ(most, 0x66u);
  testsupport::DrawSurface opaque(120, 24, &plain, 0);
  CSkinRender::RenderPlainText(&opaque.canvas(), &plain, rc, L"所需空间：10MB", 0x66000000, -1, DT_SINGLELINE | DT_VCENTER);
  most = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 120; ++x) most = std::max(most, opaque.At(x, y) >> 24);
  EXPECT_EQ(most, 0xFFu);

  // Centred both ways: the ink sits in the middle of the rectangle.
  testsupport::DrawSurface c(200, 60, &layered, 0);
  SkinRect box{0, 0, 200, 60};
  CSkinRender::RenderPlainText(&c.canvas(), &layered, box, L"立即安装", 0xFFFFFFFF, 0,
                               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const SkinRect ink = Ink(c, 0);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 2);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 3);
  // Clipped to the rectangle unless asked not to be.
  testsupport::DrawSurface clip(200, 60, &layered, 0);
  SkinRect narrow{10, 10, 40, 30};
  CSkinRender::RenderPlainText(&clip.canvas(), &layered, narrow, L"立即安装立即安装", 0xFFFFFFFF, 0, DT_SINGLELINE);
  EXPECT_EQ(Ink(clip, 0).right, 40);
  CSkinRender::RenderPlainText(&clip.canvas(), &layered, narrow, L"立即安装立即安装", 0xFFFFFFFF, 0,
                               DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(Ink(clip, 0).right, 100);
}

TEST_F(PlainTextTest, EllipsisAndWholeLines) {
  const SkinFontInfo f = Font(L"Microsoft YaHei", 12);
  const std::wstring text = L"hello world again";
  const int fits = CPangoText::RunWidth(f, L"hello world ag");
  const SkinRect rc{0, 0, fits, 20};
  for (TextStyle ellipsis : {DT_END_ELLIPSIS, DT_PATH_ELLIPSIS}) {
    PlainTextLayout l = CPangoText::LayoutPlainText(rc, text, f, DT_SINGLELINE | ellipsis);
    EXPECT_TRUE(pango_layout_is_ellipsized(l.layout.get()));
    EXPECT_LE(l.width, fits);
  }
  // Word ellipsis ends after the last whole word that leaves room for the ellipsis.
  PlainTextLayout word = CPangoText::LayoutPlainText(rc, text, f, DT_SINGLELINE | DT_WORD_ELLIPSIS);
  EXPECT_STREQ(pango_layout_get_text(word.layout.get()), "hello world\u2026");
  EXPECT_LE(word.width, fits);
  PlainTextLayout none = CPangoText::LayoutPlainText(rc, text, f, DT_SINGLELINE);
  EXPECT_FALSE(pango_layout_is_ellipsized(none.layout.get()));

  // Line feeds: lines of their own in multi-line text, spaces in single-line text.
  EXPECT_EQ(CPangoText::LayoutPlainText({0, 0, 500, 100}, L"a\r\nb\nc", f, 0).height, 3 * f.height);
  EXPECT_EQ(CPangoText::LayoutPlainText({0, 0, 500, 100}, L"a\r\nb\nc", f, DT_SINGLELINE).height, f.height);
  // Only whole lines with DT_EDITCONTROL: a rectangle that cuts the third line stops after the second.
  const SkinRect cut{0, 0, 500, 2 * f.height + f.height / 2};
  EXPECT_EQ(CPangoText::LayoutPlainText(cut, L"a\nb\nc", f, DT_EDITCONTROL).clipBottom, 2 * f.height);
  EXPECT_EQ(CPangoText::LayoutPlainText(cut, L"a\nb\nc", f, 0).clipBottom, cut.bottom);
}

// The skins' face resolves through the alias rule to the installed Chinese UI face, Latin text
// included (without the rule fontconfig picks DejaVu Sans for it).
TEST_F(PlainTextTest, MicrosoftYaHeiIsWenQuanYiMicroHei) {
  const std::wstring sample = L"Vellumo installer 1.0";
  for (int size : {12, 14, 22}) {
    const int yahei = CPangoText::RunWidth(Font(L"Microsoft YaHei", size), sample);
    EXPECT_EQ(yahei, CPangoText::RunWidth(Font(L"WenQuanYi Micro Hei", size), sample)) << size;
    EXPECT_NE(yahei, CPangoText::RunWidth(Font(L"DejaVu Sans", size), sample)) << size;
  }
}

}  // namespace
}  // namespace SkinUI
