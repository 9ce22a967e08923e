#include "ui/controls/slider_ui.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/controls/control_state.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
CSliderUI::CSliderUI() {
  mouseEnabled_ = true;
  keyboardEnabled_ = true;
}

const wchar_t* CSliderUI::ClassName() const { return L"SliderUI"; }

void* CSliderUI::AsInterface(const std::wstring& name) {
  if (name == L"Slider") return static_cast<CSliderUI*>(this);
  return CProgressUI::AsInterface(name);
}

std::uint32_t CSliderUI::ControlFlags() const { return IsEnabled() && IsKeyboardEnabled() ? 1u : 0u; }

void CSliderUI::SetStatusImages(const SkinStatusImageMap& images) {
  TakeStatusImage(images, L"normal", thumbImage_);
  TakeStatusImage(images, L"hot", thumbHotImage_);
  TakeStatusImage(images, L"pushed", thumbPushedImage_);
  Invalidate();
}

void CSliderUI::SetEnabled(bool enabled) {
  CProgressUI::SetEnabled(enabled);
  if (!IsEnabled()) thumbState_ = 0;
}

void CSliderUI::SetThumbSize(SkinSize size) {
  thumbSize_ = {std::clamp(size.cx, 0, kSkinCoordLimit), std::clamp(size.cy, 0, kSkinCoordLimit)};
  Invalidate();
}

void CSliderUI::SetStep(int step) { step_ = std::max(step, 1); }

SkinRect CSliderUI::ThumbRect() const {
  const long long range = std::max(1LL, 1LL * MaxValue() - MinValue());
  const long long offset = std::clamp(1LL * Value() - MinValue(), 0LL, range);
  if (IsHorizontal()) {
    const int track = std::max(itemRect_.Width() - thumbSize_.cx, 0);
    const int left = itemRect_.left + static_cast<int>(track * offset / range);
    const int top = itemRect_.top + (itemRect_.Height() - thumbSize_.cy) / 2;
    return {left, top, left + thumbSize_.cx, top + thumbSize_.cy};
  }
  // Vertical sliders grow upwards, like a vertical progress bar.
  const int track = std::max(itemRect_.Height() - thumbSize_.cy, 0);
  const int top = itemRect_.bottom - thumbSize_.cy - static_cast<int>(track * offset / range);
  const int left = itemRect_.left + (itemRect_.Width() - thumbSize_.cx) / 2;
  return {left, top, left + thumbSize_.cx, top + thumbSize_.cy};
}

int CSliderUI::ValueAt(SkinPoint pt) const {
  const long long range = std::max(1LL, 1LL * MaxValue() - MinValue());
  long long along;
  long long track;
  if (IsHorizontal()) {
    track = itemRect_.Width() - thumbSize_.cx;
    along = 1LL * pt.x - itemRect_.left - thumbSize_.cx / 2;
  } else {
    track = itemRect_.Height() - thumbSize_.cy;
    along = 1LL * itemRect_.bottom - thumbSize_.cy / 2 - pt.y;
  }
  if (track <= 0) return MinValue();
  along = std::clamp(along, 0LL, track);
  // Rounded to the nearest step.
  const long long raw = (along * range * 2 + track) / (track * 2);
  const long long steps = (raw * 2 + step_) / (step_ * 2);
  return static_cast<int>(std::min<long long>(MinValue() + steps * step_, MaxValue()));
}

void CSliderUI::MoveTo(int value, bool notify) {
  value = std::clamp(value, MinValue(), std::max(MinValue(), MaxValue()));
  if (value != Value()) SetValue(value);
  if (notify) Notify();
}

void CSliderUI::Notify() {
  if (Value() == lastNotified_) return;
  lastNotified_ = Value();
  if (host_ != nullptr) host_->SendNotify(this, L"valuechanged", Value());
}

