// The X11 window system against a real X server: placement, input through XTEST, the alpha input
// shape, keys, close requests, properties, pixels on the screen, wake-ups, timers, clipboard.
#include <thread>

#include "tests/platform/x11_fixture.h"
// clang-format off
#include <X11/extensions/XShm.h>
// clang-format on

namespace platform::testing {
namespace {

using X11Windows = X11Fixture;
using namespace std::chrono_literals;

WinPoint RootPosition(X11WindowSystem& ws, WindowHandle w) {
  Window child = 0;
  int x = 0, y = 0;
  XTranslateCoordinates(ws.XDisplay(), ws.XWindowOf(w), DefaultRootWindow(ws.XDisplay()), 0, 0, &x, &y, &child);
  return WinPoint{x, y};
}

TEST_F(X11Windows, AWindowAppearsCentredWhereItWasPlacedAtItsSize) {
  WinRect work = ws->WorkArea(nullptr);
  int x = work.left + (work.Width() - 300) / 2, y = work.top + (work.Height() - 200) / 2;
  WindowHandle w = ShowPainted(x, y, 300, 200, 0xFF2040C0);
  XWindowAttributes a{};
  ASSERT_TRUE(XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(w), &a));
  EXPECT_EQ(a.width, 300);
  EXPECT_EQ(a.height, 200);
  EXPECT_EQ(a.depth, 32);
  EXPECT_EQ(RootPosition(*ws, w), (WinPoint{x, y}));
  EXPECT_EQ(ws->GetWindowRect(w), (WinRect{x, y, x + 300, y + 200}));
}

TEST_F(X11Windows, ClicksArriveInClientCoordinatesExceptOnTransparentPixels) {
  WindowHandle w = ShowPainted(200, 150, 200, 100, 0xFF30A030, WinRect{0, 0, 20, 20});
  ASSERT_TRUE(Act({"mousemove", "250", "190", "click", "1"}, [&] { return proc->Count(kWmLButtonUp) == 1; }));
  auto clicks = proc->Only({kWmLButtonDown, kWmLButtonUp});
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].message, kWmLButtonDown);
  EXPECT_EQ(PointX(clicks[0].lParam), 50);
  EXPECT_EQ(PointY(clicks[0].lParam), 40);
  EXPECT_EQ(clicks[0].window, w);

  proc->seen.clear();
  Act({"mousemove", "205", "155", "click", "1"}, [] { return false; });  // alpha 0 there
  EXPECT_EQ(proc->Count(kWmLButtonDown), 0u) << "the input shape follows the presented alpha";
  ASSERT_TRUE(Act({"mousemove", "225", "175", "click", "1"}, [&] { return proc->Count(kWmLButtonDown) == 1; }));
}

TEST_F(X11Windows, DoubleClicksAndWheelNotches) {
  ShowPainted(200, 150, 200, 100, 0xFF30A030, {}, kCsDblClks);
  ASSERT_TRUE(Act({"mousemove", "250", "190", "click", "--repeat", "2", "--delay", "60", "1"},
                  [&] { return proc->Count(kWmLButtonUp) == 2; }));
  EXPECT_EQ(proc->Numbers({kWmLButtonDown, kWmLButtonDblClk}),
            (std::vector<std::uint32_t>{kWmLButtonDown, kWmLButtonDblClk}));
  ASSERT_TRUE(Act({"click", "5"}, [&] { return proc->Count(kWmMouseWheel) == 1; }));
  PumpFor(50);
  auto wheel = proc->Only({kWmMouseWheel});
  ASSERT_EQ(wheel.size(), 1u) << "a notch is the press, not the release";
  EXPECT_EQ(static_cast<std::int16_t>(HighWord(wheel[0].wParam)), -120);
  EXPECT_EQ(PointX(wheel[0].lParam), 250) << "screen coordinates";
}

