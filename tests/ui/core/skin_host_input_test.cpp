// Input of a skinned window turned into control events: hover, capture, clicks, focus and Tab,
// keys, shortcuts, cursors and the tooltip.
#include <gtest/gtest.h>

#include <cwctype>

#include "tests/ui/core/skin_window_fixture.h"
#include "ui/core/skin_tooltip.h"

namespace skintest {
namespace {

namespace pf = platform;

// 200 x 100; "a" and "b" are Tab stops, "b" chooses the hand cursor and has a tooltip, "label"
// takes no mouse; the layout itself takes no mouse either.
const wchar_t* const kSkin =
    L"<Window size=\"200,100\">"
    L"<VerticalLayout bkcolor=\"#FF336699\">"
    L"<Probe name=\"a\" float=\"true\" pos=\"10,40,60,70\" mouse=\"true\" tabstop=\"true\" />"
    L"<Probe name=\"b\" float=\"true\" pos=\"70,40,120,70\" mouse=\"true\" tabstop=\"true\" setcursor=\"true\""
    L" cursor=\"hand\" tooltip=\"tip\" />"
    L"<Probe name=\"label\" float=\"true\" pos=\"130,40,190,70\" />"
    L"</VerticalLayout>"
    L"</Window>";

using Events = std::vector<int>;

class HostInputTest : public SkinWindowTest {
 protected:
  void SetUp() override {
    SkinWindowTest::SetUp();
    Open(kSkin);
    a = ProbeOf(L"a");
    b = ProbeOf(L"b");
    label = ProbeOf(L"label");
    ASSERT_FALSE(HasFailure());  // no body without its probes
    for (ProbeUI* p : {a, b, label}) p->events.clear();
    wnd->notes.clear();
  }
  void Move(int x, int y) {
    ws.MouseMove(H(), x, y);
    Pump();
  }
  ProbeUI* a = nullptr;
  ProbeUI* b = nullptr;
  ProbeUI* label = nullptr;
};

TEST_F(HostInputTest, MovingOntoEmptyAreaLeavesTheHoverControl) {
  Move(20, 50);
  EXPECT_EQ(Host().HoverControl(), a);
  Move(30, 55);
  Move(20, 90);  // the layout below takes no mouse
  EXPECT_EQ(a->Types(), (Events{kEventMouseEnter, kEventMouseMove, kEventMouseMove, kEventMouseLeave}));
  EXPECT_EQ(Host().HoverControl(), nullptr);
  EXPECT_EQ(a->events[1].ptMouse, (SkinPoint{20, 50}));
  EXPECT_EQ(wnd->mouseEntered, 1) << "the window hears once that the mouse came in";

  // Leaving the window (and coming back) goes through a move to nowhere.
  Move(20, 50);
  a->events.clear();
  ws.MouseMoveScreen(5, 5);
  Pump();
  EXPECT_EQ(a->Significant(), (Events{kEventMouseLeave}));
  EXPECT_EQ(Host().LastMousePoint(), (SkinPoint{-1, -1}));
  Move(20, 50);
  EXPECT_EQ(wnd->mouseEntered, 2);
}

TEST_F(HostInputTest, APressCapturesTheControlUntilTheReleaseWhereverItHappens) {
  ws.MouseDown(H(), 20, 50);
  Pump();
  EXPECT_EQ(ws.GetCapture(), H());
  EXPECT_EQ(Host().Focus(), a);
  Move(100, 50);  // over b: still a's
  Move(400, 300);  // outside the window
  ws.MouseUp(H(), 400, 300);
  Pump();
  // The release outside the window also took the pointer out of it: the hover ends.
  EXPECT_EQ(a->Significant(), (Events{kEventMouseEnter, kEventButtonDown, kEventButtonUp, kEventMouseLeave}));
  const Events types = a->Types();
  EXPECT_GE(std::count(types.begin(), types.end(), kEventMouseMove), 2);
  auto up = std::find_if(a->events.begin(), a->events.end(), [](const SkinEvent& e) { return e.type == kEventButtonUp; });
  EXPECT_EQ(up->ptMouse, (SkinPoint{400, 300}));
  EXPECT_TRUE(b->events.empty());
  EXPECT_EQ(ws.GetCapture(), nullptr);
  EXPECT_EQ(Host().ClickControl(), nullptr);
}

TEST_F(HostInputTest, APressOnNoControlCapturesNothingAndTheCursorKeepsFollowing) {
  ws.MouseDown(H(), 150, 90);
  Pump();
  EXPECT_EQ(ws.GetCapture(), nullptr);
  EXPECT_EQ(Host().ClickControl(), nullptr);
  Move(80, 50);  // over b with the button still down: b still picks its cursor
  EXPECT_EQ(ws.CursorOf(H()), pf::kCursorHand);
  EXPECT_EQ(b->Significant(), (Events{kEventMouseEnter}));
  ws.MouseUp(H(), 80, 50);
  Pump();
  Move(150, 90);
  EXPECT_EQ(ws.CursorOf(H()), pf::kCursorArrow) << "off the control the arrow comes back";
}

TEST_F(HostInputTest, ALabelWithoutMouseIsNeverHit) {
  Move(150, 50);
  ws.Click(H(), 150, 50);
  Pump();
  EXPECT_TRUE(label->events.empty());
  EXPECT_EQ(Host().FindControlAt({150, 50}), nullptr);

  // Below it a mouse-enabled container takes what the label does not.
  Host().Root()->SetMouseEnabled(true);
  EXPECT_EQ(Host().FindControlAt({150, 50}), Host().Root());
  EXPECT_EQ(Host().FindControlAt({20, 50}), a);
}

TEST_F(HostInputTest, RightClickEndsWithTheContextMenuEvent) {
  ws.Click(H(), 20, 50, pf::HeadlessWindowSystem::Button::kRight);
  Pump();
  EXPECT_EQ(a->Significant(), (Events{kEventMouseEnter, kEventRButtonDown, kEventRButtonUp, kEventContextMenu}));
  EXPECT_EQ(a->events.back().lParam, reinterpret_cast<std::intptr_t>(a));
  EXPECT_EQ(Host().ClickControl(), nullptr);
  EXPECT_EQ(ws.GetCapture(), nullptr);
}

TEST_F(HostInputTest, WheelNotchesGiveTheirDirection) {
  ws.Wheel(H(), 20, 50, 1);
  ws.Wheel(H(), 20, 50, -1);
  Pump();
  std::vector<std::intptr_t> dirs;
  for (const SkinEvent& e : a->events)
    if (e.type == kEventScrollWheel) dirs.push_back(e.wParam);
  EXPECT_EQ(dirs, (std::vector<std::intptr_t>{0, 1}));
  EXPECT_EQ(Host().HoverControl(), a) << "the hover follows the wheel";
}

TEST_F(HostInputTest, TheFirstTabStopHasTheFocusAndTabWrapsBothWays) {
  EXPECT_EQ(Host().Focus(), a);
  ws.KeyPress(pf::kVkTab);
  Pump();
  EXPECT_EQ(Host().Focus(), b);
  ws.KeyPress(pf::kVkTab);
  Pump();
  EXPECT_EQ(Host().Focus(), a) << "forward from the last wraps to the first";
  ws.KeyDown(pf::kVkShift);
  ws.KeyPress(pf::kVkTab);
  ws.KeyUp(pf::kVkShift);
  Pump();
  EXPECT_EQ(Host().Focus(), b) << "backward from the first wraps to the last";
  const int tabs = static_cast<int>(std::count_if(a->events.begin(), a->events.end(), [](const SkinEvent& e) {
    return e.type == kEventKeyDown && e.chKey == pf::kVkTab;
  }));
  EXPECT_EQ(tabs, 0) << "Tab is the host's, not the control's";
}

TEST_F(HostInputTest, TabWithoutTabStopsLeavesTheFocusAlone) {
  a->flags = b->flags = 0;
  Host().SetFocus(label);
  for (bool shift : {false, true}) {
    if (shift) ws.KeyDown(pf::kVkShift);
    ws.KeyPress(pf::kVkTab);
    if (shift) ws.KeyUp(pf::kVkShift);
    Pump();
    EXPECT_EQ(Host().Focus(), label) << (shift ? "Shift+Tab" : "Tab");
  }
}

TEST_F(HostInputTest, AFocusedControlThatBecomesInvisibleLosesTheFocus) {
  Host().SetFocus(b);
  wnd->notes.clear();
  b->SetVisible(false);
  EXPECT_EQ(Host().Focus(), nullptr);
  ASSERT_EQ(wnd->Count(L"killfocus"), 1);
  EXPECT_EQ(wnd->notes[0].sender, b);
  // An invisible or disabled control cannot take it back.
  Host().SetFocus(b);
  EXPECT_EQ(Host().Focus(), nullptr);
  b->SetVisible(true);
  b->SetEnabled(false);
  Host().SetFocus(b);
  EXPECT_EQ(Host().Focus(), nullptr);
}

TEST_F(HostInputTest, KeysGoToTheFocusAndTheReleaseToTheControlThatGotThePress) {
  ws.KeyDown('X', U'x');
  Pump();
  Host().SetFocus(b);
  ws.KeyUp('X');
  Pump();
  EXPECT_EQ(a->Significant(), (Events{kEventKeyDown, kEventChar, kEventKillFocus, kEventKeyUp}));
  EXPECT_EQ(a->events[0].chKey, 'X');
  EXPECT_EQ(a->events[1].chKey, 'x');
  // The key state of events is read from the keyboard.
  ws.KeyDown(pf::kVkShift);
  ws.KeyDown(pf::kVkControl);
  ws.KeyPress('Y');
  Pump();
  ASSERT_FALSE(b->events.empty());
  auto down = std::find_if(b->events.rbegin(), b->events.rend(), [](const SkinEvent& e) { return e.type == kEventKeyDown && e.chKey == 'Y'; });
  ASSERT_NE(down, b->events.rend());
  EXPECT_EQ(down->keyState, kKeyStateShift | kKeyStateControl);
}

TEST_F(HostInputTest, ReturnStillReachesTheFocusedControlAndEscapeClosesTheWindow) {
  ws.KeyPress(pf::kVkReturn);
  Pump();
  ASSERT_FALSE(a->events.empty());
  EXPECT_EQ(a->events[0].type, kEventKeyDown);
  EXPECT_EQ(a->events[0].chKey, pf::kVkReturn);
  EXPECT_TRUE(ws.IsWindow(H()));
  a->events.clear();
  const pf::WindowHandle window = H();
  ws.KeyPress(pf::kVkEscape);
  Pump();
  EXPECT_FALSE(ws.IsWindow(window)) << "Escape posts a close request with code 1";
}

TEST_F(HostInputTest, AltWithALetterFocusesTheControlOfThatShortcutOrTheOneAfterItsLabel) {
  auto* root = static_cast<IContainerUI*>(Host().Root()->AsInterface(L"IContainer"));
  auto* name = new TestLabelUI();
  auto* field = new ProbeUI();
  name->SetShortcut(L'N');
  root->Add(name);
  root->Add(field);
  b->SetShortcut(L'b');
  struct Case {
    char32_t ch;
    CControlUI* focus;
  } cases[] = {{U'B', b}, {U'n', field}};
  for (const Case& c : cases) {
    ws.KeyDown(pf::kVkMenu);
    ws.KeyPress(static_cast<int>(std::towupper(c.ch)), c.ch);
    ws.KeyUp(pf::kVkMenu);
    Pump();
    EXPECT_EQ(Host().Focus(), c.focus) << static_cast<char>(c.ch);
  }
  // Keys with Alt also reach the focused control as system keys.
  EXPECT_GT(std::count_if(b->events.begin(), b->events.end(), [](const SkinEvent& e) { return e.type == kEventSysKey; }), 0);
}

TEST_F(HostInputTest, AnAcceleratorThatTranslatesAKeyHidesItFromTheControls) {
  struct QuitKey : ITranslateAcceleratorUI {
    bool TranslateAccelerator(const pf::Message& m) override { return m.message == pf::kWmKeyDown && m.wParam == 'Q'; }
  } accel;
  EXPECT_TRUE(Host().AddTranslateAccelerator(&accel));
  ws.KeyPress('Q');
  ws.KeyPress('W');
  Pump();
  ASSERT_EQ(a->Significant(), (Events{kEventKeyDown, kEventKeyUp}));
  EXPECT_EQ(a->events[0].chKey, 'W');
  EXPECT_TRUE(Host().RemoveTranslateAccelerator(&accel));
}

TEST_F(HostInputTest, TheTooltipFollowsTheMouseOverAControlWithATooltipAndHidesOffIt) {
  testsupport::FillCanvas::Texts().clear();
  Move(80, 50);
  ws.AdvanceClock(400);
  Pump();
  CSkinTooltip* tip = Host().Tooltip();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(tip->IsVisible());
  EXPECT_EQ(tip->Text(), L"tip");
  EXPECT_EQ(tip->ToolRect(), b->Position());
  EXPECT_EQ(ws.KindOf(tip->Window()), pf::WindowKind::kPopup);
  EXPECT_EQ(ws.Owner(tip->Window()), H());
  const pf::WinRect at = ws.GetWindowRect(tip->Window());
  const pf::WinPoint mouse = ws.ClientToScreen(H(), {80, 50});
  EXPECT_EQ(at.left, mouse.x);
  EXPECT_GT(at.top, mouse.y) << "below the pointer, never under it";
  const auto* shown = ws.LastPresented(tip->Window());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Pixel(0, 0), CSkinTooltip::kBorder);
  EXPECT_EQ(shown->Pixel(2, 2), CSkinTooltip::kBackground);
  EXPECT_EQ(testsupport::FillCanvas::Texts(), std::vector<std::wstring>{L"tip"});
  EXPECT_EQ(std::count_if(b->events.begin(), b->events.end(), [](const SkinEvent& e) { return e.type == kEventMouseHover; }), 1);

  Move(20, 50);
  EXPECT_FALSE(tip->IsVisible());
  // A control without a tooltip shows none.
  ws.AdvanceClock(1000);
  Pump();
  EXPECT_FALSE(tip->IsVisible());
}

}  // namespace
}  // namespace skintest
