// Windows, painting, timers and the loop of the in-memory window system.
#include <unistd.h>

#include <thread>

#include "tests/platform/headless_fixture.h"

namespace platform::testing {
namespace {

using HeadlessWindows = HeadlessFixture;

TEST_F(HeadlessWindows, CreationSendsNonClientCreateThenCreateWithTheCallersData) {
  int data = 0;
  CreateParams p = TestWindowParams(&proc, 10, 20, 30, 40);
  p.userData = &data;
  WindowHandle w = ws.CreateWindow(p);
  ASSERT_NE(w, nullptr);
  ASSERT_GE(proc.seen.size(), 2u);
  EXPECT_EQ(proc.seen[0].message, kWmNcCreate);
  EXPECT_EQ(proc.seen[1].message, kWmCreate);
  auto* info = reinterpret_cast<CreateInfo*>(proc.seen[1].lParam);
  EXPECT_EQ(info->userData, &data);
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{10, 20, 40, 60}));
  EXPECT_EQ(ws.GetClientRect(w), (WinRect{0, 0, 30, 40}));
  EXPECT_FALSE(ws.IsVisible(w));
  EXPECT_EQ(ws.ClassNameOf(w), "TestWnd");

  p.procedure = nullptr;
  EXPECT_EQ(ws.CreateWindow(p), nullptr) << "a window needs a procedure";
}

TEST_F(HeadlessWindows, ACreateAnswerOfMinusOneDestroysTheWindowAgain) {
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmCreate) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(Make(0, 0, 10, 10), nullptr);
  EXPECT_EQ(proc.Numbers({kWmNcCreate, kWmCreate, kWmDestroy, kWmNcDestroy}),
            (std::vector<std::uint32_t>{kWmNcCreate, kWmCreate, kWmDestroy, kWmNcDestroy}));
  EXPECT_TRUE(ws.Windows().empty());
}

TEST_F(HeadlessWindows, DestroyUnmapsFirstDestroysOwnedWindowsFirstAndNeverReusesHandles) {
  WindowHandle owner = Make(0, 0, 100, 100);
  WindowHandle owned = Make(10, 10, 20, 20, owner);
  ws.ShowWindow(owner, ShowCommand::kShowNormal);
  bool visibleInDestroy = true;
  proc.handler = [&](WindowHandle w, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmDestroy && w == owner) visibleInDestroy = ws.IsVisible(w);
    return std::nullopt;
  };
  proc.seen.clear();
  ws.DestroyWindow(owner);
  auto destroys = proc.Only({kWmDestroy});
  ASSERT_EQ(destroys.size(), 2u);
  EXPECT_EQ(destroys[0].window, owned);
  EXPECT_EQ(destroys[1].window, owner);
  EXPECT_EQ(proc.seen.back().message, kWmNcDestroy);
  EXPECT_FALSE(visibleInDestroy);
  EXPECT_FALSE(ws.IsWindow(owner));
  EXPECT_FALSE(ws.IsWindow(owned));
  WindowHandle next = Make(0, 0, 10, 10);
  EXPECT_NE(next, owner);
  EXPECT_NE(next, owned);
}

TEST_F(HeadlessWindows, MessagesOfADestroyedWindowGoToTheDiscardHookNotToItsProcedure) {
  WindowHandle w = Make(0, 0, 10, 10);
  std::vector<std::uint32_t> discarded;
  ws.SetDiscardedMessageHook([&](const Message& m) { discarded.push_back(m.message); });
  ASSERT_TRUE(ws.PostMessage(w, 0x8400, 1, 2));
  ASSERT_TRUE(ws.PostMessage(w, 0x8401, 1, 2));
  ws.DestroyWindow(w);
  EXPECT_EQ(discarded, (std::vector<std::uint32_t>{0x8400, 0x8401}));
  EXPECT_FALSE(ws.PostMessage(w, 0x8400, 1, 2)) << "a post to a dead window is refused";
  proc.seen.clear();
  ws.PumpMessages();
  EXPECT_TRUE(proc.seen.empty());
}

TEST_F(HeadlessWindows, MessagesStillQueuedWhenTheSystemGoesAwayAreDiscarded) {
  std::vector<std::uint32_t> discarded;
  {
    HeadlessWindowSystem other;
    RecordingProcedure p(other);
    WindowHandle w = other.CreateWindow(TestWindowParams(&p, 0, 0, 10, 10));
    other.SetDiscardedMessageHook([&](const Message& m) { discarded.push_back(m.message); });
    other.PostMessage(w, 0x8400, 0, 0);
  }
  EXPECT_EQ(discarded, (std::vector<std::uint32_t>{0x8400}));
}

