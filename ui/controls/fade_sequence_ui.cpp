#include "ui/controls/fade_sequence_ui.h"

#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

const wchar_t* CFadeSequenceUI::ClassName() const { return L"FadeSequenceUI"; }

void* CFadeSequenceUI::AsInterface(const std::wstring& name) {
  if (name == L"FadeSequence") return static_cast<CFadeSequenceUI*>(this);
  return CSequenceUI::AsInterface(name);
}

void CFadeSequenceUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"fadeelapse")
    SetFadeInterval(ParseSkinInt(value));
  else if (name == L"fadestep")
    SetFadeStep(ParseSkinInt(value));
  else
    CSequenceUI::SetAttribute(name, value);
}

void CFadeSequenceUI::Start() {
  if (host_ == nullptr) return;
  host_->KillTimer(this, kFadeTimerId);
  host_->KillTimer(this, kFrameTimerId);
  host_->SetTimer(this, kFrameTimerId, TimerPeriod(interval_));
}

void CFadeSequenceUI::Stop(bool reset) {
  if (host_ != nullptr) {
    host_->KillTimer(this, kFadeTimerId);
    host_->KillTimer(this, kFrameTimerId);
  }
  if (reset) {
    fadeLevel_ = 0;
    current_ = 0;
    loops_ = 0;
    Invalidate();
  }
}

void CFadeSequenceUI::HandleEvent(SkinEvent& event) {
  if (event.type == kEventTimer && event.wParam == static_cast<std::intptr_t>(kFrameTimerId)) {
    OnFrameTimer();
    return;
  }
  if (event.type == kEventTimer && event.wParam == static_cast<std::intptr_t>(kFadeTimerId)) {
    OnFadeTimer();
    return;
  }
  CSequenceUI::HandleEvent(event);
}

void CFadeSequenceUI::OnFrameTimer() {
  if (host_ != nullptr) host_->KillTimer(this, kFrameTimerId);
  if (current_ + 1 == frameCount_) ++loops_;
  if (loopLimit_ == 0 || loops_ < loopLimit_) {
    fadeLevel_ = Step();
    if (host_ != nullptr) host_->SetTimer(this, kFadeTimerId, TimerPeriod(fadeInterval_));
  }
  Invalidate();
}

void CFadeSequenceUI::OnFadeTimer() {
  if (fadeLevel_ > 254) {
    if (host_ != nullptr) host_->KillTimer(this, kFadeTimerId);
    // Without frames there is nothing to advance to.
    current_ = frameCount_ > 0 ? (current_ + 1) % frameCount_ : 0;
    fadeLevel_ = 0;
    if (host_ != nullptr) host_->SetTimer(this, kFrameTimerId, TimerPeriod(interval_));
  } else {
    fadeLevel_ += Step();
  }
  Invalidate();
}

void CFadeSequenceUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  // Without frames (a skin that gives no count) the frame width and the next frame are
  // undefined: the background is drawn as a plain image.
  if (bkImage_.IsEmpty() || frameCount_ < 1) {
    CLabelUI::PaintBackgroundImage(canvas);
    return;
  }
  bool drawn;
  if (fadeLevel_ == 0) {
    drawn = DrawFrame(canvas, current_, 255);
  } else {
    const int next = (current_ + 1) % frameCount_;
    if (fadeLevel_ <= 254)
      drawn = DrawFrame(canvas, current_, static_cast<std::uint8_t>(255 - fadeLevel_)) &&
              DrawFrame(canvas, next, static_cast<std::uint8_t>(fadeLevel_));
    else
      drawn = DrawFrame(canvas, next, 255);
  }
  if (!drawn) bkImage_.Reset();
}

}  // namespace SkinUI
