#include "ui/controls/animation_player.h"

#include "ui/controls/skin_render.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

bool CAnimationPlayer::Load(const std::wstring& file) {
  Stop();
  current_ = 0;
  frames_.Clear();
  if (file.empty()) return false;
  return frames_.LoadFile(file);
}

void CAnimationPlayer::Start() {
  CSkinHost* host = owner_->Host();
  if (playing_ || host == nullptr || frames_.FrameCount() < 2) return;
  playing_ = host->SetTimer(owner_, timerId_, static_cast<unsigned>(frames_.Delay(current_)));
}

void CAnimationPlayer::Stop() {
  if (!playing_) return;
  playing_ = false;
  if (CSkinHost* host = owner_->Host()) host->KillTimer(owner_, timerId_);
}

bool CAnimationPlayer::OnTimer(std::uintptr_t id) {
  if (id != timerId_) return false;
  CSkinHost* host = owner_->Host();
  if (host == nullptr || frames_.FrameCount() < 2) return true;
  current_ = (current_ + 1) % frames_.FrameCount();
  // Each frame keeps its own delay: the timer starts again with the new frame's.
  host->KillTimer(owner_, timerId_);
  playing_ = host->SetTimer(owner_, timerId_, static_cast<unsigned>(frames_.Delay(current_)));
  owner_->Invalidate();
  return true;
}

bool CAnimationPlayer::Paint(IRenderCanvas& canvas, const SkinRect& rc, const SkinRect& dirty) const {
  const SkinBitmapInfo* frame = frames_.Frame(current_);
  if (frame == nullptr) return false;
  CSkinRender::BlitImagePieces(canvas, *frame, rc, dirty, {0, 0, frame->width, frame->height}, {}, true, 255, false,
                               false, false, true);
  return true;
}

}  // namespace SkinUI
