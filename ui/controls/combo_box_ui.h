#pragma once
// A combo box that draws an arrow image ("arrowimage") at its right end: where the image's own
// "dest" puts it, else in a square of the control's height at the right edge (the text then
// stops before it).
#include "ui/controls/combo_ui.h"

namespace SkinUI {

class CComboBoxUI : public CComboUI {
 public:
  CComboBoxUI();

  const wchar_t* ClassName() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;

  const SkinImageSpec& ArrowImage() const { return arrowImage_; }
  // Where the arrow goes, in window coordinates.
  SkinRect ArrowRect() const;

 protected:
  SkinRect TextRect() const override;

 private:
  SkinImageSpec arrowImage_;
};

}  // namespace SkinUI
