#include "ui/controls/progress_ui.h"

#include <climits>

#include "ui/core/skin_value.h"

namespace SkinUI {

CProgressUI::CProgressUI() { textStyle_ = DT_CENTER | DT_SINGLELINE; }

const wchar_t* CProgressUI::ClassName() const { return L"ProgressUI"; }

void* CProgressUI::AsInterface(const std::wstring& name) {
  if (name == L"Progress") return static_cast<CProgressUI*>(this);
  return CLabelUI::AsInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  Invalidate();
}

void CProgressUI::SetStretchForeImage(bool on) {
  if (stretchFore_ == on) return;
  stretchFore_ = on;
  Invalidate();
}

void CProgressUI::SetMinValue(int value) {
  min_ = value;
  Invalidate();
}

void CProgressUI::SetMaxValue(int value) {
  max_ = value;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  value_ = value;
  Invalidate();
}

void CProgressUI::SetForeImage(const std::wstring& description) { SetImageSpec(foreImage_, description); }

void CProgressUI::SetDisabledForeImage(const std::wstring& description) {
  SetImageSpec(disabledForeImage_, description);
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"foreimage")
    SetForeImage(value);
  else if (name == L"disabledforeimage")
    SetDisabledForeImage(value);
  else if (name == L"hor")
    SetHorizontal(ParseSkinBool(v));
  else if (name == L"min")
    SetMinValue(ParseSkinInt(v));
  else if (name == L"max")
    SetMaxValue(ParseSkinInt(v));
  else if (name == L"value")
    SetValue(ParseSkinInt(v));
  else if (name == L"isstretchfore")
    SetStretchForeImage(ParseSkinBool(v));
  else
    CLabelUI::SetAttribute(name, value);
}

void CProgressUI::Normalise() {
  // The limit is the largest int: one more would overflow, so the minimum steps down instead.
  if (min_ >= max_) {
    if (min_ < INT_MAX)
      max_ = min_ + 1;
    else
      min_ = max_ - 1;
  }
  if (value_ > max_) value_ = max_;
  if (value_ < min_) value_ = min_;
}

SkinRect CProgressUI::FilledRect(SkinSize size) const {
  const long long range = static_cast<long long>(max_) - min_;
  if (horizontal_) {
    const long long right = size.cx * (static_cast<long long>(value_) - min_) / range;
    return {0, 0, static_cast<int>(right), size.cy};
  }
  const long long top = size.cy * (static_cast<long long>(max_) - value_) / range;
  return {0, static_cast<int>(top), size.cx, size.cy};
}

void CProgressUI::PaintStatusImage(IRenderCanvas& canvas) {
  Normalise();
  SkinImageSpec& spec = !IsEnabled() && !disabledForeImage_.IsEmpty() ? disabledForeImage_ : foreImage_;
  if (spec.IsEmpty()) return;
  const SkinRect filled = FilledRect({itemRect_.Width(), itemRect_.Height()});
  SkinImageSpec copy = spec;
  copy.dest = filled;
  if (!stretchFore_) copy.source = filled;
  if (!DrawImage(canvas, copy)) spec.Reset();
}

}  // namespace SkinUI
