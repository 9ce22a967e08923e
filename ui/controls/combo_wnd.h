#pragma once
// The drop-down of a combo box: a popup holding a vertical layout (styled by the combo's
// "dropbox" attributes, with a vertical scroll bar when the items need one) that shows the
// combo's own items while it is open and gives them back when it closes. Internally it reacts to
// "windowinit" (the selection is scrolled into view) and "itemclick" (it closes).
#include "ui/controls/popup_wnd.h"

namespace SkinUI {

class CComboUI;
class CVerticalLayoutUI;

class CComboWnd : public CPopupWnd {
 public:
  explicit CComboWnd(CComboUI* combo);
  ~CComboWnd() override;

  const wchar_t* WindowClassName() const override;
  // Opens below the combo (or above it) with its items.
  bool Open();
  CVerticalLayoutUI* Layout() const { return layout_; }
  // Scrolls the item at `index` into view.
  void EnsureVisible(int index);
  void Notify(SkinNotify& msg) override;

 protected:
  // Up, Down, Home, End, Page Up and Page Down move the selection; Return, Escape and F4 close.
  bool OnOwnerKey(const platform::Message& msg) override;
  void OnDismissed() override;

 private:
  CComboUI* combo_;
  CVerticalLayoutUI* layout_ = nullptr;
};

}  // namespace SkinUI
