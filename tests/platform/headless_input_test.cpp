// Input of the in-memory window system: the messages injected mouse, keys and close requests
// produce, with focus, capture, disabled windows, hover and leave, and caption drags.
#include "tests/platform/headless_fixture.h"

namespace platform::testing {
namespace {

using HeadlessInput = HeadlessFixture;

std::optional<std::intptr_t> AnswerHitTest(std::uint32_t m, int code) {
  if (m == kWmNcHitTest) return code;
  return std::nullopt;
}

TEST_F(HeadlessInput, AClickArrivesAsButtonDownAndUpInClientCoordinates) {
  WindowHandle w = Shown(100, 50, 200, 100);
  ws.Click(w, 30, 40);
  ws.PumpMessages();
  auto clicks = proc.Only({kWmLButtonDown, kWmLButtonUp});
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].message, kWmLButtonDown);
  EXPECT_EQ(PointX(clicks[0].lParam), 30);
  EXPECT_EQ(PointY(clicks[0].lParam), 40);
  EXPECT_EQ(clicks[0].wParam & kMkLButton, kMkLButton);
  EXPECT_EQ(clicks[1].message, kWmLButtonUp);
  EXPECT_EQ(clicks[1].wParam & kMkLButton, 0u);
  // The pointer's arrival, then the cursor question before the press, as the desktop asks it.
  auto first = proc.Numbers({kWmMouseMove, kWmSetCursor, kWmLButtonDown});
  EXPECT_EQ(first.front(), kWmSetCursor);
  EXPECT_EQ(ws.CursorOf(w), kCursorArrow) << "an unhandled cursor question gives the arrow";
}

TEST_F(HeadlessInput, TransparentPixelsAndOtherWindowsSitOutsideTheMouseArea) {
  WindowHandle w = Shown(0, 0, 100, 100);
  Present(w, 0xFF336699, WinRect{0, 0, 10, 10});
  ws.Click(w, 5, 5);  // alpha 0
  ws.Click(w, 50, 50);
  ws.PumpMessages();
  auto downs = proc.Only({kWmLButtonDown});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(PointX(downs[0].lParam), 50);
}

TEST_F(HeadlessInput, DisabledWindowsIgnoreMouseKeysAndCloseRequests) {
  WindowHandle w = Shown(0, 0, 100, 100);
  ws.EnableWindow(w, false);
  EXPECT_EQ(proc.Only({kWmEnable}).back().wParam, 0u);
  EXPECT_EQ(ws.GetFocus(), nullptr) << "a disabled window loses the focus";
  proc.seen.clear();
  ws.Click(w, 10, 10);
  ws.KeyPress(kVkEscape, 0x1B);
  ws.RequestClose(w);
  ws.Wheel(w, 10, 10, 1);
  ws.PumpMessages();
  EXPECT_TRUE(proc.Significant().empty());
  EXPECT_TRUE(ws.IsWindow(w));
  ws.EnableWindow(w, true);
  ws.RequestClose(w);
  ws.PumpMessages();
  EXPECT_FALSE(ws.IsWindow(w));
}

TEST_F(HeadlessInput, TheCloseButtonArrivesAsTheSystemCloseCommand) {
  WindowHandle w = Shown(0, 0, 100, 100);
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t wp, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmSysCommand && (wp & 0xFFF0) == kScClose) return 0;  // swallowed, as the window base does
    return std::nullopt;
  };
  ws.RequestClose(w);
  ws.PumpMessages();
  auto cmds = proc.Only({kWmSysCommand, kWmClose});
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(cmds[0].wParam, kScClose);
  EXPECT_TRUE(ws.IsWindow(w));
}

TEST_F(HeadlessInput, CaptureRoutesEveryMouseMessageToItsWindow) {
  WindowHandle a = Shown(0, 0, 100, 100);
  WindowHandle b = Make(200, 0, 100, 100);
  ws.ShowWindow(b, ShowCommand::kShowNoActivate);
  ws.PumpMessages();
  ws.SetCapture(a);
  proc.seen.clear();
  ws.MouseMove(b, 10, 20);
  ws.Click(b, 10, 20);
  ws.MouseMoveScreen(500, 500);  // off every window
  ws.PumpMessages();
  for (const Seen& s : proc.Significant()) EXPECT_EQ(s.window, a) << std::hex << s.message;
  auto downs = proc.Only({kWmLButtonDown});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(PointX(downs[0].lParam), 210) << "in the capturing window's coordinates";
  EXPECT_EQ(PointY(downs[0].lParam), 20);
  EXPECT_EQ(proc.Count(kWmNcHitTest), 0u) << "no hit tests under capture";
  ws.ReleaseCapture();
  proc.seen.clear();
  ws.Click(b, 10, 20);
  ws.PumpMessages();
  EXPECT_EQ(proc.Only({kWmLButtonDown}).at(0).window, b);
}

