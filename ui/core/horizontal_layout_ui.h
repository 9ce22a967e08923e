#pragma once
// Children stacked left to right in two passes: fixed sizes first, then the rest shared equally
// by the stretchable children (size 0). The remainder of the division is not handed out.
#include "ui/core/container_ui.h"
#include "ui/core/layout_separator.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  CHorizontalLayoutUI();
  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  std::uint32_t ControlFlags() const override;
  void SetPosition(const SkinRect& rc) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintOverlay(IRenderCanvas& canvas) override;

  int SeparatorSize() const { return separator_.size; }
  void SetSeparatorSize(int size) { separator_.size = ClampCoord(size); }
  bool IsSeparatorImmediate() const { return separator_.immediate; }
  void SetSeparatorImmediate(bool on) { separator_.immediate = on; }
  // The resize strip, empty without a separator.
  SkinRect SeparatorRect() const { return separator_.Strip(itemRect_); }

 private:
  CLayoutSeparator separator_{false};
  // Set while the layout repeats itself after its horizontal bar appeared or went.
  bool barRelayout_ = false;
};

}  // namespace SkinUI
