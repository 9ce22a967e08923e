#pragma once
// One column header of a list: its caption, state images, a drag strip on its edge that resizes
// the column ("dragable", "sepwidth"), an optional check box ("checkrect", drawn with the
// header's check images) and a click that sends "headerclick" (wParam: the column) and, with
// "canselect", makes it the header's sort column.
#include <cstdint>

#include "ui/controls/state_images.h"
#include "ui/controls/text_style.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

class CListHeaderUI;

class CListHeaderItemUI : public CControlUI {
 public:
  // Columns are never dragged narrower than this (nor below their minimum width).
  static constexpr int kMinDragWidth = 16;

  CListHeaderItemUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // The sizing cursor over the drag strip (2) while enabled.
  std::uint32_t ControlFlags() const override;
  // Takes "normal", "hot", "pushed" and "focused".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetEnabled(bool enabled) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SkinSize MeasureSize(SkinSize available) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  void PaintText(IRenderCanvas& canvas) override;

  // The column this item stands for among its header's items; -1 outside a header.
  int ColumnIndex() const;
  CListHeaderUI* Header() const;

  bool IsDragable() const { return dragable_; }
  void SetDragable(bool on) { dragable_ = on; }
  int SepWidth() const { return sepWidth_; }
  void SetSepWidth(int width) { sepWidth_ = ClampCoord(width); }
  // The drag strip in window coordinates; empty when the column cannot be dragged.
  SkinRect SepRect() const;
  std::uint32_t TextStyle() const { return textStyle_; }
  bool CanSelect() const { return canSelect_; }
  // The check box, relative to the item's top-left corner; empty: none.
  const SkinRect& CheckRect() const { return checkRect_; }
  bool IsChecked() const { return checked_; }
  // Changes the check mark; with `notify` "headercheck" (wParam: 1 checked, 0 not; lParam: the
  // column).
  void SetChecked(bool checked, bool notify = false);
  std::uint32_t State() const { return state_; }
  bool IsDragging() const { return dragging_; }

 private:
  SkinRect CheckBoxRect() const;

  bool dragable_ = true;
  int sepWidth_ = 4;
  std::uint32_t textStyle_ = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  int font_ = -1;
  SkinColor textColor_ = 0;
  SkinRect textPadding_;
  bool showHtml_ = false;
  bool canSelect_ = false;
  SkinRect checkRect_;
  bool checked_ = false;
  bool checkPressed_ = false;
  CStateImagesUI images_;
  SkinImageSpec sepImage_;
  std::uint32_t state_ = 0;
  bool dragging_ = false;
  int dragStartX_ = 0;
  int dragStartWidth_ = 0;
};

}  // namespace SkinUI
