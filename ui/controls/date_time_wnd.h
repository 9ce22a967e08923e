#pragma once
// The calendar of a date field: a popup with the month's title between two buttons that turn the
// month, the weekday names and six weeks of day buttons (days of the neighbouring months greyed).
// A click on a day picks it; the arrow keys move a day or a week, Page Up and Page Down a month,
// Home and End to the month's first and last day, Return picks, Escape closes.
#include "ui/controls/date_time_ui.h"
#include "ui/controls/popup_wnd.h"

namespace SkinUI {

class CLabelUI;
class COptionUI;

class CDateTimeWnd : public CPopupWnd {
 public:
  static constexpr int kCellWidth = 28;
  static constexpr int kCellHeight = 24;
  static constexpr int kTitleHeight = 28;
  static constexpr int kWeekdayHeight = 20;

  explicit CDateTimeWnd(CDateTimeUI* field);
  ~CDateTimeWnd() override;

  const wchar_t* WindowClassName() const override;
  bool Open();
  // The day the keys move (shown selected) and the month shown.
  const SkinDate& Cursor() const { return cursor_; }
  void MoveCursor(const SkinDate& date);
  // The day button of the 42 for a date of the page shown; none for other dates.
  COptionUI* DayButton(const SkinDate& date) const;
  CLabelUI* Title() const { return title_; }
  void Notify(SkinNotify& msg) override;

 protected:
  bool OnOwnerKey(const platform::Message& msg) override;
  void OnDismissed() override;

 private:
  // The page of the cursor's month: title, day numbers, greyed neighbours, the cursor selected.
  void Fill();
  SkinDate PageStart() const;
  void Pick(const SkinDate& date);

  CDateTimeUI* field_;
  SkinDate cursor_;
  CLabelUI* title_ = nullptr;
  COptionUI* days_[42] = {};
};

}  // namespace SkinUI
