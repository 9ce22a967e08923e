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
  if (hBar) available.cx = ClampCoord(1LL * available.cx + ScrollRange().cx);

  // First pass: what the fixed-height children take. Sums are 64-bit: a skin may hold many
  // children of large sizes.
  int stretchable = 0;
  long long fixedTotal = 0;
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
    fixedTotal += 1LL * sz.cy + pad.top + pad.bottom;
    ++counted;
  }
  fixedTotal += 1LL * std::max(0, counted - 1) * childPadding_;
  const int stretch = stretchable > 0 ? ClampCoord(std::max(0LL, (available.cy - fixedTotal) / stretchable)) : 0;

  // Second pass: place them.
  long long y = rc.top - ScrollPos().cy;
  const long long x = rc.left - ScrollPos().cx;
  long long remaining = available.cy;
  long long needed = 0;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    CControlUI* child = items_[i];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SkinRect pad = child->Padding();
    remaining -= pad.top;
    SkinSize sz = child->MeasureSize({available.cx, ClampCoord(remaining)});
    if (sz.cy == 0) sz.cy = stretch;
    sz.cy = std::max(sz.cy, child->MinHeight());
    sz.cy = std::min(sz.cy, child->MaxHeight());
    int width = child->FixedWidth();
    if (width == 0) width = ClampCoord(std::max(0LL, 1LL * available.cx - pad.left - pad.right));
    width = std::max(width, child->MinWidth());
    width = std::min(width, child->MaxWidth());
    child->SetPosition({ClampCoord(x + pad.left), ClampCoord(y + pad.top), ClampCoord(x + pad.left + width),
                        ClampCoord(y + pad.top + sz.cy)});
    y += 1LL * sz.cy + pad.top + pad.bottom + childPadding_;
    remaining -= 1LL * sz.cy + pad.bottom + childPadding_;
    needed += 1LL * sz.cy + pad.top + pad.bottom;
  }
  needed += 1LL * std::max(0, counted - 1) * childPadding_;
  ProcessScrollBar(reference, 0, ClampCoord(needed));
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
