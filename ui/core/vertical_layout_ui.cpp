#include "ui/core/vertical_layout_ui.h"

#include "ui/core/skin_value.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() = default;

const wchar_t* CVerticalLayoutUI::ClassName() const { return L"VerticalLayoutUI"; }

void* CVerticalLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"VerticalLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CVerticalLayoutUI::ControlFlags() const { return IsEnabled() && separator_.size != 0 ? 2 : 0; }

void CVerticalLayoutUI::SetPosition(const SkinRect& rc) {
  CControlUI::SetPosition(rc);
  SkinRect area;
  SkinRect reference;
  LineAreas(area, reference);
  if (items_.empty()) {
    ProcessScrollBar(reference, 0, 0);
    return;
  }
  ProcessScrollBar(reference, 0, PlaceLine(true, area));
}

void CVerticalLayoutUI::HandleEvent(SkinEvent& event) {
  if (separator_.HandleEvent(*this, event)) return;
  CContainerUI::HandleEvent(event);
}

void CVerticalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"sepheight")
    SetSeparatorSize(ParseSkinInt(value));
  else if (name == L"sepimm")
    SetSeparatorImmediate(ParseSkinBool(value));
  else
    CContainerUI::SetAttribute(name, value);
}

void CVerticalLayoutUI::PaintOverlay(IRenderCanvas& canvas) { separator_.PaintOverlay(canvas); }

}  // namespace SkinUI
