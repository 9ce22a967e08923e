#include "ui/core/vertical_layout_ui.h"

#include <algorithm>

#include "ui/core/skin_value.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() = default;

const wchar_t* CVerticalLayoutUI::ClassName() const { return L"VerticalLayoutUI"; }

void* CVerticalLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"VerticalLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CVerticalLayoutUI::ControlFlags() const { return IsEnabled() && separator_.size != 0 ? 2 : 0; }

void CVerticalLayoutUI::SetPosition(const SkinRect& rcIn) {
  CControlUI::SetPosition(rcIn);
  SkinRect rc = itemRect_.Deflated(inset_);
  SkinRect reference = rc;
  const bool vBar = IsBarVisible(vScroll_);
  const bool hBar = IsBarVisible(hScroll_);
  if (vBar) {
    reference.right -= vScroll_->FixedWidth();
    if (!floatScrollBar_) rc.right -= vScroll_->FixedWidth();
  }
  if (hBar) {
    reference.bottom -= hScroll_->FixedHeight();
    if (!floatScrollBar_) rc.bottom -= hScroll_->FixedHeight();
  }
  if (items_.empty()) {
    ProcessScrollBar(reference, 0, 0);
    return;
  }

  SkinSize available{rc.Width(), rc.Height()};
  if (hBar) available.cx += hScroll_->ScrollRange();

  // First pass: what the fixed-height children take.
  int stretchable = 0;
  int fixedTotal = 0;
  int counted = 0;
  for (CControlUI* child : items_) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    SkinSize sz = child->MeasureSize(available);
    if (sz.cy == 0) {
      ++stretchable;
    } else {
      sz.cy = std::max(sz.cy, child->MinHeight());
      sz.cy = std::min(sz.cy, child->MaxHeight());
    }
    const SkinRect pad = child->Padding();
    fixedTotal += sz.cy + pad.top + pad.bottom;
    ++counted;
  }
  fixedTotal += std::max(0, counted - 1) * childPadding_;
  int stretch = stretchable > 0 ? (available.cy - fixedTotal) / stretchable : 0;
  if (stretch < 0) stretch = 0;

  // Second pass: place them.
  int y = rc.top - (vBar ? vScroll_->ScrollPos() : 0);
  const int x = rc.left - (hBar ? hScroll_->ScrollPos() : 0);
  int remaining = available.cy;
  int needed = 0;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SkinRect pad = child->Padding();
    remaining -= pad.top;
    SkinSize sz = child->MeasureSize({available.cx, remaining});
    if (sz.cy == 0) sz.cy = stretch;
    sz.cy = std::max(sz.cy, child->MinHeight());
    sz.cy = std::min(sz.cy, child->MaxHeight());
    int width = child->FixedWidth();
    if (width == 0) width = std::max(0, available.cx - pad.left - pad.right);
    width = std::max(width, child->MinWidth());
    width = std::min(width, child->MaxWidth());
    child->SetPosition({x + pad.left, y + pad.top, x + pad.left + width, y + pad.top + sz.cy});
    y += sz.cy + pad.top + pad.bottom + childPadding_;
    remaining -= sz.cy + pad.bottom + childPadding_;
    needed += sz.cy + pad.top + pad.bottom;
  }
  needed += std::max(0, counted - 1) * childPadding_;
  ProcessScrollBar(reference, 0, needed);
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
