#pragma once
// The base of list items that draw themselves (label and text items).
#include "ui/controls/list_item_base.h"

namespace SkinUI {

class CListElementUI : public CListItemBaseUI<CControlUI> {
 public:
  CListElementUI();

  const wchar_t* ClassName() const override;
  // The item's text with the owner's look.
  void DrawItemText(IRenderCanvas& canvas, const SkinRect& rc) override;
};

}  // namespace SkinUI
