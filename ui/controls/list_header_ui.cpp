#include "ui/controls/list_header_ui.h"

#include "ui/controls/list_interfaces.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

CListHeaderUI::CListHeaderUI() = default;

const wchar_t* CListHeaderUI::ClassName() const { return L"ListHeaderUI"; }

void* CListHeaderUI::AsInterface(const std::wstring& name) {
  if (name == L"ListHeader") return static_cast<CListHeaderUI*>(this);
  return CHorizontalLayoutUI::AsInterface(name);
}

SkinSize CListHeaderUI::MeasureSize(SkinSize available) {
  if (fixedHeight_ > 0 || host_ == nullptr) return CHorizontalLayoutUI::MeasureSize(available);
  int height = host_->DefaultFontInfo().height + 12;
  for (CControlUI* item : items_)
    if (item->IsVisible() && !item->IsFloat()) height = std::max(height, item->MeasureSize(available).cy);
  return {fixedWidth_, height};
}

int CListHeaderUI::ContentWidth() {
  long long width = 0;
  int counted = 0;
  for (CControlUI* item : items_) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    const SkinRect pad = item->Padding();
    width += 1LL * item->MeasureSize({0, 0}).cx + pad.left + pad.right;
    ++counted;
  }
  width += 1LL * std::max(0, counted - 1) * childPadding_;
  return ClampCoord(width + inset_.left + inset_.right);
}

void CListHeaderUI::SetPosition(const SkinRect& rc) {
  CHorizontalLayoutUI::SetPosition(rc);
  IListUI* list = parent_ != nullptr ? static_cast<IListUI*>(parent_->AsInterface(L"IList")) : nullptr;
  if (list == nullptr) return;
  // The columns scroll sideways with the rows.
  const int dx = list->List() != nullptr ? list->List()->ScrollPos().cx : 0;
  if (dx != 0) {
    for (CControlUI* item : items_) {
      if (!item->IsVisible() || item->IsFloat()) continue;
      SkinRect r = item->Position();
      r.Offset(-dx, 0);
      item->SetPosition(r);
    }
  }
  list->OnHeaderChanged();
}

void CListHeaderUI::SelectColumn(int column) {
  if (column < 0 || column >= Count()) return;
  reverse_ = column == selectedColumn_ ? !reverse_ : false;
  selectedColumn_ = column;
  Invalidate();
  if (host_ != nullptr) host_->SendNotify(this, L"headselect", column, reverse_ ? 1 : 0);
}

void CListHeaderUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"forwardimage") SetImageSpec(forwardImage_, value);
  else if (name == L"reverseimage") SetImageSpec(reverseImage_, value);
  else if (name == L"checknormalimage") SetImageSpec(checkImages_[kCheckNormal], value);
  else if (name == L"checkselectedimage") SetImageSpec(checkImages_[kCheckSelected], value);
  else if (name == L"checkselecteddisabledimage") SetImageSpec(checkImages_[kCheckSelectedDisabled], value);
  else if (name == L"checkdisabledimage") SetImageSpec(checkImages_[kCheckDisabled], value);
  else if (name == L"linecolor") lineColor_ = ParseSkinColor(value);
  else {
    CHorizontalLayoutUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CListHeaderUI::Paint(IRenderCanvas& canvas, const SkinRect& dirty) {
  CHorizontalLayoutUI::Paint(canvas, dirty);
  SkinRect clip;
  if (lineColor_ == 0 || !IntersectRect(clip, dirty, itemRect_)) return;
  // A line after every column, over the columns' own backgrounds.
  CRenderClip guard(canvas, clip);
  for (CControlUI* item : items_) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    const SkinRect& r = item->Position();
    canvas.FillColor({r.right - 1, itemRect_.top, r.right, itemRect_.bottom}, lineColor_);
  }
}

}  // namespace SkinUI