void CSliderUI::HandleEvent(SkinEvent& event) {
  const SkinPoint pt = event.ptMouse;
  switch (event.type) {
    case kEventButtonDown:
    case kEventDblClick: {
      if (!IsEnabled()) return;
      lastNotified_ = Value();
      const SkinRect thumb = ThumbRect();
      if (thumb.Contains(pt)) {
        grab_ = {pt.x - (thumb.left + thumb.right) / 2, pt.y - (thumb.top + thumb.bottom) / 2};
      } else {
        // A press on the track jumps there; the thumb then follows the pointer.
        grab_ = {};
        MoveTo(ValueAt(pt), false);
      }
      thumbState_ |= kStatePushed | kStateCaptured;
      Invalidate();
      return;
    }
    case kEventMouseMove:
      if ((thumbState_ & kStateCaptured) != 0) {
        MoveTo(ValueAt({pt.x - grab_.x, pt.y - grab_.y}), notifyOnMove_);
      } else if (IsEnabled()) {
        const std::uint32_t before = thumbState_;
        thumbState_ = ThumbRect().Contains(pt) ? thumbState_ | kStateHot : thumbState_ & ~kStateHot;
        if (thumbState_ != before) Invalidate();
      }
      return;
    case kEventButtonUp:
      if ((thumbState_ & kStateCaptured) != 0) {
        thumbState_ &= ~(kStatePushed | kStateCaptured);
        Invalidate();
        Notify();
      }
      return;
    case kEventMouseLeave:
      if ((thumbState_ & kStateHot) != 0) {
        thumbState_ &= ~kStateHot;
        Invalidate();
      }
      return;
    case kEventKeyDown: {
      if (!IsEnabled()) return;
      const int page = std::max(step_, (MaxValue() - MinValue()) / 10);
      switch (event.chKey) {
        case platform::kVkLeft:
        case kVkDown: MoveTo(Value() - step_, true); return;
        case platform::kVkRight:
        case kVkUp: MoveTo(Value() + step_, true); return;
        case kVkHome: MoveTo(MinValue(), true); return;
        case kVkEnd: MoveTo(MaxValue(), true); return;
        case kVkPrior: MoveTo(Value() + page, true); return;
        case kVkNext: MoveTo(Value() - page, true); return;
        default: break;
      }
      break;
    }
    case kEventScrollWheel:
      if (!IsEnabled()) return;
      MoveTo(Value() + (event.wParam == 0 ? step_ : -step_), true);
      return;
    default:
      break;
  }
  CProgressUI::HandleEvent(event);
}

void CSliderUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"thumbimage") SetImageSpec(thumbImage_, value);
  else if (name == L"thumbhotimage") SetImageSpec(thumbHotImage_, value);
  else if (name == L"thumbpushedimage") SetImageSpec(thumbPushedImage_, value);
  else if (name == L"thumbsize") SetThumbSize(ParseSkinSize(v));
  else if (name == L"step") SetStep(ParseSkinInt(v));
  else if (name == L"notifyonmove") SetNotifyOnMove(ParseSkinBool(v));
  else {
    CProgressUI::SetAttribute(name, value);
    return;
  }
  Invalidate();
}

void CSliderUI::PaintStatusImage(IRenderCanvas& canvas) {
  CProgressUI::PaintStatusImage(canvas);
  if (host_ == nullptr) return;
  const SkinRect thumb = ThumbRect();
  auto draw = [&](SkinImageSpec& spec) {
    if (spec.IsEmpty()) return false;
    SkinImageSpec copy = spec;
    copy.dest = {thumb.left - itemRect_.left, thumb.top - itemRect_.top, thumb.right - itemRect_.left,
                 thumb.bottom - itemRect_.top};
    if (canvas.PaintImage(host_, itemRect_, paintRect_, copy)) return true;
    spec.Reset();
    return false;
  };
  SkinImageSpec* chosen = nullptr;
  if ((thumbState_ & kStatePushed) != 0)
    chosen = &thumbPushedImage_;
  else if ((thumbState_ & kStateHot) != 0)
    chosen = &thumbHotImage_;
  if (chosen == nullptr || !draw(*chosen)) draw(thumbImage_);
}

}  // namespace SkinUI
