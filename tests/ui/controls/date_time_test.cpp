#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/date_time_ui.h"
#include "ui/controls/date_time_wnd.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/option_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

namespace {

const wchar_t kDateSkin[] =
    L"<Window><VerticalLayout><HorizontalLayout height=\"24\"><DateTime name=\"d\" width=\"120\" text=\"2024-02-10\" />"
    L"<Control /></HorizontalLayout><Control /></VerticalLayout></Window>";

int TextChanges(const SkinTree& t) {
  int n = 0;
  for (const auto& r : t.log.seen)
    if (r.type == L"textchanged") ++n;
  return n;
}

}  // namespace

TEST(SkinDate, ParsesValidatesAndMoves) {
  SkinDate d;
  ASSERT_TRUE(SkinDate::Parse(L"2024-02-29", d));
  EXPECT_EQ(d.Text(), L"2024-02-29");
  EXPECT_FALSE(SkinDate::Parse(L"2023-02-29", d)) << "not a leap year";
  EXPECT_FALSE(SkinDate::Parse(L"2024-13-01", d));
  EXPECT_FALSE(SkinDate::Parse(L"2024-02", d));
  EXPECT_FALSE(SkinDate::Parse(L"2024-02-10x", d));
  EXPECT_EQ((SkinDate{2024, 1, 31}.AddMonths(1)), (SkinDate{2024, 2, 29}));
  EXPECT_EQ((SkinDate{2024, 12, 31}.AddDays(1)), (SkinDate{2025, 1, 1}));
  EXPECT_EQ((SkinDate{2024, 2, 1}.Weekday()), 4) << "a Thursday";
  EXPECT_EQ((SkinDate{1601, 1, 1}.AddDays(-1)), (SkinDate{1601, 1, 1})) << "kept inside the calendar";
}

TEST(DateTime, TheCalendarPicksADayByKeysAndByClick) {
  SkinTree t(kDateSkin);
  auto* d = t.Find<CDateTimeUI>(L"d");
  EXPECT_EQ(d->GetText(), L"2024-02-10");
  d->SetText(L"2024-02-30");
  EXPECT_EQ(d->GetText(), L"2024-02-10") << "an impossible date is refused";

  t.Click(d);
  CDateTimeWnd* cal = d->DateWindow();
  ASSERT_NE(cal, nullptr);
  EXPECT_EQ(t.ws.KindOf(cal->Handle()), platform::WindowKind::kPopup);
  EXPECT_EQ(t.ws.GetWindowRect(cal->Handle()).top, 24) << "below the field";
  EXPECT_EQ(cal->Title()->GetText(), L"2024-02");
  ASSERT_NE(cal->DayButton({2024, 2, 10}), nullptr);
  EXPECT_TRUE(cal->DayButton({2024, 2, 10})->IsSelected());
  // February 2024 starts on a Thursday: the page starts on Sunday, January 28.
  EXPECT_NE(cal->DayButton({2024, 1, 28}), nullptr);
  EXPECT_EQ(cal->DayButton({2024, 1, 27}), nullptr);

  t.Key(platform::kVkRight);
  t.Key(kVkDown);
  EXPECT_EQ(cal->Cursor(), (SkinDate{2024, 2, 18}));
  t.Key(kVkNext);
  EXPECT_EQ(cal->Title()->GetText(), L"2024-03");
  t.Key(kVkEnd);
  EXPECT_EQ(cal->Cursor(), (SkinDate{2024, 3, 31}));
  t.Key(kVkReturn);
  EXPECT_EQ(d->DateWindow(), nullptr);
  EXPECT_EQ(d->GetText(), L"2024-03-31");
  EXPECT_EQ(TextChanges(t), 1);

  // Escape leaves the date as it was (and the window open).
  t.Click(d);
  ASSERT_NE(d->DateWindow(), nullptr);
  t.Key(platform::kVkLeft);
  t.Key(kVkEscape);
  EXPECT_EQ(d->DateWindow(), nullptr);
  EXPECT_EQ(d->GetText(), L"2024-03-31");
  EXPECT_TRUE(t.ws.IsWindow(t.handle));

  // A click on a day of the calendar picks it.
  t.Click(d);
  cal = d->DateWindow();
  ASSERT_NE(cal, nullptr);
  COptionUI* day = cal->DayButton({2024, 3, 5});
  ASSERT_NE(day, nullptr);
  const SkinPoint p = SkinTree::Centre(day);
  t.ws.MouseMove(cal->Handle(), p.x, p.y);
  t.ws.Click(cal->Handle(), p.x, p.y);
  t.Pump();
  EXPECT_EQ(d->GetText(), L"2024-03-05");
  EXPECT_EQ(d->DateWindow(), nullptr);
  // The month buttons turn the page.
  t.Click(d);
  cal = d->DateWindow();
  ASSERT_NE(cal, nullptr);
  CControlUI* next = CSkinHost::HostOf(cal->Handle())->FindControlByName(L"next");
  ASSERT_NE(next, nullptr);
  const SkinPoint n = SkinTree::Centre(next);
  t.ws.MouseMove(cal->Handle(), n.x, n.y);
  t.ws.Click(cal->Handle(), n.x, n.y);
  t.Pump();
  EXPECT_EQ(cal->Title()->GetText(), L"2024-04");
  EXPECT_EQ(d->GetText(), L"2024-03-05") << "turning the page picks nothing";
}
