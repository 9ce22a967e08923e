#include "ui/controls/list_ui.h"

#include <algorithm>

#include "ui/controls/list_body_ui.h"
#include "ui/controls/list_header_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

CListUI::CListUI() {
  header_ = new CListHeaderUI();
  body_ = new CListBodyUI(this);
  CContainerUI::AddAt(header_, 0);
  CContainerUI::AddAt(body_, 1);
}

CListUI::~CListUI() {
  // The body goes first: its items' owner is this list.
  delayedDestroy_ = false;
  CContainerUI::RemoveAll();
  header_ = nullptr;
  body_ = nullptr;
}

const wchar_t* CListUI::ClassName() const { return L"ListUI"; }

void* CListUI::AsInterface(const std::wstring& name) {
  if (name == L"List") return static_cast<CListUI*>(this);
  if (name == L"IList") return static_cast<IListUI*>(this);
  if (name == L"IListOwner") return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::AsInterface(name);
}

CContainerUI* CListUI::List() const { return body_; }

// ---- items ----------------------------------------------------------------------------------

CControlUI* CListUI::ItemAt(int index) const { return body_->ItemAt(index); }
int CListUI::ItemIndex(CControlUI* control) const { return body_->ItemIndex(control); }
int CListUI::Count() const { return body_->Count(); }
int CListUI::FindSelectable(int index, bool forward) const { return body_->FindSelectable(index, forward); }

bool CListUI::SetItemIndex(CControlUI* control, int index) {
  if (!body_->SetItemIndex(control, index)) return false;
  curSel_ = NumberListItems(*body_, this);
  return true;
}

bool CListUI::Add(CControlUI* control) { return AddAt(control, body_->Count()); }

bool CListUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr) return false;
  if (control->AsInterface(L"ListHeader") != nullptr) {
    // The skin's header replaces the empty one the list starts with.
    if (header_ == control) return false;
    CListHeaderUI* old = header_;
    header_ = static_cast<CListHeaderUI*>(control);
    CContainerUI::Remove(old);
    return CContainerUI::AddAt(header_, 0);
  }
  if (control->AsInterface(L"ListHeaderItem") != nullptr) return header_->Add(control);
  return AddItemAt(control, index);
}

bool CListUI::AddItemAt(CControlUI* control, int index) {
  if (!body_->AddAt(control, index)) return false;
  // An item written selected becomes the selection (the one before it is let go).
  curSel_ = NumberListItems(*body_, this, control);
  return true;
}

bool CListUI::Remove(CControlUI* control) {
  IListItemUI* item = AsListItem(control);
  if (item != nullptr && item->Index() == expandedItem_) expandedItem_ = -1;
  if (!body_->Remove(control)) return false;
  curSel_ = NumberListItems(*body_, this);
  return true;
}

bool CListUI::RemoveAt(int index) {
  CControlUI* control = body_->ItemAt(index);
  return control != nullptr && Remove(control);
}

void CListUI::RemoveAll() {
  curSel_ = -1;
  expandedItem_ = -1;
  body_->RemoveAll();
}


// ---- selection ------------------------------------------------------------------------------

bool CListUI::SelectItem(int index, bool takeFocus) {
  CControlUI* control = index >= 0 ? body_->ItemAt(index) : nullptr;
  IListItemUI* item = AsListItem(control);
  if (index >= 0 && (item == nullptr || !control->IsVisible() || !control->IsEnabled())) return false;
  if (index == curSel_) {
    if (control != nullptr) {
      EnsureVisible(index);
      if (takeFocus) control->SetFocus();
    }
    return control != nullptr;
  }
  const int old = curSel_;
  if (IListItemUI* previous = AsListItem(body_->ItemAt(old))) previous->Select(false);
  curSel_ = index;
  if (item != nullptr) {
    item->Select(true);
    EnsureVisible(index);
    if (takeFocus) control->SetFocus();
  }
  if (host_ != nullptr) host_->SendNotify(this, L"itemselect", curSel_, old);
  return item != nullptr;
}

void CListUI::EnsureVisible(int index) {
  CControlUI* control = body_->ItemAt(index);
  if (control == nullptr || !body_->VerticalScrollBar() || !body_->VerticalScrollBar()->IsVisible()) return;
  const SkinRect& item = control->Position();
  SkinRect area = body_->Position().Deflated(body_->Inset());
  if (CScrollBarBaseUI* h = body_->HorizontalScrollBar(); h != nullptr && h->IsVisible()) area.bottom -= h->FixedHeight();
  int dy = 0;
  if (item.bottom > area.bottom) dy = item.bottom - area.bottom;
  if (item.top - dy < area.top) dy = item.top - area.top;
  if (dy == 0) return;
  SkinSize pos = body_->ScrollPos();
  pos.cy += dy;
  body_->SetScrollPos(pos);
}

bool CListUI::ExpandItem(int index, bool expand) {
  IListItemUI* item = AsListItem(body_->ItemAt(index));
  if (item == nullptr) return false;
  if (expand && !info_.multiExpanding && expandedItem_ >= 0 && expandedItem_ != index) {
    if (IListItemUI* other = AsListItem(body_->ItemAt(expandedItem_))) other->Expand(false);
  }
  const bool changed = item->Expand(expand);
  if (expand)
    expandedItem_ = index;
  else if (expandedItem_ == index)
    expandedItem_ = -1;
  return changed;
}

