#pragma once
// A button with a selected state: check boxes, radio groups (options sharing a group name keep
// one member selected) and tab buttons (a selected option shows its page of a tab layout).
#include <string>

#include "ui/controls/button_ui.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI() = default;
  ~COptionUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // Selects (in a group) or toggles, with "selectchanged", then sends "click".
  bool CanActivate() override;
  // Joins the option group when attached with initialisation.
  void SetHost(CSkinHost* host, CControlUI* parent, bool initialise, ISkinBuilderCallback* callback) override;
  // Also takes "selected", "selectedhot", "selectedfocused", "selectedpushed" and
  // "selecteddisabled".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetEnabled(bool enabled) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderCanvas& canvas, const SkinRect& dirty) override;
  void PaintBackgroundColor(IRenderCanvas& canvas) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  void PaintText(IRenderCanvas& canvas) override;
  void PaintBorder(IRenderCanvas& canvas) override;
  void SetStatusForeImages(const SkinStatusImageMap& images) override;

  // Changes the selected state. Once attached to its host: selecting a member of a group
  // deselects the others (with the same notify flag), a selected option shows its bound tab
  // page, and with `notify` "selectchanged" is sent. Before that (while the skin is built)
  // only the state changes.
  virtual void Select(bool selected, bool notify = true);
  bool IsSelected() const { return selected_; }

  const std::wstring& Group() const { return group_; }
  void SetGroup(const std::wstring& group);
  const std::wstring& BindTab() const { return bindTab_; }
  void SetBindTab(const std::wstring& name) { bindTab_ = name; }
  int BindTabIndex() const { return bindTabIndex_; }
  void SetBindTabIndex(int index) { bindTabIndex_ = index; }

  // The five selected states, in the order their colours and images are looked up.
  enum SelectedState { kSelectedPushed, kSelectedHot, kSelectedDisabled, kSelectedFocused, kSelectedPlain, kSelectedCount };
  struct SelectedLook {
    SkinColor bkColor = 0;
    SkinColor textColor = 0;
    SkinColor borderColor = 0;
    SkinImageSpec image;
    SkinImageSpec foreImage;
  };
  const SelectedLook& Look(SelectedState state) const { return looks_[state]; }

 private:
  bool IsAttached() const { return host_ != nullptr && attached_; }
  // Shows the bound page of the bound tab layout; controls of that name that are not tab
  // layouts are left alone.
  void ShowBoundPage();
  // The first colour picked by `field` that is set, in the selected states' order.
  SkinColor SelectedColor(SkinColor SelectedLook::*field) const;

  bool selected_ = false;
  bool attached_ = false;
  std::wstring group_;
  std::wstring bindTab_;
  int bindTabIndex_ = -1;
  SelectedLook looks_[kSelectedCount];
};

}  // namespace SkinUI
