#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/sequence_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

const wchar_t kSequences[] =
    L"<Window><VerticalLayout>"
    L"<Sequence name=\"seq_inst\" bkcolor=\"#E90505\" width=\"767\" height=\"12\" imagecount=\"48\" elapse=\"40\""
    L" bkimage=\"seq_inst.png\" />"
    L"<FadeSequence name=\"seq_introduce\" height=\"398\" width=\"767\" imagecount=\"3\" elapse=\"3000\""
    L" bkimage=\"seq_introduce.png\" />"
    L"</VerticalLayout></Window>";

struct SequenceTest : ::testing::Test {

  // Runs the desktop's clock forward in steps of `step` milliseconds, dispatching the timers
  // that come due.
  static void RunFor(SkinTree& t, unsigned ms, unsigned step) {
    for (unsigned done = 0; done < ms; done += step) {
      t.ws.AdvanceClock(step);
      t.Pump();
    }
  }
  static void Tick(SkinTree&, CControlUI* c, std::uintptr_t id) {
    SkinEvent e;
    e.type = kEventTimer;
    e.sender = c;
    e.wParam = static_cast<std::intptr_t>(id);
    c->DispatchEvent(e);
  }
  // Source strips (left edge) and opacities of the frames painted.
  static std::vector<std::pair<int, int>> Frames(const testsupport::SpecCanvas& canvas, const std::wstring& file) {
    std::vector<std::pair<int, int>> out;
    for (const SkinImageSpec& s : canvas.specs)
      if (s.file == file) out.emplace_back(s.source.left, s.fade);
    return out;
  }
};

using FrameList = std::vector<std::pair<int, int>>;

}  // namespace

TEST_F(SequenceTest, InstallBarCyclesEndlesslyFromTheLastFrameToTheFirst) {
  SkinTree t(kSequences);
  auto* seq = t.Find<CSequenceUI>(L"seq_inst");
  EXPECT_EQ(Frames(t.Paint(), L"seq_inst.png"), (FrameList{{0, 255}}));
  for (int i = 0; i < 47; ++i) Tick(t, seq, CSequenceUI::kFrameTimerId);
  EXPECT_EQ(seq->CurrentFrame(), 47);
  EXPECT_EQ(Frames(t.Paint(), L"seq_inst.png"), (FrameList{{47 * 767, 255}}));
  Tick(t, seq, CSequenceUI::kFrameTimerId);
  EXPECT_EQ(seq->CurrentFrame(), 0);
  EXPECT_EQ(seq->LoopsDone(), 1);
  for (int i = 0; i < 48 * 3; ++i) Tick(t, seq, CSequenceUI::kFrameTimerId);
  EXPECT_EQ(seq->CurrentFrame(), 0);  // loop count 0: no end
  EXPECT_EQ(seq->LoopsDone(), 4);
  Tick(t, seq, 7);  // another timer of the control is a "timer" notification
  EXPECT_EQ(seq->CurrentFrame(), 0);
  ASSERT_FALSE(t.log.seen.empty());
  EXPECT_EQ(t.log.seen.back().type, L"timer");
}

TEST_F(SequenceTest, FewerThanTwoFramesDrawThePlainBackground) {
  SkinTree t(kSequences);
  auto* seq = t.Find<CSequenceUI>(L"seq_inst");
  seq->SetFrameCount(1);
  auto frames = Frames(t.Paint(), L"seq_inst.png");
  EXPECT_EQ(frames, (FrameList{{0, 255}}));
  auto* fade = t.Find<CFadeSequenceUI>(L"seq_introduce");
  fade->SetFrameCount(0);
  Tick(t, fade, CSequenceUI::kFrameTimerId);
  Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
  auto canvas = t.Paint();
  ASSERT_EQ(Frames(canvas, L"seq_introduce.png").size(), 1u);
  EXPECT_EQ(canvas.specs.back().source, SkinRect{});  // the whole image, as any background
}