TEST_F(HeadlessInput, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
  struct Case {
    const char* name;
    std::uint32_t style;
    unsigned gap;
    int dx;
    std::uint32_t second;
  } cases[] = {
      {"quick and close", kCsDblClks, 100, 0, kWmLButtonDblClk},
      {"at the time limit", kCsDblClks, 500, 4, kWmLButtonDblClk},
      {"too slow", kCsDblClks, 501, 0, kWmLButtonDown},
      {"too far", kCsDblClks, 100, 5, kWmLButtonDown},
      {"class without double clicks", 0, 100, 0, kWmLButtonDown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessDesk d;
    auto& sys = d.ws;
    auto& p = d.proc;
    WindowHandle w = d.Shown(0, 0, 100, 100, c.style);
    sys.Click(w, 10, 10);
    sys.AdvanceClock(c.gap);
    sys.Click(w, 10 + c.dx, 10);
    sys.PumpMessages();
    auto presses = p.Numbers({kWmLButtonDown, kWmLButtonDblClk});
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[1], c.second);
  }
}

TEST_F(HeadlessInput, AThirdQuickClickStartsANewPair) {
  WindowHandle w = Shown(0, 0, 100, 100, kCsDblClks);
  for (int i = 0; i < 4; ++i) ws.Click(w, 10, 10);
  ws.PumpMessages();
  EXPECT_EQ(proc.Numbers({kWmLButtonDown, kWmLButtonDblClk}),
            (std::vector<std::uint32_t>{kWmLButtonDown, kWmLButtonDblClk, kWmLButtonDown, kWmLButtonDblClk}));
}

TEST_F(HeadlessInput, WheelCarriesTheSignedDeltaAndTheScreenPoint) {
  WindowHandle w = Shown(100, 100, 100, 100);
  ws.Wheel(w, 10, 20, 1);
  ws.Wheel(w, 10, 20, -1);
  ws.PumpMessages();
  auto wheels = proc.Only({kWmMouseWheel});
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(static_cast<std::int16_t>(HighWord(wheels[0].wParam)), 120);
  EXPECT_EQ(static_cast<std::int16_t>(HighWord(wheels[1].wParam)), -120);
  EXPECT_EQ(PointX(wheels[0].lParam), 110);
  EXPECT_EQ(PointY(wheels[0].lParam), 120);
}

TEST_F(HeadlessInput, AnUnhandledRightButtonUpAsksForTheContextMenuAtTheScreenPoint) {
  WindowHandle w = Shown(100, 100, 100, 100);
  ws.Click(w, 10, 20, HeadlessWindowSystem::Button::kRight);
  ws.PumpMessages();
  EXPECT_EQ(proc.Numbers({kWmRButtonDown, kWmRButtonUp, kWmContextMenu}),
            (std::vector<std::uint32_t>{kWmRButtonDown, kWmRButtonUp, kWmContextMenu}));
  auto menu = proc.Only({kWmContextMenu})[0];
  EXPECT_EQ(PointX(menu.lParam), 110);
  EXPECT_EQ(PointY(menu.lParam), 120);

  proc.seen.clear();
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmRButtonUp) return 0;
    return std::nullopt;
  };
  ws.Click(w, 10, 20, HeadlessWindowSystem::Button::kRight);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmContextMenu), 0u);
}

