#include "ui/controls/markup_text_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/ui/controls/draw_fixture.h"
#include "tests/ui/core/recording_canvas.h"
#include "ui/controls/pango_text.h"
#include "ui/controls/skin_render.h"

namespace SkinUI {
namespace {

constexpr SkinColor kText = 0xFF333333, kLink = 0xFF0068B5, kHover = 0xFF3560F8;
const std::wstring kLicence = L"我已仔细阅读并同意{a}《许可协议》{/a}";

// The installer window's host: layered, "Microsoft YaHei" 12 by default, its link colours.
class MarkupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseDrawingServices();
    host.SetBackgroundTransparency(1);
    host.SetDefaultFont(L"Microsoft YaHei", 12, 0, false, false, false, false);
    host.AddFont(L"Microsoft YaHei", 22, 0, false, false, false, false);
    host.SetLinkTextColor(kLink);
    host.SetLinkHoverTextColor(kHover);
    font = &host.FontInfo(*host.Font(-1));
  }
  // Lays `text` out into a recording canvas; the runs drawn.
  std::vector<testsupport::CanvasOp> Runs(const std::wstring& text, SkinRect rc, TextStyle style) {
    rec.ops.clear();
    int none = 0;
    CSkinRender::RenderMarkupText(&rec, &host, rc, text, kText, nullptr, nullptr, none, style);
    return rec.Only("run");
  }
  static std::wstring Joined(const std::vector<testsupport::CanvasOp>& runs) {
    std::wstring all;
    for (const auto& r : runs) all += r.file;
    return all;
  }
  int Width(const std::wstring& s) const { return CPangoText::RunWidth(*font, s); }
  int LineHeight() const { return font->height + font->externalLeading; }
  // Pixels of `rc` drawn mostly opaque in `colour` (on a transparent surface: the premultiplied
  // pixel brought back to its colour).
  static int Count(testsupport::DrawSurface& s, const SkinRect& rc, std::uint32_t colour) {
    int n = 0;
    for (int y = std::max(0, rc.top); y < std::min(s.height(), rc.bottom); ++y)
      for (int x = std::max(0, rc.left); x < std::min(s.width(), rc.right); ++x) {
        const std::uint32_t p = s.At(x, y);
        const std::uint32_t a = p >> 24;
        if (a < 160) continue;
        bool same = true;
        for (int shift = 0; shift < 24; shift += 8) {
          const int v = static_cast<int>(((p >> shift) & 0xFF) * 255 / a);
          same = same && std::abs(v - static_cast<int>((colour >> shift) & 0xFF)) <= 3;
        }
        n += same ? 1 : 0;
      }
    return n;
  }

  CSkinHost host;
  const SkinFontInfo* font = nullptr;
  testsupport::RecordingCanvas rec;
};

TEST_F(MarkupTest, LicenceLineHasOneLinkInTheLinkColourAndTheHoverColourUnderTheMouse) {
  testsupport::DrawSurface s(220, 40, &host, 0);
  SkinRect rc{10, 10, 202, 40};
  SkinRect links[8];
  std::wstring texts[8];
  int count = 8;
  const int height = CSkinRender::RenderMarkupText(&s.canvas(), &host, rc, kLicence, kText, links, texts, count,
                                                   DT_WORDBREAK);
  s.Save("licence");
  ASSERT_EQ(count, 1);
  EXPECT_EQ(texts[0], L"");  // the tag has no argument
  const int start = 10 + Width(L"我已仔细阅读并同意");
  EXPECT_EQ(links[0], (SkinRect{start, 10, start + Width(L"《许可协议》"), 10 + LineHeight()}));
  EXPECT_EQ(height, LineHeight());
  const SkinRect before{10, 10, start, 10 + LineHeight()};
  EXPECT_GT(Count(s, before, kText), 10);
  EXPECT_EQ(Count(s, before, kLink), 0);
  EXPECT_GT(Count(s, links[0], kLink), 10);
  EXPECT_EQ(Count(s, links[0], kText), 0);
  // Not underlined: no row of the link is drawn across most of its width.
  for (int y = links[0].top; y < links[0].bottom; ++y)
    EXPECT_LT(s.CountNot({links[0].left, y, links[0].right, y + 1}, 0), links[0].Width() * 8 / 10) << y;

  // The mouse over the link at the last paint: the hover colour.
  host.SetLastMousePoint({links[0].left + 3, links[0].top + 3});
  testsupport::DrawSurface hover(220, 40, &host, 0);
  CSkinRender::RenderMarkupText(&hover.canvas(), &host, rc, kLicence, kText, links, texts, count, DT_WORDBREAK);
  EXPECT_EQ(count, 1);
  EXPECT_GT(Count(hover, links[0], kHover), 10);
  EXPECT_EQ(Count(hover, links[0], kLink), 0);
  // Off it again: back to the link colour.
  host.SetLastMousePoint({1, 1});
  rec.ops.clear();
  count = 8;
  CSkinRender::RenderMarkupText(&rec, &host, rc, kLicence, kText, links, texts, count, DT_WORDBREAK);
  EXPECT_EQ(rec.Only("run").back().color1, kLink);
}

