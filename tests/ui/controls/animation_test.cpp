#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/animation_ui.h"
#include "ui/controls/gif_handler.h"
#include "ui/controls/gif_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

struct GifFrame {
  int delay;  // hundredths of a second, as GIF files keep them
  std::uint32_t rgb;
};

// A 1 x 1 GIF with one frame per entry, each frame's pixel in its own colour.
std::string MakeGif(const std::vector<GifFrame>& frames) {
  std::string b = "GIF89a";
  b += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);  // 1 x 1, a global table of two colours
  b += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
  for (const GifFrame& f : frames) {
    b += std::string("\x21\xF9\x04\x04", 4);
    b += static_cast<char>(f.delay & 0xFF);
    b += static_cast<char>((f.delay >> 8) & 0xFF);
    b += std::string("\x00\x00", 2);
    b += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x80", 10);  // local table of two colours
    b += static_cast<char>((f.rgb >> 16) & 0xFF);
    b += static_cast<char>((f.rgb >> 8) & 0xFF);
    b += static_cast<char>(f.rgb & 0xFF);
    b += std::string("\x00\x00\x00", 3);
    b += std::string("\x02\x02\x44\x01\x00", 5);  // LZW: clear, index 0, end
  }
  b += '\x3B';
  return b;
}

const std::vector<GifFrame> kThreeFrames = {{20, 0xFF0000}, {0, 0x00FF00}, {5, 0x0000FF}};

}  // namespace

TEST(GifHandler, FramesWithTheirDelays) {
  const std::string gif = MakeGif(kThreeFrames);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(gif.data());
  EXPECT_EQ(CGifHandler::CountGifFrames(bytes, gif.size()), 3);
  CGifHandler h;
  ASSERT_TRUE(h.Load(bytes, gif.size()));
  ASSERT_EQ(h.FrameCount(), 3);
  EXPECT_EQ(h.Delay(0), 200);
  EXPECT_EQ(h.Delay(1), CGifHandler::kDefaultDelay) << "a delay of 0 shows 100 ms";
  EXPECT_EQ(h.Delay(2), 50);
  EXPECT_EQ(h.Frame(0)->pixels[0], 0xFFFF0000u);
  EXPECT_EQ(h.Frame(1)->pixels[0], 0xFF00FF00u);
  EXPECT_EQ(h.Frame(2)->pixels[0], 0xFF0000FFu);

  // Damaged files give nothing: cut short, no trailer, not an image.
  for (std::size_t cut : {gif.size() - 1, gif.size() / 2, std::size_t{12}, std::size_t{3}}) {
    EXPECT_FALSE(h.Load(bytes, cut)) << cut;
    EXPECT_EQ(h.FrameCount(), 0);
  }
  const std::string text = "no image at all";
  EXPECT_FALSE(h.Load(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  // Frames beyond the pixel budget are refused before decoding: 4096 x 4096, three frames.
  std::string huge = gif;
  huge[6] = huge[8] = 0x00;
  huge[7] = huge[9] = 0x10;
  EXPECT_FALSE(h.Load(reinterpret_cast<const std::uint8_t*>(huge.data()), huge.size()));
}

TEST(Gif, FramesAdvanceOnTheHostTimerAfterEachFramesDelay) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir / "anim.gif", MakeGif(kThreeFrames));
  const std::wstring path = platform::Utf8ToWide((dir / "anim.gif").string());
  SkinTree t(L"<Window><VerticalLayout><Gif name=\"g\" height=\"40\" gif=\"" + path +
             L"\" /><Animation name=\"a\" height=\"40\" bkimage=\"" + path + L"\" /></VerticalLayout></Window>");
  auto* g = t.Find<CGifUI>(L"g");
  ASSERT_EQ(g->Frames().FrameCount(), 3);
  unsigned id = 0;
  EXPECT_TRUE(t.host.PlatformTimerId(g, CGifUI::kFrameTimerId, id));
  EXPECT_EQ(g->CurrentFrame(), 0);
  auto advance = [&](unsigned ms) {
    t.ws.AdvanceClock(ms);
    t.Pump();
  };
  advance(199);
  EXPECT_EQ(g->CurrentFrame(), 0);
  advance(1);
  EXPECT_EQ(g->CurrentFrame(), 1);
  advance(99);
  EXPECT_EQ(g->CurrentFrame(), 1);
  advance(1);
  EXPECT_EQ(g->CurrentFrame(), 2);
  advance(50);
  EXPECT_EQ(g->CurrentFrame(), 0) << "loops";

  // The Animation control plays the same frames on its timer 1000.
  auto* a = t.Find<CAnimationUI>(L"a");
  ASSERT_EQ(a->Frames().FrameCount(), 3);
  EXPECT_TRUE(t.host.PlatformTimerId(a, CAnimationUI::kFrameTimerId, id));

  // The current frame is drawn over the control.
  auto canvas = t.Paint();
  int bitmaps = 0;
  for (const auto& op : canvas.ops)
    if (op.kind == "bitmap" && op.rc == g->Position()) ++bitmaps;
  EXPECT_EQ(bitmaps, 1);

  // Hidden: no more ticks.
  g->SetVisible(false);
  advance(1000);
  EXPECT_FALSE(g->IsPlaying());
  EXPECT_EQ(g->CurrentFrame(), 0);
}
