#include "ui/controls/combo_box_ui.h"

namespace SkinUI {

CComboBoxUI::CComboBoxUI() = default;

const wchar_t* CComboBoxUI::ClassName() const { return L"ComboBoxUI"; }

void CComboBoxUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"arrowimage") {
    SetImageSpec(arrowImage_, value);
  } else {
    CComboUI::SetAttribute(name, value);
  }
}

SkinRect CComboBoxUI::ArrowRect() const {
  if (arrowImage_.IsEmpty()) return {};
  if (!arrowImage_.dest.IsNull()) {
    SkinRect rc = arrowImage_.dest;
    rc.Offset(itemRect_.left, itemRect_.top);
    return rc;
  }
  return {itemRect_.right - itemRect_.Height(), itemRect_.top, itemRect_.right, itemRect_.bottom};
}

SkinRect CComboBoxUI::TextRect() const {
  SkinRect rc = CComboUI::TextRect();
  const SkinRect arrow = ArrowRect();
  if (!arrow.IsEmpty() && arrow.left < rc.right && arrow.left > rc.left) rc.right = arrow.left;
  return rc;
}

void CComboBoxUI::PaintStatusImage(IRenderCanvas& canvas) {
  CComboUI::PaintStatusImage(canvas);
  if (arrowImage_.IsEmpty() || host_ == nullptr) return;
  SkinImageSpec copy = arrowImage_;
  const SkinRect arrow = ArrowRect();
  copy.dest = {arrow.left - itemRect_.left, arrow.top - itemRect_.top, arrow.right - itemRect_.left,
               arrow.bottom - itemRect_.top};
  if (!canvas.PaintImage(host_, itemRect_, paintRect_, copy)) arrowImage_.Reset();
}

}  // namespace SkinUI