TEST_F(MarkupTest, TagsChangeColourAndFontAndClosingTagsRestoreThem) {
  auto runs = Runs(L"a{c #FF0000}red{/c}b{b}bold{/b}{f 0}big{/f}c", {0, 0, 400, 40}, 0);
  ASSERT_EQ(Joined(runs), L"aredbboldbigc");
  EXPECT_EQ(runs[0].color1, kText);
  EXPECT_EQ(runs[1].color1, 0xFFFF0000u);
  EXPECT_EQ(runs[2].color1, kText);
  EXPECT_EQ(runs[3].font->weight, 700);
  EXPECT_EQ(runs[4].font->size, 22);
  EXPECT_EQ(runs[5].font, font);
  // Runs of different sizes share the line's bottom: the small ones sit lower.
  const SkinFontInfo& big = *runs[4].font;
  EXPECT_EQ(runs[4].rc.top, 0);
  EXPECT_EQ(runs[5].rc.top, big.height + big.externalLeading - LineHeight());
  // The bold variant was added to the host once and is found again.
  const int fonts = host.FontCount();
  Runs(L"{b}x{/b}{b}y{/b}", {0, 0, 400, 40}, 0);
  EXPECT_EQ(host.FontCount(), fonts);

  // Closing tags with nothing open keep the default font and colour; a colour's alpha is dropped.
  runs = Runs(L"{/c}{/b}{/f}x{c #40FF0000}y", {0, 0, 400, 40}, 0);
  ASSERT_EQ(Joined(runs), L"xy");
  EXPECT_EQ(runs[0].color1, kText);
  EXPECT_EQ(runs[0].font, font);
  EXPECT_EQ(runs[1].color1, 0xFFFF0000u);
  // A face with a size and attributes.
  runs = Runs(L"{f Microsoft YaHei 16 bold underline}x{/f}", {0, 0, 400, 40}, 0);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].font->face, L"Microsoft YaHei");
  EXPECT_EQ(runs[0].font->size, 16);
  EXPECT_EQ(runs[0].font->weight, 700);
  EXPECT_TRUE(runs[0].font->underline);
}

TEST_F(MarkupTest, FontVariantsParagraphsSelectionAndThePen) {
  auto runs = Runs(L"{i}a{/i}b{o}c{/o}{u}d{/u}{x 7}e", {0, 0, 400, 40}, 0);
  ASSERT_EQ(Joined(runs), L"abcde");
  EXPECT_TRUE(runs[0].font->italic);
  EXPECT_FALSE(runs[1].font->italic);
  // Leaving italic text leaves room for its lean: half a space.
  EXPECT_EQ(runs[1].rc.left, Width(L"a") + CPangoText::RunWidth(*runs[0].font, L" ") / 2);
  EXPECT_TRUE(runs[2].font->strikeout);
  EXPECT_TRUE(runs[3].font->underline);
  EXPECT_EQ(runs[4].rc.left, runs[3].rc.left + Width(L"d") + 7);

  // A paragraph ends the line and adds its spacing above each of its lines; "y" sets the height.
  runs = Runs(L"a{p 6}b{n}c{/p}d{y 30}e", {0, 0, 400, 200}, 0);
  ASSERT_EQ(Joined(runs), L"abcde");
  EXPECT_EQ(runs[0].rc.top, 0);
  EXPECT_EQ(runs[1].rc.top, LineHeight() + 6);
  EXPECT_EQ(runs[2].rc.top, 2 * (LineHeight() + 6));
  EXPECT_EQ(runs[3].rc.top, 3 * LineHeight() + 12 + 30 - LineHeight());  // no spacing any more; a 30-pixel line
  EXPECT_EQ(runs[4].rc.top, runs[3].rc.top);

  // Selected text is drawn on the host's selection colour.
  host.SetSelectedTextColor(0xFFBAE4FF);
  rec.ops.clear();
  int none = 0;
  SkinRect rc{0, 0, 400, 40};
  CSkinRender::RenderMarkupText(&rec, &host, rc, L"a{s}sel{/s}b", kText, nullptr, nullptr, none, 0);
  const auto fills = rec.Only("fill");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].color1, 0xFFBAE4FFu);
  EXPECT_EQ(fills[0].rc, (SkinRect{Width(L"a"), 0, Width(L"a") + Width(L"sel"), LineHeight()}));
}

