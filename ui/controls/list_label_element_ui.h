#pragma once
// A list item showing one text across the whole row, in the owner's item look.
#include "ui/controls/list_element_ui.h"

namespace SkinUI {

class CListLabelElementUI : public CListElementUI {
 public:
  CListLabelElementUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // The fixed height, else a line of the item font with the item text padding and some air.
  SkinSize MeasureSize(SkinSize available) override;
  void PaintText(IRenderCanvas& canvas) override;
};

}  // namespace SkinUI
