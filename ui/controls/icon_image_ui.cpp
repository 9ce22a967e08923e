#include "ui/controls/icon_image_ui.h"

namespace SkinUI {

CIconImageUI::CIconImageUI() = default;

const wchar_t* CIconImageUI::ClassName() const { return L"IconImageUI"; }

void* CIconImageUI::AsInterface(const std::wstring& name) {
  if (name == L"IconImage") return static_cast<CIconImageUI*>(this);
  return CControlUI::AsInterface(name);
}

void CIconImageUI::SetIcon(const std::wstring& file) {
  // A file name only: the icon always covers the whole control.
  icon_.Reset();
  icon_.text = icon_.file = file;
  Invalidate();
}

void CIconImageUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"defaultIco")
    SetIcon(value);
  else
    CControlUI::SetAttribute(name, value);
}

void CIconImageUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  if (!DrawImage(canvas, icon_)) CControlUI::PaintBackgroundImage(canvas);
}

}  // namespace SkinUI
