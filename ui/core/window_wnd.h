#pragma once
// A native top-level window behind a C++ object: creation, the procedure that routes every
// message to the virtual HandleMessage, a modal message loop, showing, centring and closing.
#include <cstdint>
#include <string>

#include "platform/window_system.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

// Window style bits as the program's windows pass them. Only the visible bit changes what the
// window system does; the others are kept for the window's own code to read.
enum : std::uint32_t {
  kWsPopup = 0x80000000,
  kWsVisible = 0x10000000,
  kWsClipSiblings = 0x04000000,
  kWsClipChildren = 0x02000000,
  kWsCaption = 0x00C00000,
  kWsSysMenu = 0x00080000,
  kWsThickFrame = 0x00040000,
  kWsMinimizeBox = 0x00020000,
  kWsMaximizeBox = 0x00010000,
  kWsOverlappedWindow = 0x00CF0000,
};

class CWindowWnd {
 public:
  CWindowWnd();
  // Destroys a window that still exists (its messages then reach only this base).
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  // ---- virtual operations, in slot order --------------------------------------------------------
  // Shows the window, disables its owner and runs messages until the window is gone; the code of
  // the close request that ended it. A quit message ends the loop too and is posted again.
  virtual std::uint32_t ShowModal();
  // The class name (the X11 WM_CLASS); every window class supplies one.
  virtual const wchar_t* WindowClassName() const;
  virtual const wchar_t* SuperClassName() const;
  virtual std::uint32_t ClassStyle() const;
  // Every message of the window; the base hands it to the window system's default procedure.
  virtual std::intptr_t HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // The native window is gone (after its last message).
  virtual void OnWindowDestroyed(platform::WindowHandle window);

  // ---- non-virtual operations -------------------------------------------------------------------
  // Windows here need no registration: true when the class has a name.
  bool RegisterWindowClass();
  bool RegisterSuperclass();
  // `parent` is the owner (modal boxes). None when the class has no name, there is no window
  // system, or creation failed.
  platform::WindowHandle Create(platform::WindowHandle parent, const std::wstring& title, std::uint32_t style,
                                std::uint32_t exStyle, const SkinRect& rc, void* menu = nullptr);
  platform::WindowHandle Create(platform::WindowHandle parent, const std::wstring& title, std::uint32_t style,
                                std::uint32_t exStyle, int x, int y, int width, int height, void* menu = nullptr);
  // Hides, or shows with (takeFocus) or without activation.
  void ShowWindow(bool show = true, bool takeFocus = true);
  // Posts a close request whose first parameter is `result` (nothing without a window).
  void Close(std::uint32_t result = 0);
  // Centres on the owner (or on the work area without one, or when it is minimised), kept
  // inside the work area. Only the position changes.
  void CenterOnOwner();
  std::intptr_t SendMessage(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  bool PostMessage(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  void Unsubclass();
  platform::WindowHandle Handle() const { return handle_; }
  std::uint32_t Style() const { return style_; }
  void SetStyle(std::uint32_t style) { style_ = style; }

 protected:
  // Destroys the native window now if it still exists.
  void DestroyNow();

  platform::WindowHandle handle_ = nullptr;
  bool subclassed_ = false;
  std::uint32_t style_ = 0;
  std::uint32_t exStyle_ = 0;

 private:
  // The window system calls this; it routes to the object.
  class Procedure : public platform::IWindowProcedure {
   public:
    explicit Procedure(CWindowWnd* owner) : owner_(owner) {}
    std::intptr_t WindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;

   private:
    CWindowWnd* owner_;
  };
  Procedure procedure_{this};
};

}  // namespace SkinUI