TEST_F(HeadlessInput, KeysBecomeKeyAndCharacterMessages) {
  struct Case {
    const char* name;
    std::vector<int> held;  // modifiers held down around the key
    int key;
    char32_t ch;
    std::vector<std::uint32_t> expected;
    std::uintptr_t charValue;
  } cases[] = {
      {"Escape", {}, kVkEscape, 0x1B, {kWmKeyDown, kWmChar, kWmKeyUp}, 0x1B},
      {"letter", {}, 'A', U'a', {kWmKeyDown, kWmChar, kWmKeyUp}, U'a'},
      {"Return", {}, kVkReturn, 0x0D, {kWmKeyDown, kWmChar, kWmKeyUp}, 0x0D},
      {"Delete types nothing", {}, kVkDelete, 0x7F, {kWmKeyDown, kWmKeyUp}, 0},
      {"arrow", {}, kVkLeft, 0, {kWmKeyDown, kWmKeyUp}, 0},
      {"Alt+letter", {kVkMenu}, 'F', U'f', {kWmSysKeyDown, kWmSysChar, kWmSysKeyUp}, U'f'},
      {"F10", {}, kVkF10, 0, {kWmSysKeyDown, kWmSysKeyUp}, 0},
      {"AltGr (Ctrl+Alt) types", {kVkControl, kVkMenu}, 'E', U'€', {kWmKeyDown, kWmChar, kWmKeyUp}, U'€'},
      {"Shift+Tab", {kVkShift}, kVkTab, 0x09, {kWmKeyDown, kWmChar, kWmKeyUp}, 0x09},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessDesk d;
    auto& sys = d.ws;
    auto& p = d.proc;
    d.Shown(0, 0, 100, 100);
    for (int k : c.held) sys.KeyDown(k);
    sys.PumpMessages();
    p.seen.clear();
    bool shiftSeen = false;
    p.handler = [&](WindowHandle, std::uint32_t m, std::uintptr_t wp, std::intptr_t) -> std::optional<std::intptr_t> {
      if ((m == kWmKeyDown || m == kWmSysKeyDown) && static_cast<int>(wp) == c.key) shiftSeen = sys.IsKeyDown(kVkShift);
      return std::nullopt;
    };
    sys.KeyPress(c.key, c.ch);
    sys.PumpMessages();
    auto msgs = p.Numbers({kWmKeyDown, kWmKeyUp, kWmChar, kWmSysKeyDown, kWmSysKeyUp, kWmSysChar});
    EXPECT_EQ(msgs, c.expected);
    for (const Seen& s : p.Only({kWmKeyDown, kWmSysKeyDown})) EXPECT_EQ(static_cast<int>(s.wParam), c.key);
    for (const Seen& s : p.Only({kWmChar, kWmSysChar})) EXPECT_EQ(s.wParam, c.charValue);
    EXPECT_EQ(shiftSeen, c.key == kVkTab) << "the state is that of the key's own message";
  }
}

TEST_F(HeadlessInput, KeyParametersMarkRepeatsAndReleases) {
  Shown(0, 0, 100, 100);
  ws.KeyDown('A', U'a');
  ws.KeyDown('A', U'a');  // auto-repeat: down again without an up
  ws.KeyUp('A');
  ws.PumpMessages();
  auto keys = proc.Only({kWmKeyDown, kWmKeyUp});
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].lParam & (1 << 30), 0);
  EXPECT_NE(keys[1].lParam & (1 << 30), 0) << "the key was already down";
  EXPECT_NE(static_cast<std::uint32_t>(keys[2].lParam) & 0x80000000u, 0u);
  EXPECT_EQ(proc.Count(kWmChar), 2u);
}

TEST_F(HeadlessInput, AltF4IsTheSystemCloseCommand) {
  WindowHandle w = Shown(0, 0, 100, 100);
  ws.KeyDown(kVkMenu);
  ws.KeyDown(kVkF4);
  ws.PumpMessages();
  auto cmds = proc.Only({kWmSysCommand});
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(cmds[0].wParam, kScClose);
  EXPECT_FALSE(ws.IsWindow(w)) << "the default procedure turned it into a close, then a destroy";
}

TEST_F(HeadlessInput, ShowingActivatesAndFocusesButPopupsNeverTakeTheFocus) {
  WindowHandle main = Make(0, 0, 100, 100);
  ws.ShowWindow(main, ShowCommand::kShowNormal);
  EXPECT_EQ(ws.GetFocus(), main);
  EXPECT_EQ(ws.GetActiveWindow(), main);
  EXPECT_EQ(proc.Numbers({kWmShowWindow, kWmActivate, kWmSetFocus}),
            (std::vector<std::uint32_t>{kWmShowWindow, kWmActivate, kWmSetFocus}));

  WindowHandle tip = Make(10, 10, 50, 20, main, 0, WindowKind::kPopup);
  ws.ShowWindow(tip, ShowCommand::kShowNormal);
  ws.SetFocus(tip);
  EXPECT_EQ(ws.GetFocus(), main);
  EXPECT_EQ(ws.KindOf(tip), WindowKind::kPopup);
  EXPECT_EQ(ws.WindowAt(WinPoint{20, 15}), tip) << "popups float above";
}

TEST_F(HeadlessInput, AModalBoxDisablesItsOwnerAndHandsTheFocusBackWhenItGoes) {
  WindowHandle owner = Shown(0, 0, 300, 300);
  WindowHandle box = Make(50, 50, 100, 100, owner);
  ws.ShowWindow(box, ShowCommand::kShowNormal);
  ws.EnableWindow(owner, false);
  EXPECT_EQ(ws.GetFocus(), box);
  auto kill = proc.Only({kWmKillFocus});
  ASSERT_FALSE(kill.empty());
  EXPECT_EQ(kill.back().window, owner);
  EXPECT_EQ(kill.back().wParam, reinterpret_cast<std::uintptr_t>(box));

  ws.RequestClose(owner);  // the owner's close button while the box is up
  ws.PumpMessages();
  EXPECT_TRUE(ws.IsWindow(owner));

  ws.EnableWindow(owner, true);
  ws.DestroyWindow(box);
  EXPECT_EQ(ws.GetActiveWindow(), owner);
  EXPECT_EQ(ws.GetFocus(), owner);
}

