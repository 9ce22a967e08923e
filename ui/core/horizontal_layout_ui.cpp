#include "ui/core/horizontal_layout_ui.h"

#include "ui/core/skin_value.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() = default;

const wchar_t* CHorizontalLayoutUI::ClassName() const { return L"HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"HorizontalLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CHorizontalLayoutUI::ControlFlags() const { return IsEnabled() && separator_.size != 0 ? 2 : 0; }

void CHorizontalLayoutUI::SetPosition(const SkinRect& rc) {
  CControlUI::SetPosition(rc);
  SkinRect area;
  SkinRect reference;
  LineAreas(area, reference);
  if (items_.empty()) {
    ProcessScrollBar(reference, 0, 0);
    return;
  }
  const int needed = PlaceLine(false, area);
  // The horizontal bar's range is what the children need beyond the area; it goes away when
  // they fit. Showing or hiding it changes the height the children get: lay them out once more.
  if (hScroll_) {
    const bool wasVisible = hScroll_->IsVisible();
    if (needed > area.Width()) {
      if (!wasVisible) {
        hScroll_->SetVisible(true);
        hScroll_->SetScrollPos(0);
      }
      hScroll_->SetScrollRange(needed - area.Width());
    } else if (wasVisible) {
      hScroll_->SetVisible(false);
      hScroll_->SetScrollRange(0);
      hScroll_->SetScrollPos(0);
    }
    if (hScroll_->IsVisible() != wasVisible && !barRelayout_) {
      barRelayout_ = true;
      SetPosition(itemRect_);
      barRelayout_ = false;
      return;
    }
  }
  ProcessScrollBar(reference, needed, 0);
}

void CHorizontalLayoutUI::HandleEvent(SkinEvent& event) {
  if (separator_.HandleEvent(*this, event)) return;
  CContainerUI::HandleEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"sepwidth")
    SetSeparatorSize(ParseSkinInt(value));
  else if (name == L"sepimm")
    SetSeparatorImmediate(ParseSkinBool(value));
  else
    CContainerUI::SetAttribute(name, value);
}

void CHorizontalLayoutUI::PaintOverlay(IRenderCanvas& canvas) { separator_.PaintOverlay(canvas); }

}  // namespace SkinUI
