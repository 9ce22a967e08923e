#pragma once
// The popup windows of controls (a combo box's drop-down list, the in-place editor of an edit
// field, the calendar of a date field): a window of the window system's popup kind, owned by the
// control's window, with a skin host of its own that falls back to the owner's fonts, images and
// styles. A popup never takes the keyboard focus: the owner window keeps it, and the keys reach
// the popup through the owner host's accelerator hook while it is open. A press anywhere else in
// the owner window, the owner losing the focus, moving or closing, closes it.
#include <memory>

#include "ui/core/window_impl_base.h"

namespace SkinUI {

class CPopupWnd : public WindowImplBaseNew {
 public:
  explicit CPopupWnd(CControlUI* owner);
  ~CPopupWnd() override;

  // Opens the popup at `screen` (screen coordinates) showing `root`, which it takes. False, with
  // `root` left to the caller, when the owner has no window or the window cannot be made.
  bool Open(std::unique_ptr<CControlUI>& root, const platform::WinRect& screen);
  bool IsOpen() const;
  // Closes the popup when its window next dispatches (safe from inside its own handlers).
  void Dismiss();
  // Closes it now (from outside its handlers: the owner going away).
  void DismissNow();
  CControlUI* OwnerControl() const { return owner_; }

  // The owner control's rectangle on the screen.
  platform::WinRect OwnerScreenRect() const;
  // Where a popup of `size` goes: below `anchor` (moved by `offset`), or above it when the work
  // area has no room below; when neither side has room, the larger one with the height cut to
  // it. Always inside the work area horizontally.
  static platform::WinRect Place(const platform::WinRect& anchor, SkinSize size, SkinSize offset,
                                 const platform::WinRect& work);

 protected:
  // A key message of the owner window while the popup is open; true consumes it.
  virtual bool OnOwnerKey(const platform::Message& msg);
  // The popup's window is gone (called before the host lets go of the root).
  virtual void OnDismissed();
  void OnWindowDestroyed(platform::WindowHandle window) override;

 private:
  class OwnerWatch : public ITranslateAcceleratorUI, public IMessageFilterUI {
   public:
    explicit OwnerWatch(CPopupWnd* popup) : popup_(popup) {}
    bool TranslateAccelerator(const platform::Message& msg) override;
    std::intptr_t MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                 bool& handled) override;

   private:
    CPopupWnd* popup_;
  };
  void StopWatching();

  CControlUI* owner_;
  CSkinHost* ownerHost_ = nullptr;
  OwnerWatch watch_{this};
  bool watching_ = false;
};

}  // namespace SkinUI