TEST_F(SequenceTest, SlideshowHoldsThenCrossFades) {
  SkinTree t(kSequences);
  auto* fade = t.Find<CFadeSequenceUI>(L"seq_introduce");
  EXPECT_EQ(Frames(t.Paint(), L"seq_introduce.png"), (FrameList{{0, 255}}));
  Tick(t, fade, CSequenceUI::kFrameTimerId);  // frame 0 was shown for its interval
  EXPECT_EQ(fade->FadeLevel(), 25);
  EXPECT_EQ(Frames(t.Paint(), L"seq_introduce.png"), (FrameList{{0, 230}, {767, 25}}));
  std::vector<int> levels;
  while (fade->FadeLevel() != 0) {
    Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
    levels.push_back(fade->FadeLevel());
  }
  // 50 .. 250, then 275 (only the next frame), then the switch one tick later.
  EXPECT_EQ(levels, (std::vector<int>{50, 75, 100, 125, 150, 175, 200, 225, 250, 275, 0}));
  EXPECT_EQ(fade->CurrentFrame(), 1);
  // Frame 2 fades into frame 0.
  Tick(t, fade, CSequenceUI::kFrameTimerId);
  while (fade->FadeLevel() != 0) Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
  Tick(t, fade, CSequenceUI::kFrameTimerId);
  for (int i = 0; i < 10; ++i) Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
  EXPECT_EQ(fade->FadeLevel(), 275);
  EXPECT_EQ(Frames(t.Paint(), L"seq_introduce.png"), (FrameList{{0, 255}}));
  Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
  EXPECT_EQ(fade->CurrentFrame(), 0);
  EXPECT_EQ(fade->LoopsDone(), 1);
}

TEST_F(SequenceTest, SlideshowWithOnePassStopsOnItsLastFrame) {
  SkinTree t(kSequences);
  auto* fade = t.Find<CFadeSequenceUI>(L"seq_introduce");
  fade->SetLoopLimit(1);
  for (int frame = 0; frame < 2; ++frame) {
    Tick(t, fade, CSequenceUI::kFrameTimerId);
    while (fade->FadeLevel() != 0) Tick(t, fade, CFadeSequenceUI::kFadeTimerId);
  }
  EXPECT_EQ(fade->CurrentFrame(), 2);
  Tick(t, fade, CSequenceUI::kFrameTimerId);  // no fade back to frame 0
  EXPECT_EQ(fade->FadeLevel(), 0);
  EXPECT_EQ(fade->CurrentFrame(), 2);
  EXPECT_EQ(fade->LoopsDone(), 1);
  fade->Stop(true);
  EXPECT_EQ(fade->CurrentFrame(), 0);
  EXPECT_EQ(fade->LoopsDone(), 0);
}

TEST_F(SequenceTest, TimersOfTheWindowDriveTheAnimations) {
  SkinTree t(kSequences);
  auto* seq = t.Find<CSequenceUI>(L"seq_inst");
  auto* fade = t.Find<CFadeSequenceUI>(L"seq_introduce");
  RunFor(t, 400, 40);
  EXPECT_EQ(seq->CurrentFrame(), 0);  // idle until started
  seq->Start();
  fade->Start();
  RunFor(t, 47 * 40, 40);
  EXPECT_EQ(seq->CurrentFrame(), 47);
  EXPECT_EQ(fade->FadeLevel(), 0);  // frame 0 is held for 3000 ms
  RunFor(t, 40, 40);
  EXPECT_EQ(seq->CurrentFrame(), 0);
  RunFor(t, 3000 - 48 * 40 - 40, 40);
  EXPECT_EQ(fade->FadeLevel(), 0);
  RunFor(t, 40, 40);
  EXPECT_EQ(fade->FadeLevel(), 25);
  RunFor(t, 1100, 100);  // ten fade steps, the switch one tick later
  EXPECT_EQ(fade->FadeLevel(), 0);
  EXPECT_EQ(fade->CurrentFrame(), 1);

  // Two passes, then the bar stops on frame 0 and its timer is gone.
  seq->Stop(true);
  seq->SetLoopLimit(2);
  seq->Start();
  RunFor(t, 96 * 40, 40);
  EXPECT_EQ(seq->CurrentFrame(), 0);
  EXPECT_EQ(seq->LoopsDone(), 2);
  RunFor(t, 400, 40);
  EXPECT_EQ(seq->CurrentFrame(), 0);

  // Stop(false) freezes the current frame; Stop(true) goes back to the first.
  seq->SetLoopLimit(0);
  seq->Start();
  RunFor(t, 5 * 40, 40);
  seq->Stop(false);
  RunFor(t, 400, 40);
  EXPECT_EQ(seq->CurrentFrame(), 5);
  seq->Stop(true);
  EXPECT_EQ(seq->CurrentFrame(), 0);
  fade->Stop(false);
  const int frame = fade->CurrentFrame();
  RunFor(t, 5000, 100);
  EXPECT_EQ(fade->CurrentFrame(), frame);
}
