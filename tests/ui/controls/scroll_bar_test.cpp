#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/scroll_bar_ui.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/vertical_layout_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

// A bar on its own (no owner container), 200 pixels long.
std::wstring BarSkin(const std::wstring& attributes) {
  return L"<Window><HorizontalLayout><VerticalLayout width=\"200\" height=\"200\">"
         L"<ScrollBar name=\"bar\" " + attributes + L" />"
         L"</VerticalLayout></HorizontalLayout></Window>";
}

// Ticks of the repeat timer.
void Tick(SkinTree& t, int ticks) {
  for (int i = 0; i < ticks; ++i) {
    t.ws.AdvanceClock(CScrollBarUI::kRepeatMilliseconds);
    t.Pump();
  }
}

void Press(SkinTree& t, SkinPoint pt) {
  t.ws.MouseMove(t.handle, pt.x, pt.y);
  t.ws.MouseDown(t.handle, pt.x, pt.y);
  t.Pump();
}

void Release(SkinTree& t, SkinPoint pt) {
  t.ws.MouseMove(t.handle, pt.x, pt.y);
  t.ws.MouseUp(t.handle, pt.x, pt.y);
  t.Pump();
}

}  // namespace

TEST(ScrollBar, GeometryOfButtonsAndThumb) {
  struct Case {
    const wchar_t* attributes;
    SkinRect button1, button2, thumb;
  } cases[] = {
      // Range 0: the thumb fills the track between the buttons.
      {L"range=\"0\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 16, 16, 184}},
      // Track 168, thumb 168 * 200 / 300 = 112, placed at 16 + 56 * value / range.
      {L"range=\"100\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 16, 16, 128}},
      {L"range=\"100\" value=\"50\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 44, 16, 156}},
      {L"range=\"100\" value=\"100\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 72, 16, 184}},
      {L"range=\"100\" value=\"500\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 72, 16, 184}},
      // A huge range keeps a thumb as long as the bar is thick.
      {L"range=\"100000\" value=\"100000\"", {0, 0, 16, 16}, {0, 184, 16, 200}, {0, 168, 16, 184}},
      // Hidden buttons give their room to the track.
      {L"range=\"0\" showbutton1=\"false\" showbutton2=\"false\"", {0, 0, 16, 0}, {0, 200, 16, 200}, {0, 0, 16, 200}},
      // Horizontal: the same along x, 16 high.
      {L"hor=\"true\" range=\"100\" value=\"50\"", {0, 0, 16, 16}, {184, 0, 200, 16}, {44, 0, 156, 16}},
  };
  for (const Case& c : cases) {
    SkinTree t(BarSkin(c.attributes));
    auto* bar = t.Find<CScrollBarUI>(L"bar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Button1Rect(), c.button1) << c.attributes;
    EXPECT_EQ(bar->Button2Rect(), c.button2) << c.attributes;
    EXPECT_EQ(bar->ThumbRect(), c.thumb) << c.attributes;
  }
  // Too short for a track: each button takes half, no thumb.
  SkinTree t(L"<Window><HorizontalLayout><VerticalLayout width=\"200\" height=\"20\">"
             L"<ScrollBar name=\"bar\" /></VerticalLayout></HorizontalLayout></Window>");
  auto* bar = t.Find<CScrollBarUI>(L"bar");
  EXPECT_EQ(bar->Button1Rect(), (SkinRect{0, 0, 16, 10}));
  EXPECT_EQ(bar->Button2Rect(), (SkinRect{0, 10, 16, 20}));
  EXPECT_TRUE(bar->ThumbRect().IsEmpty());
  EXPECT_STREQ(bar->ClassName(), L"ScrollBarUI");
  EXPECT_EQ(bar->AsInterface(L"ScrollBar"), bar);
}

TEST(ScrollBar, ButtonsStepALineAndRepeatAfterFiveTicks) {
  SkinTree t(BarSkin(L"range=\"100\" linesize=\"8\""));
  auto* bar = t.Find<CScrollBarUI>(L"bar");
  Press(t, {8, 190});
  EXPECT_EQ(bar->ScrollPos(), 8);
  EXPECT_NE(bar->PartState(CScrollBarUI::kButton2) & 0x10, 0u) << "pushed";
  Tick(t, 5);
  EXPECT_EQ(bar->ScrollPos(), 8) << "no repeat during the first five ticks";
  Tick(t, 2);
  EXPECT_EQ(bar->ScrollPos(), 24);
  Release(t, {8, 190});
  Tick(t, 5);
  EXPECT_EQ(bar->ScrollPos(), 24) << "the release stops the repeat timer";
  EXPECT_EQ(bar->PartState(CScrollBarUI::kButton2) & 0x10, 0u);

  Press(t, {8, 4});
  EXPECT_EQ(bar->ScrollPos(), 16);
  Release(t, {8, 4});
  std::vector<std::intptr_t> values;
  for (const auto& r : t.log.seen)
    if (r.type == L"scroll") values.push_back(r.wParam);
  EXPECT_EQ(values, (std::vector<std::intptr_t>{8, 16, 24, 16})) << "a bar without owner reports its changes";
}

TEST(ScrollBar, RailPagesTowardsThePointerAndStopsAtIt) {
  SkinTree t(BarSkin(L"range=\"1000\""));
  auto* bar = t.Find<CScrollBarUI>(L"bar");
  // Thumb: 168 * 200 / 1200 = 28 pixels at the top of the track.
  ASSERT_EQ(bar->ThumbRect(), (SkinRect{0, 16, 16, 44}));
  Press(t, {8, 100});
  EXPECT_EQ(bar->ScrollPos(), 200) << "a page is the bar's length";
  Tick(t, 6);
  EXPECT_EQ(bar->ScrollPos(), 400);
  Tick(t, 10);
  // The thumb has passed the pointer: paging stops there.
  EXPECT_LE(bar->ThumbRect().top, 100 + 28);
  EXPECT_GT(bar->ThumbRect().bottom, 100);
  const int stopped = bar->ScrollPos();
  Tick(t, 5);
  EXPECT_EQ(bar->ScrollPos(), stopped);
  Release(t, {8, 100});
}

TEST(ScrollBar, DraggingTheThumbFollowsThePointerOnTheNextTick) {
  {
  SkinTree t(BarSkin(L"range=\"100\""));
  auto* bar = t.Find<CScrollBarUI>(L"bar");
  Press(t, {8, 50});  // on the thumb (16..128)
  EXPECT_NE(bar->PartState(CScrollBarUI::kThumb) & 0x40, 0u) << "captured";
  t.MoveTo({8, 78});  // 28 of the 56 pixels the thumb can travel
  EXPECT_EQ(bar->ScrollPos(), 0) << "applied by the repeat timer";
  Tick(t, 1);
  EXPECT_EQ(bar->ScrollPos(), 50);
  t.MoveTo({8, 400});  // far below: clamped to the range
  Tick(t, 1);
  EXPECT_EQ(bar->ScrollPos(), 100);
  t.MoveTo({8, -300});
  Tick(t, 1);
  EXPECT_EQ(bar->ScrollPos(), 0);
  Release(t, {8, -300});
  EXPECT_EQ(bar->PartState(CScrollBarUI::kThumb) & 0x50, 0u);
  }

  // With range 0 the thumb fills the track: dragging it changes nothing.
  SkinTree full(BarSkin(L"range=\"0\""));
  auto* fullBar = full.Find<CScrollBarUI>(L"bar");
  Press(full, {8, 100});
  full.MoveTo({8, 150});
  Tick(full, 2);
  EXPECT_EQ(fullBar->ScrollPos(), 0);
  Release(full, {8, 150});
}

TEST(ScrollBar, StatusImagesAndDisablingClearTheStates) {
  SkinTree t(BarSkin(L"range=\"100\" thumbstatusimage=\"file='btn.png' source='0,0,400,30' status='normal,hot,pushed,disabled'\" "
                     L"button1normalimage=\"fore.png\" bkhotimage=\"hotfore.png\""));
  auto* bar = t.Find<CScrollBarUI>(L"bar");
  EXPECT_EQ(bar->Image(CScrollBarUI::kThumb, CScrollBarUI::kImagePushed).source, (SkinRect{200, 0, 300, 30}));
  EXPECT_EQ(bar->Image(CScrollBarUI::kButton1, CScrollBarUI::kImageNormal).file, L"fore.png");
  EXPECT_EQ(bar->Image(CScrollBarUI::kBk, CScrollBarUI::kImageHot).file, L"hotfore.png");

  t.MoveTo({8, 50});
  EXPECT_NE(bar->PartState(CScrollBarUI::kThumb) & 0x08, 0u) << "hot under the pointer";
  // Painting order: background, button 1, (button 2 has no image), thumb, rail (none).
  auto canvas = t.Paint();
  std::vector<std::wstring> files;
  std::vector<SkinRect> dests;
  for (const auto& spec : canvas.specs) {
    files.push_back(spec.file);
    dests.push_back(spec.dest);
  }
  ASSERT_EQ(files, (std::vector<std::wstring>{L"hotfore.png", L"fore.png", L"btn.png"}));
  EXPECT_EQ(dests[1], (SkinRect{0, 0, 16, 16}));
  EXPECT_EQ(canvas.specs[2].source, (SkinRect{100, 0, 200, 30})) << "the hot frame";
  EXPECT_EQ(dests[2], (SkinRect{0, 16, 16, 128}));

  Press(t, {8, 50});
  bar->SetEnabled(false);
  EXPECT_EQ(bar->PartState(CScrollBarUI::kThumb), 0u);
  canvas = t.Paint();
  EXPECT_EQ(canvas.specs.back().source, (SkinRect{300, 0, 400, 30})) << "the disabled frame";
  Release(t, {8, 50});
}

TEST(ScrollBar, VerticalLayoutBarScrollsItsOwner) {
  SkinTree t(L"<Window><HorizontalLayout><VerticalLayout name=\"v\" width=\"100\" height=\"200\" vscrollbar=\"true\">"
             L"<Control name=\"tall\" height=\"350\" /></VerticalLayout><Control /></HorizontalLayout></Window>");
  auto* v = t.Find<CVerticalLayoutUI>(L"v");
  auto* bar = static_cast<CScrollBarUI*>(v->VerticalScrollBar());
  ASSERT_NE(bar, nullptr);
  EXPECT_STREQ(bar->ClassName(), L"ScrollBarUI");
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->Owner(), v);
  EXPECT_EQ(bar->ScrollRange(), 150);
  EXPECT_EQ(bar->Position(), (SkinRect{84, 0, 100, 200}));
  EXPECT_EQ(t.Find(L"tall")->Position(), (SkinRect{0, 0, 84, 350}));

  // The down button scrolls the owner by its line: the default font's height + 30.
  const int line = t.host.DefaultFontInfo().height + 30;
  t.Click({92, 195}, {92, 195});
  EXPECT_EQ(v->ScrollPos().cy, line);
  EXPECT_EQ(t.Find(L"tall")->Position().top, -line);
  // Dragging the thumb moves the owner's content.
  t.Click({92, 195}, {92, 195});  // once more, then back to the top with Home
  t.Send(v, kEventKeyDown, {}, kVkHome);
  EXPECT_EQ(v->ScrollPos().cy, 0);
  const SkinRect thumb = bar->ThumbRect();
  const int travel = 168 - thumb.Height();
  Press(t, {92, thumb.top + 5});
  t.MoveTo({92, thumb.top + 5 + travel});
  Tick(t, 1);
  EXPECT_EQ(v->ScrollPos().cy, 150);
  EXPECT_EQ(t.Find(L"tall")->Position().top, -150);
  Release(t, {92, thumb.top + 5 + travel});

  // Content that fits again hides the bar.
  t.Find(L"tall")->SetFixedAndMinHeight(150);
  t.Layout();
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(v->ScrollPos().cy, 0);
  EXPECT_EQ(t.Find(L"tall")->Position(), (SkinRect{0, 0, 100, 150}));
}

TEST(ScrollBar, WheelAndPageKeysOfTheOwner) {
  SkinTree t(L"<Window><HorizontalLayout><VerticalLayout name=\"v\" width=\"100\" height=\"200\" vscrollbar=\"true\" "
             L"inset=\"0,10,0,10\"><Control height=\"900\" /></VerticalLayout><Control /></HorizontalLayout></Window>");
  auto* v = t.Find<CVerticalLayoutUI>(L"v");
  const int line = t.host.DefaultFontInfo().height + 30;
  t.ws.Wheel(t.handle, 40, 100, -1);
  t.Pump();
  EXPECT_EQ(v->ScrollPos().cy, line);
  auto key = [&](int vk) {
    t.Send(v, kEventKeyDown, {}, static_cast<std::uint16_t>(vk));
    return v->ScrollPos().cy;
  };
  EXPECT_EQ(key(kVkHome), 0);
  EXPECT_EQ(key(kVkNext), 180) << "a page is the inside less the inset";
  EXPECT_EQ(key(kVkNext), 360);
  EXPECT_EQ(key(kVkPrior), 180);
  EXPECT_EQ(key(kVkEnd), 720);
  EXPECT_EQ(key(kVkHome), 0);
  EXPECT_EQ(key(kVkPrior), 0) << "never above the top";
}

TEST(ScrollBar, HorizontalLayoutBarHidesWhenTheContentFits) {
  SkinTree t(L"<Window><VerticalLayout><HorizontalLayout name=\"h\" width=\"300\" height=\"100\" hscrollbar=\"true\">"
             L"<Control name=\"a\" width=\"100\" /><Control name=\"s\" />"
             L"</HorizontalLayout><Control /></VerticalLayout></Window>");
  auto* h = t.Find<CHorizontalLayoutUI>(L"h");
  auto* bar = static_cast<CScrollBarUI*>(h->HorizontalScrollBar());
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsHorizontal());
  // A fixed child and a stretching one fit: the stretching one takes the visible rest.
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(t.Find(L"s")->Position(), (SkinRect{100, 0, 300, 100}));

  // Wider than the layout: the bar shows the excess and takes its height from the children.
  t.Find(L"a")->SetFixedWidth(450);
  t.Layout();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->ScrollRange(), 150);
  EXPECT_EQ(bar->Position(), (SkinRect{0, 84, 300, 100}));
  EXPECT_EQ(t.Find(L"a")->Position(), (SkinRect{0, 0, 450, 84}));
  EXPECT_EQ(t.Find(L"s")->Position().Width(), 0);
  t.Send(h, kEventKeyDown, {}, kVkEnd);
  EXPECT_EQ(t.Find(L"a")->Position().left, -150);

  // Fitting again hides it and gives the height back.
  t.Find(L"a")->SetFixedWidth(100);
  t.Layout();
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(h->ScrollPos().cx, 0);
  EXPECT_EQ(t.Find(L"a")->Position(), (SkinRect{0, 0, 100, 100}));
  EXPECT_EQ(t.Find(L"s")->Position(), (SkinRect{100, 0, 300, 100}));
}