TEST_F(HeadlessWindows, ResizingDeliversSizeAtOnceAndInvalidatesTheWholeWindow) {
  WindowHandle w = Make(0, 0, 0, 0);
  ws.SetWindowPos(w, 50, 60, 300, 200, kSwpNoZOrder);
  auto sizes = proc.Only({kWmSize, kWmMove});
  ASSERT_EQ(sizes.size(), 2u) << "delivered before SetWindowPos returned";
  EXPECT_EQ(sizes[0].message, kWmMove);
  EXPECT_EQ(sizes[1].message, kWmSize);
  EXPECT_EQ(sizes[1].wParam, kSizeRestored);
  EXPECT_EQ(PointX(sizes[1].lParam), 300);
  EXPECT_EQ(PointY(sizes[1].lParam), 200);
  WinRect update;
  ASSERT_TRUE(ws.GetUpdateRect(w, &update));
  EXPECT_EQ(update, (WinRect{0, 0, 300, 200}));

  proc.seen.clear();
  ws.SetWindowPos(w, 0, 0, 300, 200, kSwpNoMove);
  EXPECT_TRUE(proc.seen.empty()) << "same size, no move: nothing happens";
  ws.SetWindowPos(w, 5, 5, 1, 1, kSwpNoSize);
  EXPECT_EQ(proc.Numbers({kWmMove, kWmSize}), (std::vector<std::uint32_t>{kWmMove}));
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{5, 5, 305, 205}));
}

TEST_F(HeadlessWindows, PaintComesForShownWindowsWithAnInvalidAreaAfterOtherMessages) {
  WindowHandle w = Make(0, 0, 100, 100);
  ws.InvalidateRect(w, nullptr);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmPaint), 0u) << "a hidden window is not painted";

  ws.ShowWindow(w, ShowCommand::kShowNoActivate);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmPaint), 1u);
  EXPECT_FALSE(ws.GetUpdateRect(w, nullptr)) << "the default procedure validated it";

  proc.seen.clear();
  WinRect a{10, 10, 20, 20}, b{50, 40, 60, 45};
  ws.InvalidateRect(w, &a);
  ws.InvalidateRect(w, &b);
  WinRect update;
  ASSERT_TRUE(ws.GetUpdateRect(w, &update));
  EXPECT_EQ(update, (WinRect{10, 10, 60, 45}));
  WinRect outside{200, 200, 300, 300};
  ws.InvalidateRect(w, &outside);
  ASSERT_TRUE(ws.GetUpdateRect(w, &update));
  EXPECT_EQ(update, (WinRect{10, 10, 60, 45})) << "clipped to the client area";

  ws.PostMessage(w, kWmUser, 0, 0);
  ws.PumpMessages();
  EXPECT_EQ(proc.Numbers({kWmUser, kWmPaint}), (std::vector<std::uint32_t>{kWmUser, kWmPaint}));
}

TEST_F(HeadlessWindows, AProcedureThatIgnoresPaintIsNotAskedAgainUntilTheAreaChanges) {
  WindowHandle w = Make(0, 0, 100, 100);
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::optional<std::intptr_t> {
    if (m == kWmPaint) return 0;  // never validates
    return std::nullopt;
  };
  ws.ShowWindow(w, ShowCommand::kShowNoActivate);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmPaint), 1u);
  ws.InvalidateRect(w, nullptr);
  ws.PumpMessages();
  EXPECT_EQ(proc.Count(kWmPaint), 2u);
}

TEST_F(HeadlessWindows, ThePresentedBitmapIsKeptWithItsConstantAlpha) {
  WindowHandle w = Make(0, 0, 4, 3);
  std::vector<std::uint32_t> px(8 * 3, 0xDEADBEEF);  // stride of 8 pixels, 4 used
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) px[y * 8 + x] = 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x);
  ws.UpdateLayeredWindow(w, px.data(), 4, 3, 8 * 4, 128);
  const auto* shown = ws.LastPresented(w);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->width, 4);
  EXPECT_EQ(shown->height, 3);
  EXPECT_EQ(shown->constantAlpha, 128);
  EXPECT_EQ(shown->Pixel(3, 2), 0xFF000023u);
  EXPECT_EQ(shown->Pixel(0, 1), 0xFF000010u);
  EXPECT_EQ(shown->count, 1u);
  px[0] = 0;
  EXPECT_EQ(shown->Pixel(0, 0), 0xFF000000u) << "a copy, not the caller's buffer";
}

