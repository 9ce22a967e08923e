#include "ui/controls/scroll_bar_ui.h"

#include <algorithm>

#include "ui/controls/control_state.h"
#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {
namespace {

constexpr const wchar_t* kPartNames[] = {L"button1", L"button2", L"thumb", L"rail", L"bk"};
constexpr const wchar_t* kStateNames[] = {L"normal", L"hot", L"pushed", L"disabled"};

}  // namespace

CScrollBarUI::CScrollBarUI() {
  fixedWidth_ = kDefaultThickness;
  // Hit testing only finds mouse-enabled controls.
  mouseEnabled_ = true;
}

CScrollBarUI::~CScrollBarUI() = default;

std::unique_ptr<CScrollBarBaseUI> CScrollBarUI::Make() { return std::make_unique<CScrollBarUI>(); }

const wchar_t* CScrollBarUI::ClassName() const { return L"ScrollBarUI"; }

void* CScrollBarUI::AsInterface(const std::wstring& name) {
  if (name == L"ScrollBar") return static_cast<CScrollBarUI*>(this);
  return CControlUI::AsInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  if (horizontal_) {
    fixedHeight_ = minHeight_ = kDefaultThickness;
    fixedWidth_ = 0;
  } else {
    fixedWidth_ = kDefaultThickness;
    fixedHeight_ = minHeight_ = 0;
  }
  if (owner_ != nullptr)
    owner_->RequestLayout();
  else
    RequestParentLayout();
}

void CScrollBarUI::SetScrollRange(int range) {
  range = std::max(range, 0);
  if (range_ == range) return;
  range_ = range;
  value_ = std::clamp(value_, 0, range_);
  SetPosition(itemRect_);
}

void CScrollBarUI::SetScrollPos(int pos) {
  pos = std::clamp(pos, 0, range_);
  if (value_ == pos) return;
  value_ = pos;
  SetPosition(itemRect_);
}

void CScrollBarUI::SetShowButton1(bool show) {
  showButton1_ = show;
  SetPosition(itemRect_);
}

void CScrollBarUI::SetShowButton2(bool show) {
  showButton2_ = show;
  SetPosition(itemRect_);
}

int CScrollBarUI::Thickness() const {
  const int fixed = horizontal_ ? fixedHeight_ : fixedWidth_;
  if (fixed > 0) return fixed;
  return horizontal_ ? itemRect_.Height() : itemRect_.Width();
}

SkinRect CScrollBarUI::Span(int start, int end) const {
  if (horizontal_) return {start, itemRect_.top, end, itemRect_.top + Thickness()};
  return {itemRect_.left, start, itemRect_.left + Thickness(), end};
}

void CScrollBarUI::SetPosition(const SkinRect& rc) {
  CControlUI::SetPosition(rc);
  const int length = horizontal_ ? itemRect_.Width() : itemRect_.Height();
  const int start = Start(itemRect_);
  const int end = End(itemRect_);
  const int button = Thickness();
  const int available = length - (showButton1_ ? button : 0) - (showButton2_ ? button : 0);
  if (available > button) {
    button1_ = Span(start, start + (showButton1_ ? button : 0));
    button2_ = Span(end - (showButton2_ ? button : 0), end);
    const int trackStart = End(button1_);
    const int trackEnd = Start(button2_);
    if (range_ <= 0) {
      thumb_ = Span(trackStart, trackEnd);
    } else {
      // The thumb's share of the track is the page's share of page + range. It stays at least
      // as long as the bar is thick, so that it can still be grabbed, and never longer than the
      // track.
      long long t = 1LL * available * length / (1LL * length + range_);
      t = std::clamp<long long>(std::max<long long>(t, button), 0, available);
      long long thumbStart = trackStart + (available - t) * value_ / range_;
      if (thumbStart + t > trackEnd) thumbStart = trackEnd - t;
      thumb_ = Span(static_cast<int>(thumbStart), static_cast<int>(thumbStart + t));
    }
  } else {
    const int each = std::min(button, length / 2);
    button1_ = Span(start, start + (showButton1_ ? each : 0));
    button2_ = Span(end - (showButton2_ ? each : 0), end);
    thumb_ = {};
  }
  Invalidate();
}

void CScrollBarUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  CControlUI::SetVisible(visible);
  if (!visible) {
    state_[kButton1] = state_[kButton2] = state_[kThumb] = 0;
    press_ = Press::kNone;
  }
}

void CScrollBarUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) {
    state_[kButton1] = state_[kButton2] = state_[kThumb] = 0;
    press_ = Press::kNone;
    if (timerRunning_ && host_ != nullptr) host_->KillTimer(this, kRepeatTimerId);
    timerRunning_ = false;
  }
}

void CScrollBarUI::SetFocus() {
  if (owner_ != nullptr)
    owner_->SetFocus();
  else
    CControlUI::SetFocus();
}