TEST_F(HeadlessInput, TheDesktopTakingTheFocusDeactivates) {
  WindowHandle w = Shown(0, 0, 100, 100);
  ws.DesktopActivates(nullptr);
  EXPECT_EQ(ws.GetFocus(), nullptr);
  EXPECT_EQ(proc.Numbers({kWmKillFocus, kWmActivate}), (std::vector<std::uint32_t>{kWmKillFocus, kWmActivate}));
  EXPECT_EQ(proc.Only({kWmActivate})[0].wParam, 0u);
  ws.DesktopActivates(w);
  EXPECT_EQ(ws.GetFocus(), w);

  ws.KeyDown('A', U'a');
  ws.DesktopActivates(nullptr);  // released over the other program
  ws.DesktopActivates(w);
  ws.KeyDown('A', U'a');
  ws.PumpMessages();
  auto downs = proc.Only({kWmKeyDown});
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[1].lParam & (1 << 30), 0) << "a fresh press, not a repeat";
}

TEST_F(HeadlessInput, HoverComesOnceAfterThePointerRestsAndLeaveWhenItGoes) {
  WindowHandle w = Shown(0, 0, 100, 100);
  ws.MouseMove(w, 10, 10);
  ws.PumpMessages();
  ws.TrackMouse(w, kTrackHover | kTrackLeave, 400);
  ws.AdvanceClock(300);
  ws.MouseMove(w, 11, 11);  // within the hover distance: still resting
  ws.AdvanceClock(100);
  ws.PumpMessages();
  auto hovers = proc.Only({kWmMouseHover});
  ASSERT_EQ(hovers.size(), 1u);
  EXPECT_EQ(PointX(hovers[0].lParam), 11);
  ws.AdvanceClock(1000);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmMouseHover), 1u) << "once per request";

  ws.TrackMouse(w, kTrackHover | kTrackLeave, 400);
  ws.AdvanceClock(300);
  ws.MouseMove(w, 40, 40);  // moved on: the rest starts again
  ws.AdvanceClock(300);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmMouseHover), 1u);
  ws.MouseMoveScreen(500, 500);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmMouseLeave), 1u);
  ws.AdvanceClock(1000);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmMouseHover), 1u) << "leaving ended the tracking";

  ws.TrackMouse(w, kTrackLeave, 0);  // asked while the pointer is elsewhere
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmMouseLeave), 2u);
}

TEST_F(HeadlessInput, ACaptionPressDragsTheWindowLikeAWindowManager) {
  WindowHandle w = Shown(100, 100, 200, 100);
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t lp) -> std::optional<std::intptr_t> {
    if (m == kWmNcHitTest && PointY(lp) < 130) return kHtCaption;
    return std::nullopt;
  };
  ws.MouseDown(w, 50, 10);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmLButtonDown), 0u);
  auto nc = proc.Only({kWmNcLButtonDown});
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wParam, static_cast<std::uintptr_t>(kHtCaption));
  EXPECT_EQ(ws.DragCount(w), 1u);
  EXPECT_TRUE(ws.Dragging());
  ws.MouseMoveScreen(170, 130);
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{120, 120, 320, 220}));
  EXPECT_EQ(proc.Only({kWmMove}).back().lParam, PackPoint(120, 120));
  ws.MouseUp(w, 50, 10);
  ws.PumpMessages();
  EXPECT_FALSE(ws.Dragging());
  EXPECT_EQ(proc.Count(kWmLButtonUp), 0u) << "the release belonged to the drag";
  EXPECT_FALSE(ws.IsKeyDown(1));

  proc.seen.clear();
  ws.Click(w, 50, 60);  // below the caption: a plain click
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmLButtonDown), 1u);
  EXPECT_EQ(ws.DragCount(w), 1u);
}

TEST_F(HeadlessInput, ASizeBorderAnswerGivesTheSizingCursor) {
  WindowHandle w = Shown(0, 0, 100, 100);
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) { return AnswerHitTest(m, kHtLeft); };
  ws.MouseMove(w, 1, 50);
  ws.PumpMessages();
  EXPECT_EQ(ws.CursorOf(w), kCursorSizeWe);
}

TEST_F(HeadlessInput, TypeTextSendsEachCharacter) {
  Shown(0, 0, 100, 100);
  ws.TypeText(U"a1+é");
  ws.PumpMessages();
  std::u32string typed;
  for (const Seen& s : proc.Only({kWmChar})) typed += static_cast<char32_t>(s.wParam);
  EXPECT_EQ(typed, U"a1+é");
  EXPECT_EQ(proc.Count(kWmKeyDown), 2u) << "letters and digits have keys; the others are characters only";
}

}  // namespace
}  // namespace platform::testing
