#include "ui/controls/combo_ui.h"

#include "platform/window_messages.h"
#include "platform/window_system.h"
#include "ui/controls/combo_wnd.h"
#include "ui/controls/control_state.h"
#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
CComboUI::CComboUI() {
  mouseEnabled_ = true;
  keyboardEnabled_ = true;
  info_.textPadding = {4, 0, 4, 0};
  textPadding_ = {4, 0, 4, 0};
}

CComboUI::~CComboUI() {
  // The drop-down gives the items back before they are destroyed with the control.
  drop_.reset();
}

const wchar_t* CComboUI::ClassName() const { return L"ComboUI"; }

void* CComboUI::AsInterface(const std::wstring& name) {
  if (name == L"Combo") return static_cast<CComboUI*>(this);
  if (name == L"IListOwner") return static_cast<IListOwnerUI*>(this);
  return CContainerUI::AsInterface(name);
}

std::uint32_t CComboUI::ControlFlags() const { return IsEnabled() ? 1u : 0u; }

bool CComboUI::IsDropped() const { return drop_ != nullptr && drop_->IsOpen(); }

void CComboUI::CloseDropDown() {
  if (IsDropped()) drop_->Dismiss();
}

bool CComboUI::CanActivate() {
  if (!CControlUI::CanActivate()) return false;
  if (IsDropped()) return true;
  if (host_ != nullptr) host_->SendNotify(this, L"dropdown");
  drop_ = std::make_unique<CComboWnd>(this);
  if (!drop_->Open()) return false;
  state_ |= kStatePushed;
  Invalidate();
  return true;
}

void CComboUI::OnDropClosed() {
  for (CControlUI* item : items_) {
    // Back with this control, as before the drop-down took them.
    item->SetHost(host_, this, false, callback_);
    item->SetInternalVisible(IsVisible());
  }
  state_ &= ~kStatePushed;
  Invalidate();
}

void CComboUI::SetEnabled(bool enabled) {
  CContainerUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    state_ = 0;
    CloseDropDown();
  }
}

void CComboUI::SetStatusImages(const SkinStatusImageMap& images) {
  images_.Take(images, kAllStateImages);
  Invalidate();
}

void CComboUI::SetPosition(const SkinRect& rc) { CControlUI::SetPosition(rc); }

CControlUI* CComboUI::LocateControl(FindControlProc visitor, void* data, std::uint32_t flags) {
  // The pointer never finds the items in the control (they are shown by the drop-down); other
  // searches (names, layout) see them as children.
  if ((flags & kFindHitTest) != 0) return CControlUI::LocateControl(visitor, data, flags);
  return CContainerUI::LocateControl(visitor, data, flags);
}

SkinSize CComboUI::MeasureSize(SkinSize available) { return CControlUI::MeasureSize(available); }

void CComboUI::Paint(IRenderCanvas& canvas, const SkinRect& dirty) { CControlUI::Paint(canvas, dirty); }

// ---- items ----------------------------------------------------------------------------------