TEST_F(X11Windows, EscapeArrivesAsKeyDownAndItsCharacter) {
  ShowPainted(200, 150, 200, 100, 0xFF303030);
  ASSERT_TRUE(Act({"key", "Escape"}, [&] { return proc->Count(kWmKeyUp) >= 1; }));
  auto keys = proc->Only({kWmKeyDown, kWmChar});
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].message, kWmKeyDown);
  EXPECT_EQ(keys[0].wParam, 0x1Bu);
  EXPECT_EQ(keys[1].message, kWmChar);
  EXPECT_EQ(keys[1].wParam, 0x1Bu);
}

TEST_F(X11Windows, ShiftTabKeypadEnterAndTypedText) {
  ShowPainted(200, 150, 200, 100, 0xFF303030);
  bool shiftWithTab = false;
  proc->handler = [&](WindowHandle, std::uint32_t m, std::uintptr_t wp, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmKeyDown && wp == kVkTab) shiftWithTab = ws->IsKeyDown(kVkShift);
    return std::nullopt;
  };
  ASSERT_TRUE(Act({"key", "shift+Tab", "KP_Enter", "type", "aB1"},
                  [&] { return proc->Count(kWmChar) >= 5; }));
  std::vector<std::uintptr_t> downs;
  for (const Seen& s : proc->Only({kWmKeyDown}))
    if (s.wParam != kVkShift) downs.push_back(s.wParam);
  EXPECT_EQ(downs, (std::vector<std::uintptr_t>{kVkTab, kVkReturn, 'A', 'B', '1'}));
  EXPECT_TRUE(shiftWithTab);
  std::u32string chars;
  for (const Seen& s : proc->Only({kWmChar})) chars += static_cast<char32_t>(s.wParam);
  EXPECT_EQ(chars, U"\t\raB1");
}

TEST_F(X11Windows, AltF4ArrivesAsTheSystemCloseCommand) {
  WindowHandle w = ShowPainted(200, 150, 200, 100, 0xFF303030);
  ASSERT_TRUE(Act({"key", "alt+F4"}, [&] { return !ws->IsWindow(w); }))
      << "the default procedure closes the window";
  auto cmds = proc->Only({kWmSysKeyDown, kWmSysCommand, kWmClose});
  ASSERT_EQ(cmds.size(), 4u);
  EXPECT_EQ(cmds[0].wParam, static_cast<std::uintptr_t>(kVkMenu)) << "Alt alone is a system key too";
  EXPECT_EQ(cmds[1].wParam, static_cast<std::uintptr_t>(kVkF4));
  EXPECT_EQ(cmds[2].message, kWmSysCommand);
  EXPECT_EQ(cmds[2].wParam, kScClose);
  EXPECT_EQ(cmds[3].message, kWmClose);
}

