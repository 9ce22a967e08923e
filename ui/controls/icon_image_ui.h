#pragma once
// An icon drawn over the whole control from an image file ("defaultIco"); when it cannot be
// drawn the control's background image shows instead.
#include "ui/core/control_ui.h"

namespace SkinUI {

class CIconImageUI : public CControlUI {
 public:
  CIconImageUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintBackgroundImage(IRenderCanvas& canvas) override;

  const SkinImageSpec& Icon() const { return icon_; }
  void SetIcon(const std::wstring& file);

 private:
  SkinImageSpec icon_;
};

}  // namespace SkinUI
