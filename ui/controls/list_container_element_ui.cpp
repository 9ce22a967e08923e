#include "ui/controls/list_container_element_ui.h"

#include "ui/controls/skin_render.h"

namespace SkinUI {

CListContainerElementUI::CListContainerElementUI() = default;

const wchar_t* CListContainerElementUI::ClassName() const { return L"ListContainerElementUI"; }

void* CListContainerElementUI::AsInterface(const std::wstring& name) {
  if (name == L"ListContainerElement") return static_cast<CListContainerElementUI*>(this);
  return CListItemBaseUI<CContainerUI>::AsInterface(name);
}

void CListContainerElementUI::DrawItemText(IRenderCanvas& canvas, const SkinRect& rc) {
  if (text_.empty() || host_ == nullptr) return;
  ListInfoUI& info = Info();
  SkinRect box = rc.Deflated(info.textPadding);
  CSkinRender::RenderPlainText(&canvas, host_, box, text_, ListItemTextColor(info, {index_, false, false, IsEnabled()}), info.font, info.textStyle);
}

}  // namespace SkinUI
