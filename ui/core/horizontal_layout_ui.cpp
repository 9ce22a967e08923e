#include "ui/core/horizontal_layout_ui.h"

#include <algorithm>

#include "ui/core/skin_value.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() = default;

const wchar_t* CHorizontalLayoutUI::ClassName() const { return L"HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"HorizontalLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CHorizontalLayoutUI::ControlFlags() const { return IsEnabled() && separator_.size != 0 ? 2 : 0; }

void CHorizontalLayoutUI::SetPosition(const SkinRect& rcIn) {
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

  int stretchable = 0;
  int fixedTotal = 0;
  int counted = 0;
  for (CControlUI* child : items_) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    SkinSize sz = child->MeasureSize(available);
    if (sz.cx == 0) {
      ++stretchable;
    } else {
      sz.cx = std::max(sz.cx, child->MinWidth());
      sz.cx = std::min(sz.cx, child->MaxWidth());
    }
    const SkinRect pad = child->Padding();
    fixedTotal += sz.cx + pad.left + pad.right;
    ++counted;
  }
  fixedTotal += std::max(0, counted - 1) * childPadding_;
  int stretch = stretchable > 0 ? (available.cx - fixedTotal) / stretchable : 0;
  if (stretch < 0) stretch = 0;

  int x = rc.left - (hBar ? hScroll_->ScrollPos() : 0);
  int remaining = available.cx;
  int needed = 0;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SkinRect pad = child->Padding();
    remaining -= pad.left;
    SkinSize sz = child->MeasureSize({remaining, available.cy});
    if (sz.cx == 0) sz.cx = stretch;
    sz.cx = std::max(sz.cx, child->MinWidth());
    sz.cx = std::min(sz.cx, child->MaxWidth());
    int height = child->FixedHeight();
    if (height == 0) height = std::max(0, rc.Height() - pad.top - pad.bottom);
    height = std::max(height, child->MinHeight());
    height = std::min(height, child->MaxHeight());
    child->SetPosition({x + pad.left, rc.top + pad.top, x + pad.left + sz.cx, rc.top + pad.top + height});
    x += sz.cx + pad.left + pad.right + childPadding_;
    remaining -= sz.cx + pad.right + childPadding_;
    needed += sz.cx + pad.left + pad.right;
  }
  needed += std::max(0, counted - 1) * childPadding_;

  if (hScroll_) {
    if (needed > rc.Width()) {
      if (!hScroll_->IsVisible()) {
        hScroll_->SetVisible(true);
        hScroll_->SetScrollPos(0);
      }
      hScroll_->SetScrollRange(needed - rc.Width());
    } else if (hScroll_->IsVisible()) {
      hScroll_->SetVisible(false);
      hScroll_->SetScrollRange(0);
      hScroll_->SetScrollPos(0);
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