TEST_F(X11Windows, TheWindowManagersCloseRequestArrivesAsTheSystemCloseCommand) {
  WindowHandle w = ShowPainted(200, 150, 200, 100, 0xFF303030);
  proc->handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmSysCommand) return 0;  // kept open: the command is what is looked at
    return std::nullopt;
  };
  auto sendDelete = [&] {
    // From another connection, as a window manager sends it.
    Display* other = OpenOtherConnection();
    ASSERT_NE(other, nullptr);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = ws->XWindowOf(w);
    ev.xclient.message_type = XInternAtom(other, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(other, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(other, ev.xclient.window, False, NoEventMask, &ev);
    XCloseDisplay(other);
  };
  sendDelete();
  ASSERT_TRUE(PumpUntil([&] { return proc->Count(kWmSysCommand) == 1; }));
  EXPECT_EQ(proc->Only({kWmSysCommand})[0].wParam, kScClose);
  EXPECT_EQ(proc->Count(kWmClose), 0u) << "never a bare close";

  ws->EnableWindow(w, false);  // a modal box is up
  sendDelete();
  PumpFor(200);
  EXPECT_EQ(proc->Count(kWmSysCommand), 1u) << "a disabled window ignores it";
}

TEST_F(X11Windows, ClassAndUtf8TitleReadBackWithXprop) {
  WindowHandle w = Make(100, 100, 50, 50, 0, "Setup — 安装");
  std::string id = std::to_string(ws->XWindowOf(w));
  std::string out = Tool({"xprop", "-id", id, "WM_CLASS", "_NET_WM_NAME", "_MOTIF_WM_HINTS"});
  EXPECT_NE(out.find("WM_CLASS(STRING) = \"TestWnd\", \"TestWnd\""), std::string::npos) << out;
  EXPECT_NE(out.find("_NET_WM_NAME(UTF8_STRING) = \"Setup — 安装\""), std::string::npos) << out;
  EXPECT_NE(out.find("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x0, 0x0, 0x0, 0x0"), std::string::npos) << out;
  ws->SetTitle(w, "Other");
  out = Tool({"xprop", "-id", id, "_NET_WM_NAME"});
  EXPECT_NE(out.find("\"Other\""), std::string::npos) << out;
}

TEST_F(X11Windows, TheScreenShowsThePresentedPixelsAndCutsTransparentOnesWithoutACompositor) {
  ASSERT_FALSE(ws->HasCompositor()) << "another compositor runs on this display";
  Shot before = Screenshot();
  // Opaque red; a half-transparent green band (premultiplied 0x80008000) from y 50; a hole.
  WindowHandle w = Make(300, 200, 100, 100);
  ws->ShowWindow(w, ShowCommand::kShowNormal);
  std::vector<std::uint32_t> px(100 * 100, 0xFFFF0000);
  for (int y = 50; y < 100; ++y)
    for (int x = 0; x < 100; ++x) px[y * 100 + x] = 0x80008000;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) px[y * 100 + x] = 0;
  ws->UpdateLayeredWindow(w, px.data(), 100, 100, 400, 255);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(w); }));
  PumpFor(100);
  Shot after = Screenshot();
  EXPECT_EQ(after.At(350, 220), (Rgb{255, 0, 0}));
  EXPECT_EQ(after.At(350, 280), (Rgb{0, 128, 0})) << "translucent pixels show over black";
  EXPECT_EQ(after.At(303, 203), before.At(303, 203)) << "the hole shows what is behind";
  EXPECT_EQ(after.At(310, 210), (Rgb{255, 0, 0}));
  if (XShmQueryExtension(ws->XDisplay())) {
    EXPECT_TRUE(ws->PresentsThroughShm(w)) << "a local server shares memory";
  }
}

TEST_F(X11Windows, WithACompositorTranslucentPixelsBlendWithTheDesktop) {
  testsupport::BackgroundProcess compositor({"xcompmgr"});
  // A fresh connection: the compositor is looked up when the system starts.
  ASSERT_TRUE(PumpUntil(
      [&] {
        Atom cm = XInternAtom(ws->XDisplay(), "_NET_WM_CM_S0", False);
        return XGetSelectionOwner(ws->XDisplay(), cm) != None;
      },
      5000))
      << "xcompmgr did not start";
  ASSERT_NO_FATAL_FAILURE(Connect());
  ASSERT_TRUE(ws->HasCompositor());

  // Behind: an opaque white window; in front: 50% black and a fully transparent hole.
  WindowHandle back = Make(500, 300, 120, 120);
  ws->ShowWindow(back, ShowCommand::kShowNoActivate);
  Present(back, 0xFFFFFFFF);
  WindowHandle front = Make(520, 320, 80, 80);
  ws->ShowWindow(front, ShowCommand::kShowNormal);
  Present(front, 0x80000000, WinRect{0, 0, 20, 20});
  ASSERT_TRUE(PumpUntil([&] { return Viewable(front) && Viewable(back); }));
  PumpFor(300);
  Shot s = Screenshot();
  Rgb half = s.At(560, 360);
  EXPECT_NEAR(half.r, 127, 3) << half;
  EXPECT_NEAR(half.g, 127, 3) << half;
  EXPECT_EQ(s.At(525, 325), (Rgb{255, 255, 255})) << "the hole shows the window behind";
  EXPECT_EQ(s.At(510, 310), (Rgb{255, 255, 255}));
  ws.reset();  // before the compositor goes
}

