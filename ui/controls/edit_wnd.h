#pragma once
// The in-place editor of an edit field: a popup over the field's text holding a single-line rich
// edit. The owner window's keys come to it while it is open: typing and editing keys go to the
// rich edit, Up and Down become the field's "vk_up" and "vk_down", Escape clears a search field
// (and is kept from the window), Tab is left to move the focus.
#include "ui/controls/popup_wnd.h"

namespace SkinUI {

class CEditUI;
class CRichEditUI;

class CEditWnd : public CPopupWnd {
 public:
  explicit CEditWnd(CEditUI* edit);
  ~CEditWnd() override;

  const wchar_t* WindowClassName() const override;
  // Opens over the field with its text, the caret where the field was clicked (`click` in the
  // field's window coordinates; outside the text: at the end).
  bool Open(SkinPoint click);
  CRichEditUI* Editor() const { return richEdit_; }
  // The field's text changed from outside: the editor shows it.
  void SetText(const std::wstring& text);
  void Notify(SkinNotify& msg) override;

 protected:
  bool OnOwnerKey(const platform::Message& msg) override;
  void OnDismissed() override;

 private:
  CEditUI* edit_;
  CRichEditUI* richEdit_ = nullptr;
  bool settingText_ = false;
};

}  // namespace SkinUI
