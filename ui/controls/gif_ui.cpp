#include "ui/controls/gif_ui.h"

namespace SkinUI {

CGifUI::CGifUI() : CFrameAnimatedUI(kFrameTimerId) {}

const wchar_t* CGifUI::ClassName() const { return L"GifUI"; }

void* CGifUI::AsInterface(const std::wstring& name) {
  if (name == L"Gif") return static_cast<CGifUI*>(this);
  return CControlUI::AsInterface(name);
}

void CGifUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"gif")
    SetAnimationFile(value);
  else
    CFrameAnimatedUI::SetAttribute(name, value);
}

void CGifUI::PaintStatusImage(IRenderCanvas& canvas) { PaintFrame(canvas); }

}  // namespace SkinUI