TEST_F(X11Windows, APostFromAnotherThreadWakesTheWaitingLoop) {
  WindowHandle w = Make(0, 0, 10, 10);
  std::thread poster([&] {
    std::this_thread::sleep_for(100ms);
    ws->PostMessage(w, 0x8400, 7, 0);
  });
  Message m;
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(ws->GetMessage(m));  // no timer runs: only the post can end this wait
  poster.join();
  EXPECT_EQ(m.message, 0x8400u);
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
}

TEST_F(X11Windows, ATimerFiresAndAQuitEndsTheLoop) {
  WindowHandle w = Make(0, 0, 10, 10);
  ASSERT_TRUE(ws->SetTimer(w, 9, 30));
  Message m;
  int ticksSeen = 0;
  while (ws->GetMessage(m)) {
    if (m.message == kWmTimer && m.window == w && m.wParam == 9 && ++ticksSeen == 3) ws->PostQuitMessage(4);
    ws->DispatchMessage(m);
  }
  EXPECT_EQ(ticksSeen, 3);
  EXPECT_EQ(m.wParam, 4u);
}

TEST_F(X11Windows, ResizingIsSynchronousAndTheServersEchoAddsNothing) {
  WindowHandle w = Make(100, 100, 0, 0);
  XWindowAttributes a{};
  XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(w), &a);
  EXPECT_EQ(a.width, 1) << "a 0 x 0 window is 1 x 1 on the server";
  EXPECT_EQ(ws->GetClientRect(w), (WinRect{0, 0, 0, 0}));
  ws->SetWindowPos(w, 0, 0, 320, 240, kSwpNoMove | kSwpNoZOrder);
  ws->SetWindowPos(w, 0, 0, 330, 250, kSwpNoMove | kSwpNoZOrder);
  EXPECT_EQ(proc->Count(kWmSize), 2u);
  ws->ShowWindow(w, ShowCommand::kShowNormal);
  Present(w, 0xFF000000);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(w); }));
  PumpFor(150);
  EXPECT_EQ(proc->Count(kWmSize), 2u);
  EXPECT_EQ(ws->GetClientRect(w), (WinRect{0, 0, 330, 250}));
  XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(w), &a);
  EXPECT_EQ(a.width, 330);
}

TEST_F(X11Windows, FocusWaitsForTheMapAndMinimiseUnmapsWithoutAWindowManager) {
  WindowHandle w = Make(100, 100, 100, 100);
  ws->ShowWindow(w, ShowCommand::kShowNormal);
  EXPECT_EQ(ws->GetFocus(), w);
  ASSERT_TRUE(PumpUntil([&] { return XFocus() == ws->XWindowOf(w); }));
  ws->ShowWindow(w, ShowCommand::kMinimize);
  EXPECT_TRUE(ws->IsIconic(w));
  ASSERT_TRUE(PumpUntil([&] { return !Viewable(w); }));
  ws->ShowWindow(w, ShowCommand::kRestore);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(w) && XFocus() == ws->XWindowOf(w); }));
  EXPECT_FALSE(ws->IsIconic(w));
}

TEST_F(X11Windows, ACaptionDragMovesTheWindowByHandWithoutAWindowManager) {
  WindowHandle w = ShowPainted(200, 200, 200, 100, 0xFF404040);
  proc->handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t lp) -> std::optional<std::intptr_t> {
    if (m == kWmNcHitTest && PointY(lp) < 230) return kHtCaption;
    return std::nullopt;
  };
  ASSERT_TRUE(Act({"mousemove", "250", "210", "mousedown", "1"}, [&] { return proc->Count(kWmNcLButtonDown) == 1; }));
  Act({"mousemove", "300", "260"}, [&] { return ws->GetWindowRect(w).left == 250; });
  Act({"mouseup", "1"}, [] { return false; });
  EXPECT_EQ(ws->GetWindowRect(w), (WinRect{250, 250, 450, 350}));
  EXPECT_EQ(RootPosition(*ws, w), (WinPoint{250, 250}));
  EXPECT_EQ(proc->Count(kWmLButtonUp), 0u);
  EXPECT_EQ(proc->Count(kWmLButtonDown), 0u);
}

