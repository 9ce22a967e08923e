#include "ui/controls/sequence_ui.h"

#include "ui/core/skin_host.h"
#include "ui/core/skin_value.h"

namespace SkinUI {

const wchar_t* CSequenceUI::ClassName() const { return L"SequenceUI"; }

void* CSequenceUI::AsInterface(const std::wstring& name) {
  if (name == L"Sequence") return static_cast<CSequenceUI*>(this);
  return CLabelUI::AsInterface(name);
}

void CSequenceUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const wchar_t* v = value.c_str();
  if (name == L"imagecount")
    SetFrameCount(ParseSkinInt(v));
  else if (name == L"elapse")
    SetInterval(ParseSkinInt(v));
  else if (name == L"loopcount")
    SetLoopLimit(ParseSkinInt(v));
  else
    CLabelUI::SetAttribute(name, value);
}

void CSequenceUI::Start() {
  if (host_ == nullptr) return;
  host_->KillTimer(this, kFrameTimerId);
  host_->SetTimer(this, kFrameTimerId, TimerPeriod(interval_));
}

void CSequenceUI::Stop(bool reset) {
  if (host_ != nullptr) host_->KillTimer(this, kFrameTimerId);
  if (reset) {
    current_ = 0;
    loops_ = 0;
    Invalidate();
  }
}

void CSequenceUI::HandleEvent(SkinEvent& event) {
  if (event.type != kEventTimer || event.wParam != static_cast<std::intptr_t>(kFrameTimerId)) {
    CLabelUI::HandleEvent(event);
    return;
  }
  if (++current_ >= frameCount_) {
    ++loops_;
    current_ = 0;
    if (loops_ == loopLimit_ && host_ != nullptr) host_->KillTimer(this, kFrameTimerId);
  }
  Invalidate();
}

bool CSequenceUI::DrawFrame(IRenderCanvas& canvas, int index, std::uint8_t alpha) {
  if (host_ == nullptr || frameCount_ < 1) return false;
  const SkinBitmapInfo* image =
      host_->FindImage(bkImage_.file, bkImage_.restype, bkImage_.mask, bkImage_.svgSize.cx, bkImage_.svgSize.cy);
  if (image == nullptr) return false;
  SkinImageSpec frame = bkImage_;
  SkinRect source = frame.source.IsNull() ? SkinRect{0, 0, image->width, image->height} : frame.source;
  const int width = source.Width() / frameCount_;
  source.left += index * width;
  source.right = source.left + width;
  frame.source = source;
  frame.fade = alpha;
  return canvas.PaintImage(host_, itemRect_, paintRect_, frame);
}

void CSequenceUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  if (bkImage_.IsEmpty() || frameCount_ < 2) {
    CLabelUI::PaintBackgroundImage(canvas);
    return;
  }
  if (!DrawFrame(canvas, current_, 255)) bkImage_.Reset();
}

}  // namespace SkinUI
