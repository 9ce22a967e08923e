#include "ui/controls/date_time_wnd.h"

#include "platform/window_messages.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/tile_layout_ui.h"
#include "ui/core/vertical_layout_ui.h"

namespace SkinUI {
namespace {

constexpr SkinColor kBackground = 0xFFFFFFFF;
constexpr SkinColor kFrame = 0xFF8C8C8C;
constexpr SkinColor kHot = 0xFFE5F1FB;
constexpr SkinColor kOtherMonth = 0xFFAAAAAA;
constexpr SkinColor kText = 0xFF202020;
constexpr const wchar_t* kWeekdays[] = {L"Su", L"Mo", L"Tu", L"We", L"Th", L"Fr", L"Sa"};

std::intptr_t DateCode(const SkinDate& d) { return d.year * 10000 + d.month * 100 + d.day; }
SkinDate FromCode(std::intptr_t code) {
  return {static_cast<int>(code / 10000), static_cast<int>(code / 100 % 100), static_cast<int>(code % 100)};
}

CButtonUI* MonthButton(const wchar_t* name, const wchar_t* text) {
  auto* b = new CButtonUI();
  b->SetName(name);
  b->SetText(text);
  b->SetFixedWidth(CDateTimeWnd::kCellWidth);
  b->SetHotBkColor(kHot);
  b->SetTextColor(kText);
  return b;
}

}  // namespace

CDateTimeWnd::CDateTimeWnd(CDateTimeUI* field) : CPopupWnd(field), field_(field), cursor_(field->Date()) {}

CDateTimeWnd::~CDateTimeWnd() { DismissNow(); }

const wchar_t* CDateTimeWnd::WindowClassName() const { return L"DateTimeWnd"; }

bool CDateTimeWnd::Open() {
  auto root = std::make_unique<CVerticalLayoutUI>();
  root->SetBkColor(kBackground);
  root->SetBorderColor(kFrame);
  root->SetBorderSize(1);
  root->SetInset({1, 1, 1, 1});

  auto* head = new CHorizontalLayoutUI();
  head->SetFixedHeight(kTitleHeight);
  head->Add(MonthButton(L"prev", L"<"));
  title_ = new CLabelUI();
  title_->SetTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  title_->SetTextColor(kText);
  head->Add(title_);
  head->Add(MonthButton(L"next", L">"));
  root->Add(head);

  auto* weekdays = new CHorizontalLayoutUI();
  weekdays->SetFixedHeight(kWeekdayHeight);
  for (const wchar_t* name : kWeekdays) {
    auto* label = new CLabelUI();
    label->SetText(name);
    label->SetFixedWidth(kCellWidth);
    label->SetTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    label->SetTextColor(kOtherMonth);
    weekdays->Add(label);
  }
  root->Add(weekdays);

  auto* grid = new CTileLayoutUI();
  grid->SetAttribute(L"columns", L"7");
  grid->SetAttribute(L"itemsize", L"28,24");
  for (COptionUI*& day : days_) {
    day = new COptionUI();
    day->SetFixedWidth(kCellWidth);
    day->SetFixedHeight(kCellHeight);
    day->SetTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    day->SetHotBkColor(kHot);
    day->SetAttribute(L"selectedbkcolor", L"#FF3399FF");
    day->SetAttribute(L"selectedtextcolor", L"#FFFFFFFF");
    day->SetKeyboardEnabled(false);
    grid->Add(day);
  }
  root->Add(grid);

  const platform::WinRect anchor = OwnerScreenRect();
  const SkinSize size{7 * kCellWidth + 2, kTitleHeight + kWeekdayHeight + 6 * kCellHeight + 2};
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || field_->Host() == nullptr) return false;
  const platform::WinRect where = Place(anchor, size, {0, 0}, ws->WorkArea(field_->Host()->Window()));
  std::unique_ptr<CControlUI> made = std::move(root);
  if (!CPopupWnd::Open(made, where)) return false;
  Fill();
  return true;
}

SkinDate CDateTimeWnd::PageStart() const {
  const SkinDate first{cursor_.year, cursor_.month, 1};
  return first.AddDays(-first.Weekday());
}

void CDateTimeWnd::Fill() {
  if (title_ == nullptr) return;
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"%04d-%02d", cursor_.year, cursor_.month);
  title_->SetText(buffer);
  SkinDate d = PageStart();
  for (COptionUI* day : days_) {
    day->SetText(std::to_wstring(d.day));
    day->SetTag(DateCode(d));
    day->SetTextColor(d.month == cursor_.month ? kText : kOtherMonth);
    day->Select(d == cursor_, false);
    d = d.AddDays(1);
  }
}

COptionUI* CDateTimeWnd::DayButton(const SkinDate& date) const {
  for (COptionUI* day : days_)
    if (day != nullptr && day->Tag() == DateCode(date)) return day;
  return nullptr;
}

void CDateTimeWnd::MoveCursor(const SkinDate& date) {
  if (!date.IsValid()) return;
  cursor_ = date;
  Fill();
}

void CDateTimeWnd::Pick(const SkinDate& date) {
  field_->OnDatePicked(date);
  Dismiss();
}

void CDateTimeWnd::Notify(SkinNotify& msg) {
  if (msg.type != L"click" || msg.sender == nullptr) return;
  const std::wstring name = msg.sender->GetName();
  if (name == L"prev") {
    MoveCursor(cursor_.AddMonths(-1));
  } else if (name == L"next") {
    MoveCursor(cursor_.AddMonths(1));
  } else {
    for (COptionUI* day : days_)
      if (msg.sender == day) Pick(FromCode(day->Tag()));
  }
}

bool CDateTimeWnd::OnOwnerKey(const platform::Message& msg) {
  if (msg.message == platform::kWmChar || msg.message == platform::kWmKeyUp) return true;
  if (msg.message != platform::kWmKeyDown) return false;
  switch (msg.wParam) {
    case platform::kVkLeft: MoveCursor(cursor_.AddDays(-1)); return true;
    case platform::kVkRight: MoveCursor(cursor_.AddDays(1)); return true;
    case platform::kVkUp: MoveCursor(cursor_.AddDays(-7)); return true;
    case platform::kVkDown: MoveCursor(cursor_.AddDays(7)); return true;
    case platform::kVkPrior: MoveCursor(cursor_.AddMonths(-1)); return true;
    case platform::kVkNext: MoveCursor(cursor_.AddMonths(1)); return true;
    case platform::kVkHome: MoveCursor({cursor_.year, cursor_.month, 1}); return true;
    case platform::kVkEnd: MoveCursor({cursor_.year, cursor_.month, cursor_.DaysInMonth()}); return true;
    case platform::kVkReturn: Pick(cursor_); return true;
    case platform::kVkEscape: Dismiss(); return true;
    case platform::kVkTab: return false;
    default: return true;
  }
}

void CDateTimeWnd::OnDismissed() {
  title_ = nullptr;
  for (COptionUI*& day : days_) day = nullptr;
}

}  // namespace SkinUI
