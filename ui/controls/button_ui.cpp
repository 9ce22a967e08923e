#include "ui/controls/button_ui.h"

#include "platform/window_messages.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
CButtonUI::CButtonUI() {
  textStyle_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  cursor_ = platform::kCursorHand;
  keyboardEnabled_ = true;
  // Hit testing finds only mouse-enabled controls: a button must be one to be clicked at all.
  mouseEnabled_ = true;
}

const wchar_t* CButtonUI::ClassName() const { return L"ButtonUI"; }

void* CButtonUI::AsInterface(const std::wstring& name) {
  if (name == L"Button") return static_cast<CButtonUI*>(this);
  return CLabelUI::AsInterface(name);
}

std::uint32_t CButtonUI::ControlFlags() const { return (IsKeyboardEnabled() ? 1u : 0u) | (IsEnabled() ? 2u : 0u); }

bool CButtonUI::CanActivate() {
  if (!CControlUI::CanActivate()) return false;
  if (host_ != nullptr) host_->SendNotify(this, L"click");
  return true;
}

void CButtonUI::SetStatusImages(const SkinStatusImageMap& images) {
  TakeStatusImage(images, L"normal", normalImage_);
  TakeStatusImage(images, L"hot", hotImage_);
  TakeStatusImage(images, L"pushed", pushedImage_);
  TakeStatusImage(images, L"focused", focusedImage_);
  TakeStatusImage(images, L"disabled", disabledStateImage_);
  RequestRepaint();
}

void CButtonUI::SetStatusForeImages(const SkinStatusImageMap& images) {
  TakeStatusImage(images, L"normal", foreImage_);
  TakeStatusImage(images, L"hot", hotForeImage_);
  TakeStatusImage(images, L"pushed", pushedForeImage_);
  RequestRepaint();
}

void CButtonUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!IsEnabled()) state_ = 0;
}

void CButtonUI::SetColor(SkinColor& field, SkinColor c) {
  if (field == c) return;
  field = c;
  RequestRepaint();
}

void CButtonUI::HandleEvent(SkinEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
    CLabelUI::HandleEvent(event);
    return;
  }
  const bool inside = itemRect_.Contains(event.ptMouse);
  switch (event.type) {
    case kEventKeyDown:
      if (IsKeyboardEnabled() && (event.chKey == kVkSpace || event.chKey == kVkReturn)) {
        CanActivate();
        return;
      }
      break;
    case kEventButtonDown:
    case kEventDblClick:
      if (inside && IsEnabled()) {
        state_ |= kStatePushed | kStateCaptured;
        Invalidate();
      }
      return;
    case kEventMouseMove:
      if ((state_ & kStateCaptured) != 0) {
        const std::uint32_t before = state_;
        state_ = inside ? state_ | kStatePushed : state_ & ~kStatePushed;
        if (state_ != before) Invalidate();
      }
      return;
    case kEventButtonUp:
      if ((state_ & kStateCaptured) != 0) {
        if (inside) CanActivate();
        state_ &= ~(kStatePushed | kStateCaptured);
        Invalidate();
      }
      return;
    case kEventContextMenu:
      if (IsContextMenuUsed()) {
        if (host_ != nullptr) host_->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
      }
      break;
    default:
      if (FollowHover(event.type, IsEnabled(), state_)) {
        Invalidate();
        return;
      }
      break;
  }
  CLabelUI::HandleEvent(event);
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"normalimage") {
    SetNormalImage(value);
  } else if (name == L"hotimage") {
    SetHotImage(value);
  } else if (name == L"pushedimage") {
    SetPushedImage(value);
  } else if (name == L"focusedimage") {
    SetFocusedImage(value);
  } else if (name == L"disabledimage") {
    SetDisabledStateImage(value);
  } else if (name == L"foreimage") {
    SetForeImage(value);
  } else if (name == L"hotforeimage") {
    SetHotForeImage(value);
  } else if (name == L"hotbkcolor") {
    SetHotBkColor(ParseSkinColor(v));
  } else if (name == L"pushedbkcolor") {
    SetPushedBkColor(ParseSkinColor(v));
  } else if (name == L"hotbordercolor") {
    SetHotBorderColor(ParseSkinColor(v));
  } else if (name == L"pushedbordercolor") {
    SetPushedBorderColor(ParseSkinColor(v));
  } else if (name == L"hottextcolor") {
    SetHotTextColor(ParseSkinColor(v));
  } else if (name == L"pushedtextcolor") {
    SetPushedTextColor(ParseSkinColor(v));
  } else if (name == L"statusforeimage") {
    SkinStatusImageMap images;
    if (ParseStatusImage(value, images)) SetStatusForeImages(images);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CButtonUI::RefreshStateBits() {
  state_ = IsFocused() ? state_ | kStateFocused : state_ & ~kStateFocused;
  state_ = IsEnabled() ? state_ & ~kStateDisabled : state_ | kStateDisabled;
}

SkinColor CButtonUI::PushedOrHot(SkinColor pushed, SkinColor hot) const {
  if ((state_ & kStatePushed) != 0 && pushed != 0) return pushed;
  if ((state_ & kStateHot) != 0 && hot != 0) return hot;
  return 0;
}

void CButtonUI::PaintBackgroundColor(IRenderCanvas& canvas) {
  const SkinColor color = IsEnabled() ? PushedOrHot(pushedBkColor_, hotBkColor_) : 0;
  if (color != 0)
    FillStateColor(canvas, color);
  else
    CLabelUI::PaintBackgroundColor(canvas);
}

void CButtonUI::PaintStatusImage(IRenderCanvas& canvas) {
  RefreshStateBits();
  SkinImageSpec* image = nullptr;
  SkinImageSpec* fore = nullptr;
  if ((state_ & kStateDisabled) != 0) {
    image = &disabledStateImage_;
  } else if ((state_ & kStatePushed) != 0) {
    image = &pushedImage_;
    fore = &pushedForeImage_;
  } else if ((state_ & kStateHot) != 0) {
    image = &hotImage_;
    fore = &hotForeImage_;
  } else if ((state_ & kStateFocused) != 0) {
    image = &focusedImage_;
  }
  if (image == nullptr || !DrawImage(canvas, *image)) DrawImage(canvas, normalImage_);
  if (fore == nullptr || !DrawImage(canvas, *fore)) DrawImage(canvas, foreImage_);
}

void CButtonUI::PaintText(IRenderCanvas& canvas) {
  DrawLabelText(canvas, IsEnabled() ? PushedOrHot(pushedTextColor_, hotTextColor_) : 0);
}

void CButtonUI::PaintBorder(IRenderCanvas& canvas) {
  const SkinColor color = IsEnabled() ? PushedOrHot(pushedBorderColor_, hotBorderColor_) : 0;
  if (color != 0)
    StrokeBorder(canvas, color);
  else
    CLabelUI::PaintBorder(canvas);
}

}  // namespace SkinUI
