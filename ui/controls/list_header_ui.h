#pragma once
// The column header row of a list: a horizontal layout of header items whose positions are the
// list's columns. It follows the list's horizontal scrolling, keeps the sort column (clicking a
// selectable column selects it, clicking it again reverses the order; "headselect" with the
// column and 1 for the reverse order) and the images its items draw: the sort marks and the check
// boxes.
#include "ui/core/horizontal_layout_ui.h"

namespace SkinUI {

class CListHeaderItemUI;

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  CListHeaderUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // The fixed height, else a line of the default font with some air.
  SkinSize MeasureSize(SkinSize available) override;
  // Lays the columns out, moved by the list's horizontal scroll position, and tells the list.
  void SetPosition(const SkinRect& rc) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderCanvas& canvas, const SkinRect& dirty) override;

  // The width the columns need (their fixed widths and paddings).
  int ContentWidth();
  int SelectedColumn() const { return selectedColumn_; }
  bool IsReverse() const { return reverse_; }
  // Selects the sort column (again: reverses the order) and sends "headselect".
  void SelectColumn(int column);

  enum CheckImage { kCheckNormal, kCheckSelected, kCheckSelectedDisabled, kCheckDisabled, kCheckImageCount };
  SkinImageSpec& CheckImageSpec(CheckImage which) { return checkImages_[which]; }
  SkinImageSpec& ForwardImage() { return forwardImage_; }
  SkinImageSpec& ReverseImage() { return reverseImage_; }
  SkinColor LineColor() const { return lineColor_; }

 private:
  int selectedColumn_ = -1;
  bool reverse_ = false;
  SkinImageSpec checkImages_[kCheckImageCount];
  SkinImageSpec forwardImage_;
  SkinImageSpec reverseImage_;
  SkinColor lineColor_ = 0;
};

}  // namespace SkinUI
