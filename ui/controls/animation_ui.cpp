#include "ui/controls/animation_ui.h"

#include "ui/core/skin_host.h"

namespace SkinUI {

CAnimationUI::CAnimationUI() = default;

CAnimationUI::~CAnimationUI() { player_.Stop(); }

const wchar_t* CAnimationUI::ClassName() const { return L"AnimationUI"; }

void* CAnimationUI::AsInterface(const std::wstring& name) {
  if (name == L"Animation") return static_cast<CAnimationUI*>(this);
  return CControlUI::AsInterface(name);
}

void CAnimationUI::OnInit() {
  initialised_ = true;
  if (!loaded_) {
    loaded_ = true;
    player_.Load(bkImage_.file);
  }
  UpdatePlaying();
}

void CAnimationUI::UpdatePlaying() {
  if (IsVisible() && loaded_)
    player_.Start();
  else
    player_.Stop();
}

void CAnimationUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  UpdatePlaying();
}

void CAnimationUI::SetInternalVisible(bool visible) {
  CControlUI::SetInternalVisible(visible);
  UpdatePlaying();
}

void CAnimationUI::HandleEvent(SkinEvent& event) {
  if (event.type == kEventTimer && player_.OnTimer(static_cast<std::uintptr_t>(event.wParam))) return;
  CControlUI::HandleEvent(event);
}

void CAnimationUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  CControlUI::SetAttribute(name, value);
  if (name != L"bkimage") return;
  loaded_ = false;
  player_.Stop();
  if (initialised_) OnInit();
}

void CAnimationUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  if (!player_.Paint(canvas, itemRect_, paintRect_)) CControlUI::PaintBackgroundImage(canvas);
}

}  // namespace SkinUI
