#include "ui/controls/frame_animated_ui.h"

#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

CFrameAnimatedUI::~CFrameAnimatedUI() {
  if (playing_ && host_ != nullptr) host_->KillTimer(this, timerId_);
}

void CFrameAnimatedUI::SetAnimationFile(const std::wstring& file) {
  if (file == file_ && loaded_) return;
  file_ = file;
  loaded_ = false;
  if (initialised_) OnInit();
  Invalidate();
}

void CFrameAnimatedUI::OnInit() {
  // Decoded once the control is in its window: until then the skin is still being built.
  initialised_ = true;
  if (!loaded_) {
    loaded_ = true;
    if (playing_ && host_ != nullptr) host_->KillTimer(this, timerId_);
    playing_ = false;
    current_ = 0;
    frames_.Clear();
    if (!file_.empty()) frames_.LoadFile(file_);
  }
  UpdatePlaying();
}

void CFrameAnimatedUI::UpdatePlaying() {
  const bool play = initialised_ && IsVisible() && frames_.FrameCount() > 1 && host_ != nullptr;
  if (play == playing_) return;
  if (play)
    playing_ = host_->SetTimer(this, timerId_, static_cast<unsigned>(frames_.Delay(current_)));
  else {
    playing_ = false;
    if (host_ != nullptr) host_->KillTimer(this, timerId_);
  }
}

void CFrameAnimatedUI::NextFrame() {
  current_ = (current_ + 1) % frames_.FrameCount();
  // Each frame keeps its own delay: the timer starts again with the new frame's.
  host_->KillTimer(this, timerId_);
  playing_ = host_->SetTimer(this, timerId_, static_cast<unsigned>(frames_.Delay(current_)));
  Invalidate();
}

void CFrameAnimatedUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  UpdatePlaying();
}

void CFrameAnimatedUI::SetInternalVisible(bool visible) {
  CControlUI::SetInternalVisible(visible);
  UpdatePlaying();
}

void CFrameAnimatedUI::HandleEvent(SkinEvent& event) {
  if (event.type == kEventTimer && static_cast<std::uintptr_t>(event.wParam) == timerId_) {
    if (playing_ && host_ != nullptr && frames_.FrameCount() > 1) NextFrame();
    return;
  }
  CControlUI::HandleEvent(event);
}

bool CFrameAnimatedUI::PaintFrame(IRenderCanvas& canvas) {
  const SkinBitmapInfo* frame = frames_.Frame(current_);
  if (frame == nullptr) return false;
  CSkinRender::BlitImagePieces(canvas, *frame, itemRect_, paintRect_, {0, 0, frame->width, frame->height}, {}, true,
                               255, false, false, false, true);
  return true;
}

}  // namespace SkinUI
