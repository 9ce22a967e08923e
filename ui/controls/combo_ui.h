#pragma once
// A drop-down list: the control shows the selected item (or its own text while nothing is
// selected); a click, F4 or Alt+Down opens the drop-down (a popup window below the control, or
// above it when the screen has no room below) holding the items, "dropdown" is sent first. A
// click on an item selects it and closes the drop-down; the arrow keys, Home, End and the wheel
// change the selection whether it is open or not, Return and Escape close it. Each change sends
// "itemselect" (wParam: the new index, lParam: the old one).
#include <memory>
#include <string>

#include "ui/controls/list_interfaces.h"
#include "ui/controls/state_images.h"
#include "ui/core/container_ui.h"

namespace SkinUI {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  static constexpr int kDefaultDropHeight = 150;

  CComboUI();
  ~CComboUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // A Tab stop while enabled.
  std::uint32_t ControlFlags() const override;
  // Opens the drop-down ("dropdown" first) when visible and enabled.
  bool CanActivate() override;
  void SetEnabled(bool enabled) override;
  // Takes "normal", "hot", "pushed", "focused" and "disabled".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  // The items are not laid out in the control, nor found there by the pointer: only the
  // drop-down shows them.
  void SetPosition(const SkinRect& rc) override;
  CControlUI* LocateControl(FindControlProc visitor, void* data, std::uint32_t flags) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SkinSize MeasureSize(SkinSize available) override;
  void Paint(IRenderCanvas& canvas, const SkinRect& dirty) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  void PaintText(IRenderCanvas& canvas) override;

  // ---- the items ----------------------------------------------------------------------------
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  bool SetItemIndex(CControlUI* control, int index) override;

  // ---- IListOwnerUI --------------------------------------------------------------------------
  ListInfoUI* ListInfo() override { return &info_; }
  int CurSel() const override { return curSel_; }
  bool SelectItem(int index, bool takeFocus = false) override;
  void DoEvent(SkinEvent& event) override;

  bool IsDropped() const;
  // Closes the drop-down (when it next dispatches).
  void CloseDropDown();
  CComboWnd* DropWindow() const { return drop_.get(); }
  const std::wstring& DropBoxAttributes() const { return dropBoxAttributes_; }
  // Width 0: the control's width; height: the most the drop-down may take.
  SkinSize DropBoxSize() const { return dropBoxSize_; }
  SkinSize DropBoxOffset() const { return dropBoxOffset_; }
  const SkinRect& TextPadding() const { return textPadding_; }
  std::uint32_t State() const { return state_; }

 protected:
  friend class CComboWnd;
  // The drop-down is gone: the items come back to the control.
  void OnDropClosed();
  // Where the selection (or the control's text) is drawn.
  virtual SkinRect TextRect() const;

  ListInfoUI info_;
  int curSel_ = -1;
  std::unique_ptr<CComboWnd> drop_;
  std::wstring dropBoxAttributes_;
  SkinSize dropBoxSize_{0, kDefaultDropHeight};
  SkinSize dropBoxOffset_;
  SkinRect textPadding_;
  std::uint32_t state_ = 0;
  CStateImagesUI images_;
};

}  // namespace SkinUI
