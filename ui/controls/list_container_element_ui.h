#pragma once
// A list item that holds child controls (laid over the whole row, as in a plain container; a
// horizontal layout inside arranges them). It is selected, hot and activated like the other
// items; its children that take the mouse (buttons) keep their own clicks.
#include "ui/controls/list_item_base.h"
#include "ui/core/container_ui.h"

namespace SkinUI {

class CListContainerElementUI : public CListItemBaseUI<CContainerUI> {
 public:
  CListContainerElementUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // The item's own text ("text") with the owner's look; its children are not drawn there.
  void DrawItemText(IRenderCanvas& canvas, const SkinRect& rc) override;
};

}  // namespace SkinUI
