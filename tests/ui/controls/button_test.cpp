#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "platform/window_messages.h"
#include "ui/controls/button_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

const wchar_t kButtonSkin[] =
    L"<Window><HorizontalLayout>"
    L"<Button name=\"btn\" width=\"100\" height=\"30\" text=\"go\""
    L" statusimage=\"file='btn.png' source='0,0,400,30' status='normal,hot,pushed,disabled'\""
    L" foreimage=\"fore.png\" hotforeimage=\"hotfore.png\" hotbkcolor=\"#FF00FF00\" pushedbkcolor=\"#80FF0000\" />"
    L"<Control />"
    L"</HorizontalLayout></Window>";

// Left edge of the source part of every image the canvas drew, with the file.
std::vector<std::pair<std::wstring, int>> Images(const testsupport::SpecCanvas& canvas) {
  std::vector<std::pair<std::wstring, int>> out;
  for (const SkinImageSpec& s : canvas.specs) out.emplace_back(s.file, s.source.left);
  return out;
}

// The state bits the pointer sets (the press gave the button the focus too).
std::uint32_t Pointer(const CButtonUI* b) { return b->State() & ~std::uint32_t{kStateFocused}; }

}  // namespace

TEST(Button, DefaultsMakeItClickableAndATabStop) {
  CButtonUI b;
  EXPECT_TRUE(b.IsMouseEnabled());
  EXPECT_TRUE(b.IsKeyboardEnabled());
  EXPECT_EQ(b.Cursor(), 32649);  // the hand
  EXPECT_EQ(b.TextStyle(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_EQ(b.ControlFlags(), 3u);
  b.SetEnabled(false);
  EXPECT_EQ(b.ControlFlags(), 1u);
  EXPECT_STREQ(b.ClassName(), L"ButtonUI");
  EXPECT_EQ(b.AsInterface(L"Button"), &b);
  EXPECT_EQ(b.AsInterface(L"Label"), &b);
  EXPECT_EQ(b.AsInterface(L"Option"), nullptr);
}

TEST(Button, ClickNeedsPressAndReleaseInside) {
  SkinTree t(kButtonSkin);
  auto* b = t.Find<CButtonUI>(L"btn");
  const SkinPoint inside = SkinTree::Centre(b);
  const SkinPoint outside{500, 500};

  t.MoveTo(inside);
  EXPECT_EQ(Pointer(b), std::uint32_t{kStateHot});
  t.ws.MouseDown(t.handle, inside.x, inside.y);
  t.Pump();
  EXPECT_EQ(Pointer(b), kStateHot | kStatePushed | kStateCaptured);
  t.MoveTo(outside);  // captured: the moves still go to the button, only "pushed" follows
  EXPECT_EQ(Pointer(b), kStateHot | kStateCaptured);
  t.ws.MouseUp(t.handle, outside.x, outside.y);
  t.Pump();
  EXPECT_EQ(Pointer(b), std::uint32_t{kStateHot});
  EXPECT_TRUE(t.log.Types().empty());  // released outside: no click
  t.MoveTo({outside.x + 1, outside.y});  // the next move leaves the button
  EXPECT_EQ(Pointer(b), 0u);

  t.Click(outside, inside);  // a press elsewhere is no press of the button
  EXPECT_TRUE(t.log.Types().empty());
  t.Click(inside, inside);
  ASSERT_EQ(t.log.Types(), std::vector<std::wstring>{L"click"});
  EXPECT_EQ(t.log.seen.back().sender, L"btn");
  EXPECT_EQ(t.host.Focus(), b);
}

TEST(Button, SpaceAndReturnActivateWhileKeyboardEnabled) {
  SkinTree t(kButtonSkin);
  auto* b = t.Find<CButtonUI>(L"btn");
  t.host.SetFocus(b);
  t.Key(platform::kVkSpace, U' ');
  t.Key(platform::kVkReturn, U'\r');  // the window's default key handling leaves Return to the button
  t.Key('A', U'a');
  EXPECT_EQ(t.log.Types(), (std::vector<std::wstring>{L"click", L"click"}));
  b->SetKeyboardEnabled(false);
  t.Key(platform::kVkSpace, U' ');
  b->SetKeyboardEnabled(true);
  b->SetVisible(false);  // activation needs a visible, enabled control
  t.Send(b, kEventKeyDown, {}, kVkReturn);
  EXPECT_EQ(t.log.Types().size(), 2u);
}

TEST(Button, StateImagesFallBackToNormal) {
  SkinTree t(kButtonSkin);
  auto* b = t.Find<CButtonUI>(L"btn");
  using Drawn = std::vector<std::pair<std::wstring, int>>;
  EXPECT_EQ(Images(t.Paint()), (Drawn{{L"btn.png", 0}, {L"fore.png", 0}}));
  t.Send(b, kEventMouseEnter, SkinTree::Centre(b));
  EXPECT_EQ(Images(t.Paint()), (Drawn{{L"btn.png", 100}, {L"hotfore.png", 0}}));
  t.Send(b, kEventButtonDown, SkinTree::Centre(b));
  // No pushed fore image: the fore image.
  EXPECT_EQ(Images(t.Paint()), (Drawn{{L"btn.png", 200}, {L"fore.png", 0}}));
  t.Send(b, kEventButtonUp, SkinTree::Centre(b));
  b->SetEnabled(false);
  EXPECT_EQ(b->State(), 0u);  // disabling clears every state
  EXPECT_EQ(Images(t.Paint()), (Drawn{{L"btn.png", 300}, {L"fore.png", 0}}));

  // An image that cannot be drawn is forgotten and the normal one drawn instead.
  b->SetEnabled(true);
  t.Send(b, kEventMouseEnter, SkinTree::Centre(b));
  testsupport::SpecCanvas failing;
  failing.imagesLoad = false;
  b->Paint(failing, b->Position());
  EXPECT_TRUE(b->HotImage().IsEmpty());
  EXPECT_TRUE(b->NormalImage().IsEmpty());
}

TEST(Button, HotAndPushedBackgroundColours) {
  SkinTree t(kButtonSkin);
  auto* b = t.Find<CButtonUI>(L"btn");
  const SkinPoint c = SkinTree::Centre(b);
  EXPECT_TRUE(t.Paint().Only("fill").empty());
  t.Send(b, kEventMouseEnter, c);
  SkinRect dirty{0, 0, 10, 10};
  testsupport::SpecCanvas hot;
  b->Paint(hot, dirty);
  ASSERT_EQ(hot.Only("fill").size(), 1u);
  EXPECT_EQ(hot.Only("fill")[0].color1, 0xFF00FF00u);
  EXPECT_EQ(hot.Only("fill")[0].rc, dirty);  // opaque: the dirty part only
  t.Send(b, kEventButtonDown, c);
  testsupport::SpecCanvas pushed;
  b->Paint(pushed, dirty);
  ASSERT_EQ(pushed.Only("fill").size(), 1u);
  EXPECT_EQ(pushed.Only("fill")[0].color1, 0x80FF0000u);
  EXPECT_EQ(pushed.Only("fill")[0].rc, b->Position());  // translucent: the whole button
}

TEST(Button, ContextMenuOnlyWhenEnabledBySkin) {
  SkinTree t(kButtonSkin);
  auto* b = t.Find<CButtonUI>(L"btn");
  SkinEvent e;
  e.type = kEventContextMenu;
  e.wParam = 7;
  e.lParam = 9;
  b->DispatchEvent(e);
  EXPECT_TRUE(t.log.Types().empty());
  b->SetAttribute(L"menu", L"true");
  b->DispatchEvent(e);
  ASSERT_EQ(t.log.Types(), std::vector<std::wstring>{L"menu"});
  EXPECT_EQ(t.log.seen.back().wParam, 7);
  EXPECT_EQ(t.log.seen.back().lParam, 9);
}
