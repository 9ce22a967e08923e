#include "ui/controls/gif_ui.h"

#include "ui/core/skin_host.h"

namespace SkinUI {

CGifUI::CGifUI() = default;

CGifUI::~CGifUI() { player_.Stop(); }

const wchar_t* CGifUI::ClassName() const { return L"GifUI"; }

void* CGifUI::AsInterface(const std::wstring& name) {
  if (name == L"Gif") return static_cast<CGifUI*>(this);
  return CControlUI::AsInterface(name);
}

void CGifUI::SetGifFile(const std::wstring& file) {
  if (file == file_ && loaded_) return;
  file_ = file;
  loaded_ = false;
  player_.Stop();
  // Decoded once the control is in its window (until then the skin is still being built).
  if (initialised_) OnInit();
  Invalidate();
}

void CGifUI::OnInit() {
  initialised_ = true;
  if (!loaded_) {
    loaded_ = true;
    player_.Load(file_);
  }
  UpdatePlaying();
}

void CGifUI::UpdatePlaying() {
  if (IsVisible() && loaded_)
    player_.Start();
  else
    player_.Stop();
}

void CGifUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  UpdatePlaying();
}

void CGifUI::SetInternalVisible(bool visible) {
  CControlUI::SetInternalVisible(visible);
  UpdatePlaying();
}

void CGifUI::HandleEvent(SkinEvent& event) {
  if (event.type == kEventTimer && player_.OnTimer(static_cast<std::uintptr_t>(event.wParam))) return;
  CControlUI::HandleEvent(event);
}

void CGifUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"gif")
    SetGifFile(value);
  else
    CControlUI::SetAttribute(name, value);
}

void CGifUI::PaintStatusImage(IRenderCanvas& canvas) { player_.Paint(canvas, itemRect_, paintRect_); }

}  // namespace SkinUI