TEST_F(MarkupTest, EscapesRawTextAndUnterminatedTags) {
  struct Case {
    std::wstring text, drawn;
  };
  const Case cases[] = {
      {L"<{>x<}>", L"{x}"},
      {L"{<}b{>}", L"<b>"},
      {L"{r}{b}raw{/b}{/r}z", L"{b}raw{/b}z"},
      {L"abc{b def", L"abc{b def"},  // no closer: ordinary text, and the scan stops at the end
      {L"x{", L"x{"},
      {L"{/", L"{/"},
      {L"a<q>b{zz}c", L"ab{zz}c"},  // an unknown letter is skipped, two letters are no tag
  };
  for (const Case& c : cases) EXPECT_EQ(Joined(Runs(c.text, {0, 0, 400, 40}, 0)), c.drawn) << testing::PrintToString(c.text);
}

TEST_F(MarkupTest, MultiLineTextWrapsEightPixelsBeforeTheEdge) {
  const std::wstring word = L"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx";
  const SkinRect rc{0, 0, 100, 200};
  auto runs = Runs(word, rc, 0);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(Joined(runs), word);
  for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
    // A line holds what fits before the margin plus, at the left edge, the character that
    // crosses it.
    const std::wstring& line = runs[i].file;
    EXPECT_LE(Width(line.substr(0, line.size() - 1)), 100 - 8);
    EXPECT_GT(Width(line), 100 - 8);
    EXPECT_LE(Width(line), 100);
    EXPECT_EQ(runs[i + 1].rc.top, runs[i].rc.top + LineHeight());
  }

  // Word breaks: after a space (the next word moves whole), after CJK characters anywhere.
  runs = Runs(L"hello world again and again", {0, 0, Width(L"hello wor") + 8, 200}, DT_WORDBREAK);
  ASSERT_GE(runs.size(), 2u);
  EXPECT_EQ(runs[0].file, L"hello ");
  EXPECT_EQ(runs[1].file.substr(0, 5), L"world");
  runs = Runs(L"hello world", {0, 0, Width(L"hello wor") + 8, 200}, 0);
  EXPECT_EQ(runs[0].file, L"hello worl");  // without word breaks a line takes what fits, and one more
  const std::wstring cjk = L"我已仔细阅读并同意许可协议";
  runs = Runs(cjk, {0, 0, Width(L"我已仔细") + 8 + 2, 200}, DT_WORDBREAK);
  ASSERT_GE(runs.size(), 3u);
  EXPECT_EQ(runs[0].file, L"我已仔细");
  EXPECT_EQ(Joined(runs), cjk);

  // Line feeds and "n" tags break the line; the text stops at the rectangle's bottom.
  runs = Runs(L"a\r\nb{n}c\nd", {0, 0, 100, 3 * LineHeight()}, 0);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[2].file, L"c");
  EXPECT_EQ(runs[2].rc.top, 2 * LineHeight());
}