TEST_F(HeadlessWindows, TimersTickPeriodicallyWithoutReplayingMissedTicks) {
  WindowHandle w = Make(0, 0, 10, 10);
  ASSERT_TRUE(ws.SetTimer(w, 7, 40));
  struct Step {
    unsigned advance;
    std::size_t ticks;  // so far
    const char* why;
  } steps[] = {
      {39, 0, "not due yet"},
      {1, 1, "due"},
      {1000, 2, "a long stall gives one tick, not 25"},
      {39, 2, "rescheduled from the late tick"},
      {1, 3, "due again"},
      {45, 4, "a little late"},
      {35, 5, "the next keeps the pace"},
  };
  for (const Step& s : steps) EXPECT_EQ(TicksAfter(s.advance), s.ticks) << s.why;
  EXPECT_EQ(proc.Only({kWmTimer})[0].wParam, 7u);
  EXPECT_TRUE(ws.KillTimer(w, 7));
  EXPECT_FALSE(ws.KillTimer(w, 7));
  EXPECT_EQ(TicksAfter(100), 5u);
}

TEST_F(HeadlessWindows, TimerPeriodsHaveAFloorAndSettingAgainRestarts) {
  WindowHandle w = Make(0, 0, 10, 10);
  ws.SetTimer(w, 1, 1);
  EXPECT_EQ(TicksAfter(9), 0u);
  EXPECT_EQ(TicksAfter(1), 1u);

  ws.SetTimer(w, 2, 100);
  ws.AdvanceClock(60);
  ws.SetTimer(w, 2, 100);  // restarted: due 100 ms from now
  proc.seen.clear();
  ws.AdvanceClock(60);
  ws.PumpMessages();
  ws.KillTimer(w, 1);
  for (const Seen& s : proc.Only({kWmTimer})) EXPECT_NE(s.wParam, 2u);
  EXPECT_TRUE(ws.AdvanceToNextDeadline());
  ws.PumpMessages();
  EXPECT_EQ(proc.Only({kWmTimer}).back().wParam, 2u);

  ws.DestroyWindow(w);
  EXPECT_FALSE(ws.AdvanceToNextDeadline()) << "a window's timers die with it";
  EXPECT_FALSE(ws.SetTimer(w, 1, 10));
}

TEST_F(HeadlessWindows, QuitComesAfterTheMessagesAlreadyQueued) {
  WindowHandle w = Make(0, 0, 10, 10);
  ws.PostMessage(w, kWmUser, 0, 0);
  ws.PostQuitMessage(3);
  ws.PostMessage(w, kWmUser + 1, 0, 0);
  Message m;
  ASSERT_TRUE(ws.GetMessage(m));
  EXPECT_EQ(m.message, kWmUser);
  ASSERT_TRUE(ws.GetMessage(m));
  EXPECT_EQ(m.message, kWmUser + 1);
  EXPECT_FALSE(ws.GetMessage(m));
  EXPECT_EQ(m.message, kWmQuit);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(ws.DryRuns(), 0u);
}

TEST_F(HeadlessWindows, GetMessageAsksTheIdleCallbackAndEndsWhenItHasNothingToDo) {
  WindowHandle w = Make(0, 0, 10, 10);
  Message m;
  EXPECT_FALSE(ws.GetMessage(m)) << "nothing queued and no idle callback";
  EXPECT_EQ(m.message, kWmQuit);
  EXPECT_EQ(ws.DryRuns(), 1u);

  int calls = 0;
  ws.SetTimer(w, 5, 250);
  ws.SetIdleCallback([&] {
    ++calls;
    return calls <= 2 && ws.AdvanceToNextDeadline();
  });
  int ticks = 0;
  while (ws.GetMessage(m)) {
    if (m.message == kWmTimer) ++ticks;
    ws.DispatchMessage(m);
  }
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(ws.TickCount(), 1000u + 500u);
}

TEST_F(HeadlessWindows, PostFromAnotherThreadReachesTheLoop) {
  WindowHandle w = Make(0, 0, 10, 10);
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ws.PostMessage(w, 0x8400, 42, 0);
  });
  ws.SetIdleCallback([&] { return ws.WaitForPost(5000); });
  Message m;
  ASSERT_TRUE(ws.GetMessage(m));
  worker.join();
  EXPECT_EQ(m.message, 0x8400u);
  EXPECT_EQ(m.wParam, 42u);
}

TEST_F(HeadlessWindows, AReadableDescriptorWakesTheLoopAndRunsItsWatch) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  WindowHandle w = Make(0, 0, 10, 10);
  int calls = 0;
  ws.AddFdWatch(fds[0], [&] {
    char c;
    EXPECT_EQ(read(fds[0], &c, 1), 1);
    ++calls;
    ws.PostMessage(w, kWmUser, static_cast<std::uintptr_t>(c), 0);
    return false;  // one-shot
  });
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  Message m;
  ASSERT_TRUE(ws.GetMessage(m));
  EXPECT_EQ(m.message, kWmUser);
  EXPECT_EQ(m.wParam, static_cast<std::uintptr_t>('x'));
  EXPECT_EQ(ws.FdWatchCount(), 0u) << "a callback that answers false removes its watch";
  close(fds[0]);
  close(fds[1]);
}

