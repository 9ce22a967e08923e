#pragma once
// A bar that draws its fore image over the part of its background that the value fills.
#include "ui/controls/label_ui.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // Normalises the limits and the value (stored back), then draws the filled part.
  void PaintStatusImage(IRenderCanvas& canvas) override;

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  bool IsStretchForeImage() const { return stretchFore_; }
  void SetStretchForeImage(bool on);
  int MinValue() const { return min_; }
  void SetMinValue(int value);
  int MaxValue() const { return max_; }
  void SetMaxValue(int value);
  // Stored as given and repainted; it is clamped into the limits when painted.
  int Value() const { return value_; }
  void SetValue(int value);
  const SkinImageSpec& ForeImage() const { return foreImage_; }
  void SetForeImage(const std::wstring& description);
  const SkinImageSpec& DisabledForeImage() const { return disabledForeImage_; }
  void SetDisabledForeImage(const std::wstring& description);

  // The filled part relative to the control's top-left corner for a control of `size`, after
  // the limits and the value were normalised.
  SkinRect FilledRect(SkinSize size) const;

 private:
  void Normalise();

  bool horizontal_ = true;
  bool stretchFore_ = true;
  int max_ = 100;
  int min_ = 0;
  int value_ = 0;
  SkinImageSpec foreImage_;
  SkinImageSpec disabledForeImage_;
};

}  // namespace SkinUI
