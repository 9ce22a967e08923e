#include "ui/controls/list_element_ui.h"

#include "ui/controls/skin_render.h"

namespace SkinUI {

CListElementUI::CListElementUI() = default;

const wchar_t* CListElementUI::ClassName() const { return L"ListElementUI"; }

void CListElementUI::DrawItemText(IRenderCanvas& canvas, const SkinRect& rc) {
  if (text_.empty() || host_ == nullptr) return;
  ListInfoUI& info = Info();
  SkinRect box = rc.Deflated(info.textPadding);
  const SkinColor color = ListItemTextColor(info, {index_, false, false, IsEnabled()});
  if (info.showHtml) {
    int links = 0;
    CSkinRender::RenderMarkupText(&canvas, host_, box, text_, color, nullptr, nullptr, links, info.textStyle);
  } else {
    CSkinRender::RenderPlainText(&canvas, host_, box, text_, color, info.font, info.textStyle);
  }
}

}  // namespace SkinUI
