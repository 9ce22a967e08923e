#pragma once
// What every list item shares, over the control class it is made from (a plain control for the
// items that draw themselves, a container for the items that hold controls): its owner and
// index, the selected, hot and expanded states, the owner's look, selection by click or
// keyboard through the owner, and the item notifications ("itemclick" on a press, "itemdbclick"
// and "itemactivate" on a double click, "itemactivate" on Return).
#include "ui/controls/list_interfaces.h"
#include "ui/controls/list_item_look.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

template <class Base>
class CListItemBaseUI : public Base, public IListItemUI {
 public:
  CListItemBaseUI() {
    // Items are picked with the mouse.
    this->mouseEnabled_ = true;
  }

  void* AsInterface(const std::wstring& name) override {
    if (name == L"ListItem") return static_cast<IListItemUI*>(this);
    return Base::AsInterface(name);
  }

  void SetEnabled(bool enabled) override {
    Base::SetEnabled(enabled);
    if (!this->IsEnabled()) hot_ = false;
  }

  void SetVisible(bool visible) override {
    Base::SetVisible(visible);
    // A hidden item cannot stay the selection.
    if (!visible && selected_ && owner_ != nullptr && owner_->CurSel() == index_) owner_->SelectItem(-1);
  }

  // "itemactivate" when visible and enabled.
  bool CanActivate() override {
    if (!CControlUI::CanActivate()) return false;
    if (this->host_ != nullptr) this->host_->SendNotify(this, L"itemactivate", index_);
    return true;
  }

  void HandleEvent(SkinEvent& event) override {
    if (!HandleItemEvent(event)) Base::HandleEvent(event);
  }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name != L"selected") {
      Base::SetAttribute(name, value);
      return;
    }
    const bool on = ParseSkinBool(value);
    if (owner_ != nullptr && on)
      owner_->SelectItem(index_);
    else
      Select(on);
  }

  // The owner's item background in the item's state, then the control's own background.
  void PaintBackgroundColor(IRenderCanvas& canvas) override {
    PaintListItemBk(canvas, this->host_, Info(), this->itemRect_, this->paintRect_, LookState());
    Base::PaintBackgroundColor(canvas);
  }

  void PaintBorder(IRenderCanvas& canvas) override {
    PaintListItemLine(canvas, Info(), this->itemRect_);
    Base::PaintBorder(canvas);
  }

  // ---- IListItemUI ---------------------------------------------------------------------------
  int Index() const override { return index_; }
  void SetIndex(int index) override { index_ = index; }
  IListOwnerUI* Owner() const override { return owner_; }
  void SetOwner(IListOwnerUI* owner) override { owner_ = owner; }
  bool IsSelected() const override { return selected_; }
  void Select(bool selected) override {
    if (selected_ == selected) return;
    selected_ = selected;
    this->Invalidate();
  }
  bool IsExpanded() const override { return expanded_; }
  bool Expand(bool expand) override {
    if (expanded_ == expand) return false;
    expanded_ = expand;
    this->Invalidate();
    return true;
  }

  bool IsHot() const { return hot_; }

 protected:
  ListItemState LookState() const { return {index_, selected_, hot_, this->IsEnabled()}; }

  // The owner's look; a default look for an item without owner.
  ListInfoUI& Info() const {
    static ListInfoUI fallback;
    ListInfoUI* info = owner_ != nullptr ? owner_->ListInfo() : nullptr;
    return info != nullptr ? *info : fallback;
  }

  // The events every item handles the same way; true when the event was used.
  bool HandleItemEvent(SkinEvent& event) {
    CSkinHost* host = this->host_;
    switch (event.type) {
      case kEventButtonDown:
      case kEventRButtonDown:
        if (!this->IsEnabled()) return true;
        if (owner_ != nullptr)
          owner_->SelectItem(index_, true);
        else
          Select(true);
        // After the selection, so that a window reacting to the click sees the item selected.
        if (host != nullptr) host->SendNotify(this, L"itemclick", index_);
        return true;
      case kEventDblClick:
        if (!this->IsEnabled()) return true;
        if (host != nullptr) host->SendNotify(this, L"itemdbclick", index_);
        this->CanActivate();
        return true;
      case kEventKeyDown:
        if (event.chKey == kVkReturn) {
          this->CanActivate();
          return true;
        }
        [[fallthrough]];
      case kEventScrollWheel:
        if (owner_ == nullptr) return false;
        owner_->DoEvent(event);
        return true;
      case kEventMouseEnter:
        if (this->IsEnabled() && !hot_) {
          hot_ = true;
          this->Invalidate();
        }
        return true;
      case kEventMouseLeave:
        if (hot_) {
          hot_ = false;
          this->Invalidate();
        }
        return true;
      case kEventButtonUp:
      case kEventRButtonUp:
      case kEventMouseMove:
        return true;
      default:
        return false;
    }
  }

  int index_ = -1;
  IListOwnerUI* owner_ = nullptr;
  bool selected_ = false;
  bool hot_ = false;
  bool expanded_ = false;
};

}  // namespace SkinUI
