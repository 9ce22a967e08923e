#include "ui/controls/animation_ui.h"

namespace SkinUI {

CAnimationUI::CAnimationUI() : CFrameAnimatedUI(kFrameTimerId) {}

const wchar_t* CAnimationUI::ClassName() const { return L"AnimationUI"; }

void* CAnimationUI::AsInterface(const std::wstring& name) {
  if (name == L"Animation") return static_cast<CAnimationUI*>(this);
  return CControlUI::AsInterface(name);
}

void CAnimationUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  CFrameAnimatedUI::SetAttribute(name, value);
  if (name == L"bkimage") SetAnimationFile(bkImage_.file);
}

void CAnimationUI::PaintBackgroundImage(IRenderCanvas& canvas) {
  if (!PaintFrame(canvas)) CFrameAnimatedUI::PaintBackgroundImage(canvas);
}

}  // namespace SkinUI
