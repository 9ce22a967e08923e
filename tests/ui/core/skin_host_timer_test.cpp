// Timers of controls, the caret's blink, queued notifications and delayed cleanup, all driven by
// the window's own loop and the in-memory desktop's clock.
#include <gtest/gtest.h>

#include "tests/ui/core/skin_window_fixture.h"
#include "ui/core/container_ui.h"

namespace skintest {
namespace {

namespace pf = platform;

const wchar_t* const kSkin =
    L"<Window size=\"100,60\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FF102030\">"
    L"<Probe name=\"a\" float=\"true\" pos=\"0,0,50,30\" bkcolor=\"#FFFFFFFF\" />"
    L"<Probe name=\"b\" float=\"true\" pos=\"50,0,100,30\" />"
    L"</VerticalLayout>"
    L"</Window>";

class HostTimerTest : public SkinWindowTest {
 protected:
  void SetUp() override {
    SkinWindowTest::SetUp();
    Open(kSkin);
    a = ProbeOf(L"a");
    b = ProbeOf(L"b");
    ASSERT_FALSE(HasFailure());  // no body without its probes
  }
  unsigned IdOf(CControlUI* c, std::uintptr_t id) {
    unsigned platformId = 0;
    EXPECT_TRUE(Host().PlatformTimerId(c, id, platformId));
    return platformId;
  }
  std::vector<std::intptr_t> TimerEvents(ProbeUI* p) {
    std::vector<std::intptr_t> ids;
    for (const SkinEvent& e : p->events)
      if (e.type == kEventTimer) ids.push_back(e.wParam);
    return ids;
  }
  ProbeUI* a = nullptr;
  ProbeUI* b = nullptr;
};

TEST_F(HostTimerTest, ATimerTicksAsEventAndNotificationWithTheControlsOwnId) {
  ASSERT_TRUE(Host().SetTimer(a, 7, 100));
  EXPECT_EQ(IdOf(a, 7), 17u) << "the first timer of a window";
  ws.AdvanceClock(100);
  Pump();
  ws.AdvanceClock(100);
  Pump();
  EXPECT_EQ(TimerEvents(a), (std::vector<std::intptr_t>{7, 7}));
  ASSERT_EQ(wnd->Count(L"timer"), 2);
  EXPECT_EQ(wnd->notes.back().sender, a);
  EXPECT_EQ(wnd->notes.back().wParam, 7);
  EXPECT_TRUE(Host().KillTimer(a, 7));
  ws.AdvanceClock(500);
  Pump();
  EXPECT_EQ(TimerEvents(a).size(), 2u);
}

TEST_F(HostTimerTest, AKilledTimerRestartsUnderItsOldIdAndARunningOneCannotStartTwice) {
  ASSERT_TRUE(Host().SetTimer(a, 1, 50));
  ASSERT_TRUE(Host().SetTimer(a, 2, 50));
  EXPECT_FALSE(Host().SetTimer(a, 1, 80)) << "already running";
  EXPECT_TRUE(Host().KillTimer(a, 1));
  ASSERT_TRUE(Host().SetTimer(b, 1, 50));
  EXPECT_EQ(IdOf(b, 1), 19u);
  ASSERT_TRUE(Host().SetTimer(a, 1, 50));
  EXPECT_EQ(IdOf(a, 1), 17u);
  ws.AdvanceClock(50);
  Pump();
  std::vector<std::intptr_t> fired = TimerEvents(a);
  std::sort(fired.begin(), fired.end());
  EXPECT_EQ(fired, (std::vector<std::intptr_t>{1, 2}));
  EXPECT_EQ(TimerEvents(b), (std::vector<std::intptr_t>{1}));
}

TEST_F(HostTimerTest, IdsWrapAfter254AndSkipIdsStillInUse) {
  ASSERT_TRUE(Host().SetTimer(b, 1, 1000));  // keeps 17 for the whole test
  std::vector<unsigned> ids;
  for (int i = 0; i < 256; ++i) {
    ASSERT_TRUE(Host().SetTimer(a, 1, 1000)) << i;
    ids.push_back(IdOf(a, 1));
    Host().KillTimers(a);  // the record goes: the id is free again
  }
  EXPECT_EQ(ids[0], 18u);
  EXPECT_EQ(ids[236], 254u);
  EXPECT_EQ(ids[237], 0u) << "after 254 the sequence wraps to 0";
  EXPECT_EQ(ids[253], 16u);
  EXPECT_EQ(ids[254], 18u) << "17 still runs for b: skipped";
  // Both timers are told apart when they fire.
  ws.AdvanceClock(1000);
  Pump();
  EXPECT_EQ(TimerEvents(b).size(), 1u);
  EXPECT_TRUE(TimerEvents(a).empty());

  // Every id held: a new timer fails instead of taking a running one's id.
  Host().RemoveAllTimers();
  for (std::uintptr_t id = 0; id < 255; ++id) ASSERT_TRUE(Host().SetTimer(a, id, 1000)) << id;
  EXPECT_FALSE(Host().SetTimer(b, 1, 1000));
  Host().KillTimer(a, 3);  // killed, but kept for its restart
  EXPECT_FALSE(Host().SetTimer(b, 1, 1000));
}

TEST_F(HostTimerTest, ADestroyedControlTakesItsTimersWithIt) {
  ASSERT_TRUE(Host().SetTimer(b, 5, 100));
  auto* root = static_cast<CContainerUI*>(Host().Root());
  root->SetDelayedDestroy(false);
  ASSERT_TRUE(root->Remove(b));  // destroyed now
  unsigned id = 0;
  EXPECT_FALSE(Host().PlatformTimerId(b, 5, id));
  ws.AdvanceClock(200);
  Pump();  // the platform timer is stopped; nothing is dispatched to the dead control
  EXPECT_TRUE(Host().SetTimer(a, 5, 100));
  EXPECT_EQ(IdOf(a, 5), 18u);
}

TEST_F(HostTimerTest, TheCaretBlinksAtTheCaretBlinkTime) {
  Host().CreateCaret(a, 2, 10);
  Host().SetCaretPos({4, 4});
  Host().ShowCaret(true);
  Pump();
  const auto pixel = [&] { return ws.LastPresented(H())->Pixel(5, 8); };
  EXPECT_EQ(pixel(), 0xFF000000u) << "drawn in the default text colour";
  EXPECT_EQ(ws.LastPresented(H())->Pixel(7, 8), 0xFFFFFFFFu);
  ws.AdvanceClock(ws.CaretBlinkTime());
  Pump();
  EXPECT_FALSE(Host().IsCaretVisible());
  EXPECT_EQ(pixel(), 0xFFFFFFFFu);
  ws.AdvanceClock(ws.CaretBlinkTime());
  Pump();
  EXPECT_EQ(pixel(), 0xFF000000u);
  Host().ShowCaret(false);
  Pump();
  EXPECT_EQ(pixel(), 0xFFFFFFFFu);
}

TEST_F(HostTimerTest, AQueuedNotificationReachesAnIdleLoopEvenWhenItsSenderIsGone) {
  auto* root = static_cast<CContainerUI*>(Host().Root());
  root->SetDelayedDestroy(false);
  wnd->notes.clear();
  Host().SendNotify(b, L"later", 3, 4, true);
  Host().SendNotify(a, L"later", 5, 6, true);
  EXPECT_TRUE(wnd->notes.empty());
  ASSERT_TRUE(root->Remove(b));
  EXPECT_GT(Pump(), 0) << "queueing woke the loop";
  ASSERT_EQ(wnd->notes.size(), 2u);
  EXPECT_EQ(wnd->notes[0].sender, nullptr);
  EXPECT_EQ(wnd->notes[0].wParam, 3);
  EXPECT_EQ(wnd->notes[1].sender, a);
}

TEST_F(HostTimerTest, AReplacedRootIsDestroyedByThePostedCleanup) {
  bool destroyed = false;
  struct Flag {
    static bool Set(CControlUI& c) {
      *reinterpret_cast<bool*>(c.Tag()) = true;
      return true;
    }
  };
  CControlUI* old = Host().Root();
  old->SetTag(reinterpret_cast<std::intptr_t>(&destroyed));
  old->onDestroy.Add(CDelegateUI<CControlUI>::Function(&Flag::Set));
  Host().AttachRoot(std::make_unique<CContainerUI>());
  EXPECT_FALSE(destroyed) << "not while the current message may still use it";
  Pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Host().DelayedCleanupCount(), 0u);
}

}  // namespace
}  // namespace skintest
