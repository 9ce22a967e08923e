#include "ui/core/tab_layout_ui.h"

#include <algorithm>

#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

const wchar_t* CTabLayoutUI::ClassName() const { return L"TabLayoutUI"; }

void* CTabLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"TabLayout") return static_cast<CControlUI*>(this);
  return CContainerUI::AsInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* page) {
  if (!CContainerUI::Add(page)) return false;
  if (current_ == -1 && page->IsVisible())
    current_ = ItemIndex(page);
  else
    page->SetVisible(false);
  return true;
}

bool CTabLayoutUI::AddAt(CControlUI* page, int index) {
  if (!CContainerUI::AddAt(page, index)) return false;
  if (current_ == -1 && page->IsVisible())
    current_ = ItemIndex(page);
  else if (current_ != -1 && index <= current_)
    ++current_;
  else
    page->SetVisible(false);
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* page) {
  const int index = ItemIndex(page);
  if (index < 0) return false;
  if (!CContainerUI::Remove(page)) return false;
  if (current_ == index) {
    if (Count() > 0) {
      current_ = 0;
      ItemAt(0)->SetVisible(true);
    } else {
      current_ = -1;
    }
    RequestParentLayout();
  } else if (current_ > index) {
    --current_;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  current_ = -1;
  CContainerUI::RemoveAll();
  RequestParentLayout();
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= Count()) return false;
  if (index == current_) return true;
  const int old = current_;
  current_ = index;
  for (int i = 0; i < Count(); ++i) {
    if (i == index) {
      ItemAt(i)->SetVisible(true);
      SetPosition(itemRect_);
    } else {
      ItemAt(i)->SetVisible(false);
    }
  }
  RequestParentLayout();
  if (host_ != nullptr) host_->SendNotify(this, L"tabselect", current_, old);
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) {
  const int index = ItemIndex(page);
  return index >= 0 && SelectItem(index);
}

void CTabLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selectedid")
    SelectItem(ParseSkinInt(value));
  else
    CContainerUI::SetAttribute(name, value);
}

void CTabLayoutUI::SetPosition(const SkinRect& rcIn) {
  CControlUI::SetPosition(rcIn);
  const SkinRect area0 = itemRect_.Deflated(inset_);
  for (int i = 0; i < Count(); ++i) {
    CControlUI* page = ItemAt(i);
    if (page->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (i != current_) continue;
    const SkinRect area = area0.Deflated(page->Padding());
    SkinSize sz = page->MeasureSize({area.Width(), area.Height()});
    if (sz.cx == 0) sz.cx = std::max(0, area.Width());
    if (sz.cy == 0) sz.cy = std::max(0, area.Height());
    sz.cx = std::min(std::max(sz.cx, page->MinWidth()), page->MaxWidth());
    sz.cy = std::min(std::max(sz.cy, page->MinHeight()), page->MaxHeight());
    page->SetPosition({area.left, area.top, area.left + sz.cx, area.top + sz.cy});
  }
}

}  // namespace SkinUI