void CScrollBarUI::MoveValue(int value) {
  const int before = value_;
  SetScrollPos(value);
  if (value_ != before && host_ != nullptr) host_->SendNotify(this, L"scroll", value_, 0);
}

void CScrollBarUI::LineBack() {
  if (owner_ == nullptr)
    MoveValue(value_ - lineSize_);
  else if (horizontal_)
    owner_->LineLeft();
  else
    owner_->LineUp();
}

void CScrollBarUI::LineForward() {
  if (owner_ == nullptr)
    MoveValue(value_ + lineSize_);
  else if (horizontal_)
    owner_->LineRight();
  else
    owner_->LineDown();
}

void CScrollBarUI::PageBack() {
  const int length = horizontal_ ? itemRect_.Width() : itemRect_.Height();
  if (owner_ == nullptr)
    MoveValue(value_ - length);
  else if (horizontal_)
    owner_->PageLeft();
  else
    owner_->PageUp();
}

void CScrollBarUI::PageForward() {
  const int length = horizontal_ ? itemRect_.Width() : itemRect_.Height();
  if (owner_ == nullptr)
    MoveValue(value_ + length);
  else if (horizontal_)
    owner_->PageRight();
  else
    owner_->PageDown();
}

void CScrollBarUI::DragTo(int value) {
  if (owner_ == nullptr) {
    MoveValue(value);
    return;
  }
  SkinSize pos = owner_->ScrollPos();
  if (horizontal_)
    pos.cx = value;
  else
    pos.cy = value;
  owner_->SetScrollPos(pos);
}

void CScrollBarUI::OnRepeatTick() {
  ++repeatTicks_;
  switch (press_) {
    case Press::kThumb:
      DragTo(dragValue_ + dragOffset_);
      break;
    case Press::kButton1:
      if (repeatTicks_ > kRepeatDelayTicks) LineBack();
      break;
    case Press::kButton2:
      if (repeatTicks_ > kRepeatDelayTicks) LineForward();
      break;
    case Press::kRailBefore:
    case Press::kRailAfter: {
      if (repeatTicks_ <= kRepeatDelayTicks || host_ == nullptr) break;
      // Pages on towards the pointer and stops once the thumb has reached it.
      const int at = Along(host_->LastMousePoint());
      if (press_ == Press::kRailBefore && at < Start(thumb_))
        PageBack();
      else if (press_ == Press::kRailAfter && at >= End(thumb_))
        PageForward();
      break;
    }
    case Press::kNone:
      break;
  }
}

void CScrollBarUI::SetPartState(std::uint32_t& state, std::uint32_t bits, bool on) {
  const std::uint32_t before = state;
  state = on ? state | bits : state & ~bits;
  if (state != before) Invalidate();
}

void CScrollBarUI::UpdateHot(SkinPoint pt) {
  SetPartState(state_[kButton1], kStateHot, button1_.Contains(pt));
  SetPartState(state_[kButton2], kStateHot, button2_.Contains(pt));
  SetPartState(state_[kThumb], kStateHot, thumb_.Contains(pt));
}

void CScrollBarUI::HandleEvent(SkinEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
    CControlUI::HandleEvent(event);
    return;
  }
  const SkinPoint pt = event.ptMouse;
  switch (event.type) {
    case kEventSetFocus:
    case kEventKillFocus:
      return;
    case kEventButtonDown:
    case kEventDblClick: {
      if (!IsEnabled()) return;
      repeatTicks_ = 0;
      dragOffset_ = 0;
      if (host_ != nullptr && !timerRunning_) timerRunning_ = host_->SetTimer(this, kRepeatTimerId, kRepeatMilliseconds);
      if (button1_.Contains(pt)) {
        press_ = Press::kButton1;
        SetPartState(state_[kButton1], kStatePushed, true);
        LineBack();
      } else if (button2_.Contains(pt)) {
        press_ = Press::kButton2;
        SetPartState(state_[kButton2], kStatePushed, true);
        LineForward();
      } else if (thumb_.Contains(pt)) {
        press_ = Press::kThumb;
        SetPartState(state_[kThumb], kStatePushed | kStateCaptured, true);
        dragStart_ = pt;
        dragValue_ = owner_ != nullptr ? (horizontal_ ? owner_->ScrollPos().cx : owner_->ScrollPos().cy) : value_;
      } else if (Along(pt) < Start(thumb_)) {
        press_ = Press::kRailBefore;
        PageBack();
      } else {
        press_ = Press::kRailAfter;
        PageForward();
      }
      return;
    }
    case kEventButtonUp:
      if (timerRunning_ && host_ != nullptr) host_->KillTimer(this, kRepeatTimerId);
      timerRunning_ = false;
      repeatTicks_ = 0;
      dragOffset_ = 0;
      press_ = Press::kNone;
      SetPartState(state_[kThumb], kStatePushed | kStateCaptured, false);
      SetPartState(state_[kButton1], kStatePushed, false);
      SetPartState(state_[kButton2], kStatePushed, false);
      return;
    case kEventMouseMove:
      if ((state_[kThumb] & kStateCaptured) != 0) {
        // The thumb travels the track less its own length; when it fills the track there is
        // nothing to travel and the drag changes nothing.
        const long long travel = 1LL * (Start(button2_) - End(button1_)) - (End(thumb_) - Start(thumb_));
        const long long moved = 1LL * Along(pt) - Along(dragStart_);
        dragOffset_ = travel > 0 ? ClampCoord(moved * range_ / travel) : 0;
      } else if (IsEnabled()) {
        UpdateHot(pt);
      }
      return;
    case kEventMouseEnter:
      if (IsEnabled()) UpdateHot(pt);
      return;
    case kEventMouseLeave:
      if (IsEnabled()) UpdateHot({-1, -1});
      return;
    case kEventTimer:
      if (static_cast<std::uintptr_t>(event.wParam) == kRepeatTimerId) {
        OnRepeatTick();
        return;
      }
      break;
    default:
      break;
  }
  CControlUI::HandleEvent(event);
}

