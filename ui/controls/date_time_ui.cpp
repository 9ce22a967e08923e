#include "ui/controls/date_time_ui.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/window_messages.h"
#include "ui/controls/date_time_wnd.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {

std::chrono::year_month_day Ymd(const SkinDate& d) {
  return std::chrono::year_month_day{std::chrono::year{d.year}, std::chrono::month{static_cast<unsigned>(d.month)},
                                     std::chrono::day{static_cast<unsigned>(d.day)}};
}

SkinDate FromYmd(const std::chrono::year_month_day& ymd) {
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 9999;

}  // namespace

bool SkinDate::IsValid() const {
  return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 && Ymd(*this).ok();
}

std::wstring SkinDate::Text() const {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, L"%4d-%02d-%02d", year, month, day);
  return buffer;
}

bool SkinDate::Parse(const std::wstring& text, SkinDate& out) {
  int y = 0, m = 0, d = 0;
  wchar_t s1 = 0, s2 = 0, rest = 0;
  if (std::swscanf(text.c_str(), L"%d%lc%d%lc%d%lc", &y, &s1, &m, &s2, &d, &rest) != 5) return false;
  const SkinDate date{y, m, d};
  if (!date.IsValid()) return false;
  out = date;
  return true;
}

SkinDate SkinDate::Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

SkinDate SkinDate::AddDays(int days) const {
  const SkinDate moved = FromYmd(std::chrono::year_month_day{std::chrono::sys_days{Ymd(*this)} + std::chrono::days{days}});
  return moved.IsValid() ? moved : *this;
}

SkinDate SkinDate::AddMonths(int months) const {
  std::chrono::year_month_day ymd = Ymd({year, month, 1}) + std::chrono::months{months};
  SkinDate moved = FromYmd(ymd);
  moved.day = std::min(day, moved.DaysInMonth());
  return moved.IsValid() ? moved : *this;
}

int SkinDate::DaysInMonth() const {
  const std::chrono::year_month_day_last last{std::chrono::year{year},
                                              std::chrono::month_day_last{std::chrono::month{static_cast<unsigned>(month)}}};
  return static_cast<int>(static_cast<unsigned>(last.day()));
}

int SkinDate::Weekday() const {
  return static_cast<int>(std::chrono::weekday{std::chrono::sys_days{Ymd(*this)}}.c_encoding());
}

CDateTimeUI::CDateTimeUI() : date_(SkinDate::Today()) {
  mouseEnabled_ = true;
  keyboardEnabled_ = true;
  text_ = date_.Text();
}

CDateTimeUI::~CDateTimeUI() { calendar_.reset(); }

const wchar_t* CDateTimeUI::ClassName() const { return L"DateTimeUI"; }

void* CDateTimeUI::AsInterface(const std::wstring& name) {
  if (name == L"DateTime") return static_cast<CDateTimeUI*>(this);
  return CLabelUI::AsInterface(name);
}

std::uint32_t CDateTimeUI::ControlFlags() const { return IsEnabled() ? 1u : 0u; }

void CDateTimeUI::SetText(const std::wstring& text) {
  SkinDate date;
  if (SkinDate::Parse(text, date)) SetDate(date);
}

bool CDateTimeUI::SetDate(const SkinDate& date) {
  if (!date.IsValid()) return false;
  date_ = date;
  CLabelUI::SetText(date_.Text());
  return true;
}

void CDateTimeUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!IsEnabled() && calendar_ != nullptr) calendar_->Dismiss();
}

CDateTimeWnd* CDateTimeUI::DateWindow() const {
  return calendar_ != nullptr && calendar_->IsOpen() ? calendar_.get() : nullptr;
}

void CDateTimeUI::OpenCalendar() {
  if (IsDropped() || !IsEnabled() || host_ == nullptr) return;
  calendar_ = std::make_unique<CDateTimeWnd>(this);
  if (!calendar_->Open()) calendar_.reset();
}

void CDateTimeUI::OnDatePicked(const SkinDate& date) {
  if (date == date_ || !SetDate(date)) return;
  if (host_ != nullptr) host_->SendNotify(this, L"textchanged");
}

void CDateTimeUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventButtonDown:
    case kEventDblClick:
      if (IsEnabled()) {
        if (IsDropped())
          calendar_->Dismiss();
        else
          OpenCalendar();
      }
      return;
    case kEventKeyDown:
      if (IsEnabled() && (event.chKey == kVkSpace || event.chKey == kVkReturn || event.chKey == platform::kVkF4)) {
        OpenCalendar();
        return;
      }
      break;
    case kEventKillFocus:
      if (calendar_ != nullptr) calendar_->Dismiss();
      break;
    default:
      break;
  }
  CLabelUI::HandleEvent(event);
}

}  // namespace SkinUI
