#pragma once
// A date field: the label shows the date as "YYYY-MM-DD"; a click (or Space, Return, F4) opens a
// small skinned calendar below it (above when the screen has no room) where a day is picked with
// the mouse or the keys. A picked date that differs sends "textchanged".
#include <memory>

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CDateTimeWnd;

struct SkinDate {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..days of the month
  bool operator==(const SkinDate&) const = default;
  // A real calendar date between the years 1601 and 9999.
  bool IsValid() const;
  // "%4d-%02d-%02d".
  std::wstring Text() const;
  // "Y-M-D" with any single separators; false for anything else or an invalid date.
  static bool Parse(const std::wstring& text, SkinDate& out);
  static SkinDate Today();
  // Moved by whole days, or by months (the day kept inside the new month).
  SkinDate AddDays(int days) const;
  SkinDate AddMonths(int months) const;
  int DaysInMonth() const;
  // 0 = Sunday.
  int Weekday() const;
};

class CDateTimeUI : public CLabelUI {
 public:
  CDateTimeUI();
  ~CDateTimeUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // A Tab stop while enabled.
  std::uint32_t ControlFlags() const override;
  // A "Y-M-D" text sets the date; other texts are refused.
  void SetText(const std::wstring& text) override;
  void SetEnabled(bool enabled) override;
  void HandleEvent(SkinEvent& event) override;

  const SkinDate& Date() const { return date_; }
  // False (nothing changes) for an invalid date.
  bool SetDate(const SkinDate& date);
  CDateTimeWnd* DateWindow() const;
  bool IsDropped() const { return DateWindow() != nullptr; }
  void OpenCalendar();

 private:
  friend class CDateTimeWnd;
  // From the calendar: the user picked `date`.
  void OnDatePicked(const SkinDate& date);

  SkinDate date_;
  std::unique_ptr<CDateTimeWnd> calendar_;
};

}  // namespace SkinUI