void CListUI::DoEvent(SkinEvent& event) {
  if (event.type == kEventScrollWheel) {
    if (scrollSelect_) {
      const int next = event.wParam == 0 ? FindSelectable(curSel_ - 1, false) : FindSelectable(curSel_ + 1, true);
      if (next >= 0) SelectItem(next, true);
    } else if (event.wParam == 0) {
      LineUp();
    } else {
      LineDown();
    }
    return;
  }
  if (event.type != kEventKeyDown) return;
  const int count = Count();
  if (count == 0) return;
  int next = -1;
  switch (event.chKey) {
    case kVkUp:
    case kVkDown:
    case kVkHome:
    case kVkEnd:
      next = StepSelection(*body_, curSel_, event.chKey);
      break;
    case kVkPrior:
    case kVkNext: {
      // A page of rows: the farthest selectable item within one body height of the selection.
      const bool down = event.chKey == kVkNext;
      const int from = curSel_ >= 0 ? curSel_ : FindSelectable(0, true);
      if (from < 0) return;
      const int page = std::max(1, body_->Position().Height() - body_->Inset().top - body_->Inset().bottom);
      const SkinRect& start = body_->ItemAt(from)->Position();
      next = from;
      for (int i = from + (down ? 1 : -1); i >= 0 && i < count; i += down ? 1 : -1) {
        CControlUI* c = body_->ItemAt(i);
        if (!c->IsVisible() || !c->IsEnabled()) continue;
        const SkinRect& r = c->Position();
        if (down ? r.bottom - start.top > page : start.bottom - r.top > page) break;
        next = i;
      }
      break;
    }
    default:
      return;
  }
  if (next >= 0) SelectItem(next, true);
}

void CListUI::HandleEvent(SkinEvent& event) {
  if (event.type == kEventKeyDown || event.type == kEventScrollWheel) {
    if (!IsEnabled()) return;
    DoEvent(event);
    return;
  }
  CVerticalLayoutUI::HandleEvent(event);
}

void CListUI::OnHeaderChanged() {
  info_.columns.clear();
  if (header_ != nullptr && header_->IsVisible()) {
    for (int i = 0; i < header_->Count(); ++i) {
      CControlUI* item = header_->ItemAt(i);
      if (item->IsVisible() && !item->IsFloat()) info_.columns.push_back(item->Position());
    }
  }
  const int width = header_ != nullptr ? header_->ContentWidth() : 0;
  if (width != lastHeaderWidth_) {
    // The rows follow the columns' total width (and the horizontal bar its excess).
    lastHeaderWidth_ = width;
    body_->RequestLayout();
  }
  body_->Invalidate();
}

// ---- scrolling: the body's ------------------------------------------------------------------

SkinSize CListUI::ScrollPos() const { return body_->ScrollPos(); }
SkinSize CListUI::ScrollRange() const { return body_->ScrollRange(); }
void CListUI::SetScrollPos(SkinSize pos) { body_->SetScrollPos(pos); }
void CListUI::LineUp() { body_->LineUp(); }
void CListUI::LineDown() { body_->LineDown(); }
void CListUI::PageUp() { body_->PageUp(); }
void CListUI::PageDown() { body_->PageDown(); }
void CListUI::HomeUp() { body_->HomeUp(); }
void CListUI::EndDown() { body_->EndDown(); }
void CListUI::LineLeft() { body_->LineLeft(); }
void CListUI::LineRight() { body_->LineRight(); }
void CListUI::PageLeft() { body_->PageLeft(); }
void CListUI::PageRight() { body_->PageRight(); }
void CListUI::HomeLeft() { body_->HomeLeft(); }
void CListUI::EndRight() { body_->EndRight(); }
void CListUI::EnableScrollBar(bool vertical, bool horizontal) { body_->EnableScrollBar(vertical, horizontal); }
CScrollBarBaseUI* CListUI::VerticalScrollBar() const { return body_->VerticalScrollBar(); }
CScrollBarBaseUI* CListUI::HorizontalScrollBar() const { return body_->HorizontalScrollBar(); }

void CListUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (info_.SetAttribute(name, value)) {
    body_->Invalidate();
  } else if (name == L"header") {
    header_->SetVisible(value != L"hidden" && value != L"false");
  } else if (name == L"headerbkimage") {
    header_->SetBkImage(value);
  } else if (name == L"scrollselect") {
    SetScrollSelect(ParseSkinBool(v));
  } else if (name == L"multiexpanding") {
    info_.multiExpanding = ParseSkinBool(v);
  } else if (name == L"vscrollbar" || name == L"hscrollbar" || name == L"vscrollbarstyle" ||
             name == L"hscrollbarstyle" || name == L"floatscrollbar") {
    // Scrolling is the body's.
    body_->SetAttribute(name, value);
  } else {
    CVerticalLayoutUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