TEST_F(HeadlessWindows, DefaultProcedureCarriesOutSystemCommands) {
  ws.SetWorkArea(WinRect{0, 0, 1280, 760});
  WindowHandle w = Shown(100, 100, 200, 150);
  ws.SendMessage(w, kWmSysCommand, kScMaximize, 0);
  EXPECT_TRUE(ws.IsZoomed(w));
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{0, 0, 1280, 760}));
  EXPECT_EQ(proc.Only({kWmSize}).back().wParam, kSizeMaximized);
  EXPECT_EQ(proc.Count(kWmGetMinMaxInfo), 1u);

  ws.SendMessage(w, kWmSysCommand, kScRestore, 0);
  EXPECT_FALSE(ws.IsZoomed(w));
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{100, 100, 300, 250}));

  ws.SendMessage(w, kWmSysCommand, kScMinimize | 0x2, 0);  // the low bits are the platform's
  EXPECT_TRUE(ws.IsIconic(w));
  EXPECT_EQ(proc.Only({kWmSize}).back().wParam, kSizeMinimized);
  EXPECT_EQ(ws.GetActiveWindow(), nullptr);
  ws.ShowWindow(w, ShowCommand::kRestore);
  EXPECT_FALSE(ws.IsIconic(w));
  EXPECT_EQ(ws.GetActiveWindow(), w);

  ws.SendMessage(w, kWmSysCommand, kScClose, 0);
  EXPECT_EQ(proc.Numbers({kWmClose, kWmDestroy}), (std::vector<std::uint32_t>{kWmClose, kWmDestroy}));
  EXPECT_FALSE(ws.IsWindow(w));
}

TEST_F(HeadlessWindows, MaximisingHonoursTheProceduresLimits) {
  WindowHandle w = Shown(100, 100, 200, 150);
  proc.handler = [](WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t lp) -> std::optional<std::intptr_t> {
    if (m != kWmGetMinMaxInfo) return std::nullopt;
    auto* info = reinterpret_cast<MinMaxInfo*>(lp);
    info->maxTrackSize = WinPoint{900, 600};
    return 0;
  };
  ws.SendMessage(w, kWmSysCommand, kScMaximize, 0);
  EXPECT_EQ(ws.GetWindowRect(w), (WinRect{0, 0, 900, 600}));
}

TEST_F(HeadlessWindows, RoundRegionIsKeptAndCutsTheCornersOutOfTheMouseArea) {
  WindowHandle w = Shown(100, 100, 100, 100);
  ws.SetRoundRegion(w, 101, 101, 40, 40);
  auto r = ws.RoundRegionOf(w);
  EXPECT_EQ(r.width, 101);
  EXPECT_EQ(r.ellipseWidth, 40);
  EXPECT_EQ(ws.WindowAt(WinPoint{100, 100}), nullptr) << "the corner is cut";
  EXPECT_EQ(ws.WindowAt(WinPoint{120, 100}), w) << "the straight edge is not";
  EXPECT_EQ(ws.WindowAt(WinPoint{150, 150}), w);
  ws.SetRoundRegion(w, 0, 0, 0, 0);
  EXPECT_EQ(ws.WindowAt(WinPoint{100, 100}), w);
}

TEST_F(HeadlessWindows, DesktopServicesAnswerFromMemory) {
  ws.SetScreen(WinRect{0, 0, 1920, 1080});
  ws.SetWorkArea(WinRect{0, 30, 1920, 1080});
  ws.SetCompositor(true);
  EXPECT_EQ(ws.ScreenRect(), (WinRect{0, 0, 1920, 1080}));
  EXPECT_EQ(ws.WorkArea(nullptr), (WinRect{0, 30, 1920, 1080}));
  EXPECT_TRUE(ws.HasCompositor());
  ws.SetClipboardText("héllo");
  EXPECT_EQ(ws.GetClipboardText(), "héllo");
  ws.Beep();
  ws.Beep();
  EXPECT_EQ(ws.BeepCount(), 2u);
  WindowHandle w = Make(0, 0, 10, 10);
  ws.SetTitle(w, "Setup — 安装");
  EXPECT_EQ(ws.TitleOf(w), "Setup — 安装");
}

}  // namespace
}  // namespace platform::testing