bool CComboUI::Add(CControlUI* control) { return AddAt(control, Count()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  // An item written selected becomes the selection.
  curSel_ = NumberListItems(*this, this, control);
  return true;
}

bool CComboUI::Remove(CControlUI* control) {
  if (IsDropped()) drop_->DismissNow();
  if (!CContainerUI::Remove(control)) return false;
  curSel_ = NumberListItems(*this, this);
  Invalidate();
  return true;
}

bool CComboUI::RemoveAt(int index) {
  CControlUI* control = ItemAt(index);
  return control != nullptr && Remove(control);
}

void CComboUI::RemoveAll() {
  if (IsDropped()) drop_->DismissNow();
  curSel_ = -1;
  CContainerUI::RemoveAll();
  Invalidate();
}

bool CComboUI::SetItemIndex(CControlUI* control, int index) {
  if (!CContainerUI::SetItemIndex(control, index)) return false;
  curSel_ = NumberListItems(*this, this);
  return true;
}


// ---- selection ------------------------------------------------------------------------------

bool CComboUI::SelectItem(int index, bool takeFocus) {
  CControlUI* control = index >= 0 ? ItemAt(index) : nullptr;
  IListItemUI* item = AsListItem(control);
  if (index >= 0 && (item == nullptr || !control->IsEnabled())) return false;
  // The items live in the drop-down while it is open: the focus stays with this control.
  (void)takeFocus;
  if (index == curSel_) return item != nullptr;
  const int old = curSel_;
  if (IListItemUI* previous = AsListItem(ItemAt(old))) previous->Select(false);
  curSel_ = index;
  if (item != nullptr) item->Select(true);
  if (IsDropped()) drop_->EnsureVisible(curSel_);
  Invalidate();
  if (host_ != nullptr) host_->SendNotify(this, L"itemselect", curSel_, old);
  return item != nullptr;
}

void CComboUI::DoEvent(SkinEvent& event) {
  if (Count() == 0) return;
  int next = -1;
  if (event.type == kEventScrollWheel) {
    next = event.wParam == 0 ? FindSelectable(curSel_ - 1, false) : FindSelectable(curSel_ + 1, true);
  } else if (event.type == kEventKeyDown) {
    // A drop-down list has no pages: Page Up and Page Down go to the ends.
    int key = event.chKey;
    if (key == kVkPrior) key = kVkHome;
    if (key == kVkNext) key = kVkEnd;
    next = StepSelection(*this, curSel_, key);
  }
  if (next >= 0) SelectItem(next);
}

void CComboUI::HandleEvent(SkinEvent& event) {
  switch (event.type) {
    case kEventButtonDown:
    case kEventDblClick:
      if (IsEnabled()) {
        if (IsDropped())
          CloseDropDown();
        else
          CanActivate();
      }
      return;
    case kEventButtonUp:
    case kEventMouseMove:
      return;
    case kEventKeyDown: {
      if (!IsEnabled()) return;
      const bool alt = platform::WindowSystem() != nullptr && platform::WindowSystem()->IsKeyDown(platform::kVkMenu);
      if (event.chKey == platform::kVkF4 || (alt && event.chKey == kVkDown)) {
        CanActivate();
        return;
      }
      DoEvent(event);
      return;
    }
    case kEventSysKey:
      // Alt+Down arrives as a system key.
      if (IsEnabled() && event.chKey == kVkDown) CanActivate();
      return;
    case kEventScrollWheel:
      if (IsEnabled() && !IsDropped()) DoEvent(event);
      return;
    case kEventMouseEnter:
    case kEventMouseLeave:
      FollowHover(event.type, IsEnabled(), state_);
      Invalidate();
      return;
    case kEventKillFocus:
      CloseDropDown();
      break;
    default:
      break;
  }
  CContainerUI::HandleEvent(event);
}

void CComboUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (images_.SetAttribute(name, value, kAllStateImages)) {
    Invalidate();
    return;
  }
  if (info_.SetAttribute(name, value)) return;
  if (name == L"textpadding") textPadding_ = ClampRect(ParseSkinRect(v));
  else if (name == L"dropbox") dropBoxAttributes_ = value;
  else if (name == L"dropboxsize") dropBoxSize_ = ClampSize(ParseSkinSize(v));
  else if (name == L"dropboxoffset") dropBoxOffset_ = ClampSize(ParseSkinSize(v));
  else {
    CContainerUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CComboUI::PaintStatusImage(IRenderCanvas& canvas) {
  CStateImagesUI::State state = CStateImagesUI::kNormal;
  if (!IsEnabled())
    state = CStateImagesUI::kDisabled;
  else if ((state_ & kStatePushed) != 0)
    state = CStateImagesUI::kPushed;
  else if ((state_ & kStateHot) != 0)
    state = CStateImagesUI::kHot;
  else if (IsFocused())
    state = CStateImagesUI::kFocused;
  images_.Paint(state, [&](SkinImageSpec& spec) { return DrawImage(canvas, spec); });
}

SkinRect CComboUI::TextRect() const { return itemRect_.Deflated(textPadding_); }

void CComboUI::PaintText(IRenderCanvas& canvas) {
  if (host_ == nullptr) return;
  const SkinRect rc = TextRect();
  CRenderClip clip(canvas, rc);
  if (IListItemUI* item = AsListItem(ItemAt(curSel_))) {
    item->DrawItemText(canvas, rc);
    return;
  }
  if (text_.empty()) return;
  SkinRect box = rc;
  const SkinColor color = IsEnabled() ? (info_.textColor != 0 ? info_.textColor : host_->DefaultTextColor())
                                      : host_->DisabledTextColor();
  CSkinRender::RenderPlainText(&canvas, host_, box, text_, color, info_.font, info_.textStyle);
}

}  // namespace SkinUI