TEST_F(X11Windows, CaptureTakesClicksOnOtherWindowsInItsOwnCoordinates) {
  WindowHandle a = ShowPainted(100, 100, 100, 100, 0xFF202020);
  WindowHandle b = Make(400, 100, 100, 100);
  ws->ShowWindow(b, ShowCommand::kShowNoActivate);
  Present(b, 0xFF202020);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(b); }));
  ws->SetCapture(a);
  proc->seen.clear();
  ASSERT_TRUE(Act({"mousemove", "420", "130", "click", "1"}, [&] { return proc->Count(kWmLButtonUp) == 1; }));
  auto down = proc->Only({kWmLButtonDown});
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].window, a);
  EXPECT_EQ(PointX(down[0].lParam), 320);
  EXPECT_EQ(PointY(down[0].lParam), 30);
  ws->ReleaseCapture();
  proc->seen.clear();
  ASSERT_TRUE(Act({"click", "1"}, [&] { return proc->Count(kWmLButtonUp) == 1; }));
  EXPECT_EQ(proc->Only({kWmLButtonDown}).at(0).window, b);
}

TEST_F(X11Windows, HoverAfterTheRestAndLeaveWhenThePointerGoes) {
  WindowHandle w = ShowPainted(100, 100, 100, 100, 0xFF202020);
  ASSERT_TRUE(Act({"mousemove", "150", "150"}, [&] { return proc->Count(kWmMouseMove) >= 1; }));
  ws->TrackMouse(w, kTrackHover | kTrackLeave, 200);
  ASSERT_TRUE(PumpUntil([&] { return proc->Count(kWmMouseHover) == 1; }));
  EXPECT_EQ(proc->Only({kWmMouseHover})[0].lParam, PackPoint(50, 50));
  ASSERT_TRUE(Act({"mousemove", "600", "600"}, [&] { return proc->Count(kWmMouseLeave) == 1; }));
}

TEST_F(X11Windows, PopupsAreLeftToThemselvesAndNeverTakeTheFocus) {
  WindowHandle main = ShowPainted(100, 100, 200, 200, 0xFF202020);
  CreateParams p = TestWindowParams(proc.get(), 150, 150, 80, 20);
  p.kind = WindowKind::kPopup;
  p.owner = main;
  WindowHandle tip = ws->CreateWindow(p);
  ws->ShowWindow(tip, ShowCommand::kShowNormal);
  Present(tip, 0xFFFFFFE0);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(tip); }));
  XWindowAttributes a{};
  XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(tip), &a);
  EXPECT_TRUE(a.override_redirect);
  EXPECT_EQ(ws->GetFocus(), main);
  EXPECT_EQ(XFocus(), ws->XWindowOf(main));
}

TEST_F(X11Windows, TheClipboardIsServedFromTheLoopToAnotherClient) {
  WindowHandle w = Make(0, 0, 10, 10);
  ws->SetClipboardText("copié 中文");
  EXPECT_EQ(ws->GetClipboardText(), "copié 中文");
  std::thread owner([&] {
    Message m;
    while (ws->GetMessage(m)) ws->DispatchMessage(m);
  });
  std::string error;
  auto other = X11WindowSystem::Open(nullptr, &error);
  ASSERT_NE(other, nullptr) << error;
  std::string pasted = other->GetClipboardText();
  ws->PostQuitMessage(0);
  owner.join();
  EXPECT_EQ(pasted, "copié 中文");
  (void)w;
}

}  // namespace
}  // namespace platform::testing
