#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/progress_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

const wchar_t kProgressSkin[] =
    L"<Window>"
    L"<Style name=\"prog_fg\" value=\"foreimage=&quot;img\\common\\prog_fg.png&quot;\" />"
    L"<VerticalLayout>"
    L"<Progress name=\"prog_download\" height=\"12\" width=\"659\" bkimage=\"img\\common\\prog_bg.png\" style=\"prog_fg\" />"
    L"<Control />"
    L"</VerticalLayout></Window>";

}  // namespace

TEST(Progress, FillFollowsTheValueAndIsClampedWhenPainted) {
  SkinTree t(kProgressSkin);
  auto* p = t.Find<CProgressUI>(L"prog_download");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->BkImage().file, L"img\\common\\prog_bg.png");
  EXPECT_EQ(p->ForeImage().file, L"img\\common\\prog_fg.png");
  EXPECT_EQ(p->TextStyle(), DT_CENTER | DT_SINGLELINE);
  struct Case {
    int min, max, value;
    bool horizontal, stretch;
    SkinRect dest;
    int storedMax, storedValue;
  } cases[] = {
      {0, 100, 50, true, true, {0, 0, 329, 12}, 100, 50},
      {0, 100, 150, true, true, {0, 0, 659, 12}, 100, 100},
      {0, 100, -5, true, true, {0, 0, 0, 12}, 100, 0},
      {10, 10, 10, true, true, {0, 0, 0, 12}, 11, 10},
      {0, 100, 100, true, false, {0, 0, 659, 12}, 100, 100},
      {0, 100, 25, false, true, {0, 9, 659, 12}, 100, 25},  // vertical bars fill from the bottom
  };
  for (const Case& c : cases) {
    p->SetMinValue(c.min);
    p->SetMaxValue(c.max);
    p->SetValue(c.value);
    p->SetHorizontal(c.horizontal);
    p->SetStretchForeImage(c.stretch);
    auto canvas = t.Paint();
    ASSERT_EQ(canvas.specs.size(), 2u);  // background, then the fill
    const SkinImageSpec& fill = canvas.specs[1];
    EXPECT_EQ(fill.file, L"img\\common\\prog_fg.png");
    EXPECT_EQ(fill.dest, c.dest) << c.value;
    EXPECT_EQ(fill.source, c.stretch ? SkinRect{} : c.dest) << c.value;
    EXPECT_EQ(p->MaxValue(), c.storedMax);
    EXPECT_EQ(p->Value(), c.storedValue);
  }
}

TEST(Progress, DisabledForeImageAndAttributes) {
  CProgressUI p;
  p.SetAttribute(L"min", L"5");
  p.SetAttribute(L"max", L"50");
  p.SetAttribute(L"value", L"7");
  p.SetAttribute(L"hor", L"false");
  p.SetAttribute(L"isstretchfore", L"false");
  p.SetAttribute(L"foreimage", L"fg.png");
  p.SetAttribute(L"disabledforeimage", L"dis.png");
  EXPECT_EQ(p.MinValue(), 5);
  EXPECT_EQ(p.MaxValue(), 50);
  EXPECT_EQ(p.Value(), 7);
  EXPECT_FALSE(p.IsHorizontal());
  EXPECT_FALSE(p.IsStretchForeImage());
  p.SetPosition({0, 0, 100, 10});
  p.SetEnabled(false);
  testsupport::SpecCanvas canvas;
  p.Paint(canvas, {0, 0, 100, 10});
  ASSERT_EQ(canvas.specs.size(), 1u);
  EXPECT_EQ(canvas.specs[0].file, L"dis.png");
  // A fore image that cannot be drawn is forgotten.
  testsupport::SpecCanvas failing;
  failing.imagesLoad = false;
  p.SetEnabled(true);
  p.Paint(failing, {0, 0, 100, 10});
  EXPECT_TRUE(p.ForeImage().IsEmpty());
  EXPECT_FALSE(p.DisabledForeImage().IsEmpty());
}
