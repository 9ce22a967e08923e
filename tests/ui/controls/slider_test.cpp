#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/slider_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

// 210 pixels wide with a 10 x 10 thumb: the thumb's centre travels from x 5 to x 205.
std::wstring SliderSkin(const std::wstring& attributes) {
  return L"<Window><VerticalLayout><HorizontalLayout height=\"20\"><Slider name=\"s\" width=\"210\" "
         L"thumbimage=\"fore.png\" thumbhotimage=\"hotfore.png\" " + attributes +
         L" /><Control /></HorizontalLayout><Control /></VerticalLayout></Window>";
}

std::vector<std::intptr_t> Changes(const SkinTree& t) {
  std::vector<std::intptr_t> out;
  for (const auto& r : t.log.seen)
    if (r.type == L"valuechanged") out.push_back(r.wParam);
  return out;
}

}  // namespace

TEST(Slider, ClickOnTheTrackJumpsAndSnapsToTheStep) {
  SkinTree t(SliderSkin(L"step=\"5\""));
  auto* s = t.Find<CSliderUI>(L"s");
  EXPECT_EQ(s->ThumbSize(), (SkinSize{10, 10}));
  EXPECT_EQ(s->ThumbRect(), (SkinRect{0, 5, 10, 15}));
  t.Click({105, 10}, {105, 10});
  EXPECT_EQ(s->Value(), 50);
  EXPECT_EQ(s->ThumbRect(), (SkinRect{100, 5, 110, 15}));
  t.Click({112, 10}, {112, 10});  // 53.5 rounds to 55 on the steps of 5
  EXPECT_EQ(s->Value(), 55);
  t.Click({150, 10}, {400, 10});  // pressed on the track, then dragged past the end
  EXPECT_EQ(s->Value(), 100);
  EXPECT_EQ(Changes(t), (std::vector<std::intptr_t>{50, 55, 100}));
}

TEST(Slider, DraggingTheThumbNotifiesAtTheEndOrOnEveryMove) {
  {
    SkinTree t(SliderSkin(L""));
    auto* s = t.Find<CSliderUI>(L"s");
    s->SetValue(50);
    // Taken 3 pixels right of its centre, the thumb keeps that grip while dragged.
    t.ws.MouseMove(t.handle, 108, 10);
    t.ws.MouseDown(t.handle, 108, 10);
    t.Pump();
    EXPECT_NE(s->ThumbState() & 0x10, 0u) << "pushed";
    t.MoveTo({158, 10});
    EXPECT_EQ(s->Value(), 75);
    t.MoveTo({58, 10});
    EXPECT_EQ(s->Value(), 25);
    EXPECT_TRUE(Changes(t).empty()) << "nothing while dragging";
    t.ws.MouseUp(t.handle, 58, 10);
    t.Pump();
    EXPECT_EQ(Changes(t), (std::vector<std::intptr_t>{25}));
    EXPECT_EQ(s->ThumbState() & 0x10, 0u);
  }
  SkinTree t(SliderSkin(L"notifyonmove=\"true\""));
  t.ws.MouseMove(t.handle, 5, 10);
  t.ws.MouseDown(t.handle, 5, 10);
  t.Pump();
  t.MoveTo({25, 10});
  t.MoveTo({25, 12});  // no change: no notification
  t.MoveTo({45, 10});
  t.ws.MouseUp(t.handle, 45, 10);
  t.Pump();
  EXPECT_EQ(Changes(t), (std::vector<std::intptr_t>{10, 20}));
}

TEST(Slider, KeysWheelAndThumbLook) {
  SkinTree t(SliderSkin(L"min=\"10\" max=\"60\" value=\"20\" step=\"2\""));
  auto* s = t.Find<CSliderUI>(L"s");
  s->SetFocus();
  t.Key(platform::kVkRight);
  EXPECT_EQ(s->Value(), 22);
  t.Key(platform::kVkLeft);
  t.Key(platform::kVkLeft);
  EXPECT_EQ(s->Value(), 18);
  t.Key(kVkEnd);
  EXPECT_EQ(s->Value(), 60);
  t.Key(platform::kVkRight);
  EXPECT_EQ(s->Value(), 60) << "kept at the maximum";
  t.Key(kVkHome);
  EXPECT_EQ(s->Value(), 10);
  t.ws.Wheel(t.handle, 50, 10, 1);
  t.Pump();
  EXPECT_EQ(s->Value(), 12);
  EXPECT_EQ(Changes(t), (std::vector<std::intptr_t>{22, 20, 18, 60, 10, 12}));

  // The thumb image is drawn at the thumb; the hot one under the pointer.
  t.MoveTo(SkinTree::Centre(s));
  t.MoveTo({(s->ThumbRect().left + s->ThumbRect().right) / 2, 10});
  auto canvas = t.Paint();
  ASSERT_FALSE(canvas.specs.empty());
  EXPECT_EQ(canvas.specs.back().file, L"hotfore.png");
  EXPECT_EQ(canvas.specs.back().dest, (SkinRect{s->ThumbRect().left, 5, s->ThumbRect().right, 15}));
}