TEST_F(MarkupTest, SingleLineEndEllipsis) {
  const std::wstring text = L"Single line ellipsis text that is long";
  const int right = Width(L"Single line ellipsis");
  auto runs = Runs(text, {0, 0, right, 30}, DT_SINGLELINE | DT_END_ELLIPSIS);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].file, L"...");
  EXPECT_EQ(text.substr(0, runs[0].file.size()), runs[0].file);
  EXPECT_LE(runs[0].file.size(), std::wstring(L"Single line ellipsis").size() - 1);
  EXPECT_LE(runs[1].rc.left + Width(L"..."), right);  // the dots stay inside
  EXPECT_EQ(runs[1].rc.left, Width(runs[0].file));
  // Without the ellipsis single-line text is cut and never wraps.
  runs = Runs(text, {0, 0, right, 300}, DT_SINGLELINE);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].rc.top, 0);
}

TEST_F(MarkupTest, AWrappedLinkGivesOneRectanglePerLine) {
  SkinRect links[8];
  std::wstring texts[8];
  int count = 8;
  const std::wstring text = L"see {a http://x}the licence agreement{/a} now";
  SkinRect rc{0, 0, Width(L"see the licence ") + 8 + 1, 100};
  CSkinRender::RenderMarkupText(&rec, &host, rc, text, kText, links, texts, count, DT_WORDBREAK);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(texts[0], L"http://x");
  EXPECT_EQ(texts[1], L"http://x");
  EXPECT_EQ(links[0].left, Width(L"see "));
  EXPECT_EQ(links[0].right, rc.right - 8);  // open at the line's end: up to the edge
  EXPECT_EQ(links[0].bottom, LineHeight());
  EXPECT_EQ(links[1], (SkinRect{0, LineHeight(), Width(L"agreement"), 2 * LineHeight()}));
  // More links than room: drawn, not recorded.
  count = 1;
  CSkinRender::RenderMarkupText(&rec, &host, rc, L"{a 1}x{/a}{a 2}y{/a}", kText, links, texts, count, 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(texts[0], L"1");
}

TEST_F(MarkupTest, CalcRectMeasuresWithoutDrawing) {
  SkinRect rc{5, 5, 9999, 9999};
  int none = 0;
  rec.ops.clear();
  const int h = CSkinRender::RenderMarkupText(&rec, &host, rc, kLicence, kText, nullptr, nullptr, none,
                                              DT_SINGLELINE | DT_CALCRECT);
  EXPECT_TRUE(rec.ops.empty());
  EXPECT_EQ(rc, (SkinRect{5, 5, 5 + Width(L"我已仔细阅读并同意《许可协议》"), 5 + LineHeight()}));
  EXPECT_EQ(h, LineHeight());
  // No canvas is needed to measure; two lines measure two line heights.
  SkinRect two{0, 0, 9999, 9999};
  CSkinRender::RenderMarkupText(nullptr, &host, two, L"a{n}bb", kText, nullptr, nullptr, none, DT_CALCRECT);
  EXPECT_EQ(two, (SkinRect{0, 0, Width(L"bb"), 2 * LineHeight()}));

  // Centred single-line text is measured first and drawn in the middle.
  auto runs = Runs(L"mid", {0, 0, 100, 40}, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].rc.left, (100 - Width(L"mid")) / 2);
  EXPECT_EQ(runs[0].rc.top, (40 - LineHeight()) / 2);
}

TEST_F(MarkupTest, InlineImagesSitInTheLine) {
  testsupport::SkinFiles files;
  files.Add(L"img/icons.png", testsupport::MakePng(30, 40, [](int x, int) { return 0xFF000000u | x; }));
  rec.ops.clear();
  int none = 0;
  SkinRect rc{0, 0, 200, 100};
  const int h = CSkinRender::RenderMarkupText(&rec, &host, rc, L"a{i img\\icons.png 3 2}b{i missing.png}", kText,
                                              nullptr, nullptr, none, 0);
  const auto bitmaps = rec.Only("bitmap");
  ASSERT_EQ(bitmaps.size(), 1u);
  EXPECT_EQ(bitmaps[0].src, (SkinRect{20, 0, 30, 40}));  // frame 2 of 3
  EXPECT_EQ(bitmaps[0].rc, (SkinRect{Width(L"a"), 0, Width(L"a") + 10, 40}));
  EXPECT_EQ(h, 40);  // the line grew to the image
  const auto runs = rec.Only("run");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].rc.left, Width(L"a") + 10);
  EXPECT_EQ(runs[1].rc.top, 40 - LineHeight());  // text on the line's bottom
}

}  // namespace
}  // namespace SkinUI