void CScrollBarUI::SetImage(Part part, ImageState state, const std::wstring& description) {
  SetImageSpec(images_[part][state], description);
}

void CScrollBarUI::TakeStatusImages(Part part, const std::wstring& value) {
  SkinStatusImageMap images;
  if (!ParseStatusImage(value, images)) return;
  for (int s = 0; s < kImageStateCount; ++s) {
    auto it = images.find(kStateNames[s]);
    if (it != images.end()) images_[part][s] = it->second;
  }
  Invalidate();
}

void CScrollBarUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  for (int p = 0; p < kPartCount; ++p) {
    const std::wstring part = kPartNames[p];
    if (name.size() <= part.size() || name.compare(0, part.size(), part) != 0) continue;
    const std::wstring rest = name.substr(part.size());
    if (rest == L"statusimage") {
      TakeStatusImages(static_cast<Part>(p), value);
      return;
    }
    for (int s = 0; s < kImageStateCount; ++s) {
      if (rest == std::wstring(kStateNames[s]) + L"image") {
        SetImage(static_cast<Part>(p), static_cast<ImageState>(s), value);
        return;
      }
    }
  }
  if (name == L"hor")
    SetHorizontal(ParseSkinBool(v));
  else if (name == L"linesize")
    SetLineSize(ParseSkinInt(v));
  else if (name == L"range")
    SetScrollRange(ParseSkinInt(v));
  else if (name == L"value")
    SetScrollPos(ParseSkinInt(v));
  else if (name == L"showbutton1")
    SetShowButton1(ParseSkinBool(v));
  else if (name == L"showbutton2")
    SetShowButton2(ParseSkinBool(v));
  else
    CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::DrawPart(IRenderCanvas& canvas, Part part, std::uint32_t state, const SkinRect& rc) {
  if (rc.IsEmpty()) return;
  ImageState chosen = kImageNormal;
  if (!IsEnabled())
    chosen = kImageDisabled;
  else if ((state & kStatePushed) != 0)
    chosen = kImagePushed;
  else if ((state & kStateHot) != 0)
    chosen = kImageHot;
  auto draw = [&](ImageState s) {
    SkinImageSpec& spec = images_[part][s];
    if (spec.IsEmpty() || host_ == nullptr) return false;
    SkinImageSpec copy = spec;
    copy.dest = {rc.left - itemRect_.left, rc.top - itemRect_.top, rc.right - itemRect_.left, rc.bottom - itemRect_.top};
    if (canvas.PaintImage(host_, itemRect_, paintRect_, copy)) return true;
    spec.Reset();
    return false;
  };
  if (chosen == kImageNormal || !draw(chosen)) draw(kImageNormal);
}

void CScrollBarUI::PaintStatusImage(IRenderCanvas& canvas) {
  std::uint32_t any = 0;
  for (std::uint32_t s : state_) any |= s;
  DrawPart(canvas, kBk, any, itemRect_);
  DrawPart(canvas, kButton1, state_[kButton1], button1_);
  DrawPart(canvas, kButton2, state_[kButton2], button2_);
  if (thumb_.IsEmpty()) return;
  DrawPart(canvas, kThumb, state_[kThumb], thumb_);
  // The rail mark is a square of the bar's thickness in the middle of the thumb.
  const int t = Thickness();
  const int middle = (Start(thumb_) + End(thumb_)) / 2;
  DrawPart(canvas, kRail, state_[kThumb], Span(middle - t / 2, middle - t / 2 + t));
}

}  // namespace SkinUI
