#pragma once
// What lists, combo boxes and their items know of each other. An owner (a list or a combo box)
// keeps the look shared by its items (ListInfoUI) and the selection; an item knows its owner and
// its index and draws itself with the owner's look. Items reach the owner's keyboard handling
// through DoEvent.
#include <string>
#include <vector>

#include "ui/controls/text_style.h"
#include "ui/core/container_ui.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

class CContainerUI;
class CListHeaderUI;

// The look of an owner's items, set by the "item..." attributes of lists and combo boxes.
struct ListInfoUI {
  // Columns in window coordinates (left and right of each visible header item); none when the
  // list has no visible header, and the items then use their whole width.
  std::vector<SkinRect> columns;
  int font = -1;
  std::uint32_t textStyle = DT_VCENTER | DT_SINGLELINE;
  SkinRect textPadding;
  SkinColor textColor = 0xFF000000;
  SkinColor bkColor = 0;
  SkinImageSpec bkImage;
  // Alternating rows: the item background colour and image go to every second row only.
  bool alternateBk = false;
  SkinColor selectedTextColor = 0xFF000000;
  SkinColor selectedBkColor = 0xFFC1E3FF;
  SkinImageSpec selectedImage;
  SkinColor hotTextColor = 0xFF000000;
  SkinColor hotBkColor = 0xFFE9F5FF;
  SkinImageSpec hotImage;
  SkinColor disabledTextColor = 0xFFCCCCCC;
  SkinColor disabledBkColor = 0xFFFFFFFF;
  SkinImageSpec disabledImage;
  // A line under every item (and between the columns of text items); 0 draws none.
  SkinColor lineColor = 0;
  bool showHtml = false;
  bool multiExpanding = false;

  // The "item..." attributes; false for any other name.
  bool SetAttribute(const std::wstring& name, const std::wstring& value);
};

class IListOwnerUI {
 public:
  virtual ~IListOwnerUI() = default;
  virtual ListInfoUI* ListInfo() = 0;
  virtual int CurSel() const = 0;
  // Makes the item at `index` the selected one ("itemselect" with the new and the old index);
  // -1 clears the selection. With `takeFocus` the item gets the focus. False when there is no
  // selectable item at `index`.
  virtual bool SelectItem(int index, bool takeFocus = false) = 0;
  // Keys and wheel notches that an item does not use itself (moving the selection, scrolling).
  virtual void DoEvent(SkinEvent& event) = 0;
};

class IListUI : public IListOwnerUI {
 public:
  virtual CListHeaderUI* Header() const = 0;
  // The scrolling item area.
  virtual CContainerUI* List() const = 0;
  // Expands (or collapses) the item at `index`; without multiple expanding, expanding one item
  // collapses the one expanded before.
  virtual bool ExpandItem(int index, bool expand = true) = 0;
  virtual int ExpandedItem() const = 0;
  // The header's columns changed size or position: the items are laid out and drawn again.
  virtual void OnHeaderChanged() = 0;
};

class IListItemUI {
 public:
  virtual ~IListItemUI() = default;
  virtual int Index() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwnerUI* Owner() const = 0;
  virtual void SetOwner(IListOwnerUI* owner) = 0;
  virtual bool IsSelected() const = 0;
  // The selected look only; the owner's selection is changed through SelectItem.
  virtual void Select(bool selected) = 0;
  virtual bool IsExpanded() const = 0;
  virtual bool Expand(bool expand) = 0;
  // The item's text (its first column) drawn into `rc` in the owner's plain item look (not
  // selected, not hot); a combo box shows its selection this way.
  virtual void DrawItemText(IRenderCanvas& canvas, const SkinRect& rc) = 0;
};

// The item of a control, or none.
inline IListItemUI* AsListItem(CControlUI* control) {
  return control != nullptr ? static_cast<IListItemUI*>(control->AsInterface(L"ListItem")) : nullptr;
}

// After items of an owner were added, moved or removed: every item learns its owner and its
// index, and one selected item at most stays selected: `added` when it came selected, else the
// first. Returns the index of the selection, -1 for none.
int NumberListItems(IContainerUI& items, IListOwnerUI* owner, CControlUI* added = nullptr);

// Where Up, Down, Home or End move the selection `curSel` among the visible, enabled `items`
// (Up with nothing selected: the first); -1 for other keys or when there is nowhere to go.
int StepSelection(const CContainerUI& items, int curSel, int key);

}  // namespace SkinUI
