#include "ui/controls/list_label_element_ui.h"

#include "ui/core/skin_host.h"

namespace SkinUI {

CListLabelElementUI::CListLabelElementUI() = default;

const wchar_t* CListLabelElementUI::ClassName() const { return L"ListLabelElementUI"; }

void* CListLabelElementUI::AsInterface(const std::wstring& name) {
  if (name == L"ListLabelElement") return static_cast<CListLabelElementUI*>(this);
  return CListElementUI::AsInterface(name);
}

SkinSize CListLabelElementUI::MeasureSize(SkinSize available) {
  if (fixedHeight_ > 0 || host_ == nullptr) return CListElementUI::MeasureSize(available);
  const ListInfoUI& info = Info();
  const SkinFontInfo& font = host_->FontInfo(*host_->Font(info.font));
  return {fixedWidth_, info.textPadding.top + font.height + info.textPadding.bottom + 8};
}

void CListLabelElementUI::PaintText(IRenderCanvas& canvas) { DrawItemText(canvas, itemRect_); }

}  // namespace SkinUI
