#pragma once
// The window system on an X display (Xlib): borderless top-level windows on a 32-bit ARGB visual
// showing the program's premultiplied bitmaps, shaped by their alpha; one poll over the X
// connection, an eventfd for posts from other threads and watched descriptors, with the next
// timer deadline as the only time-out.
#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/linux/fd_poller.h"
#include "platform/window_system_base.h"

namespace platform {

class X11Clipboard;

class X11WindowSystem final : public WindowSystemBase {
 public:
  // Null when the display cannot be opened or offers no 32-bit TrueColor visual (`error` says
  // which).
  static std::unique_ptr<X11WindowSystem> Open(const char* display, std::string* error);
  ~X11WindowSystem() override;

  // For tests and measurements.
  Window XWindowOf(WindowHandle window) const;
  std::uint64_t Wakeups() const { return poller_.Wakeups(); }
  bool PresentsThroughShm(WindowHandle window) const;
  Display* XDisplay() const { return display_; }

  WinRect WorkArea(WindowHandle window) const override;
  WinRect ScreenRect() const override;
  bool HasCompositor() const override;
  void Beep() override;
  void SetClipboardText(const std::string& utf8) override;
  std::string GetClipboardText() override;
  std::uint32_t TickCount() const override;
  int AddFdWatch(int fd, std::function<bool()> onReadable) override;
  void RemoveFdWatch(int watchId) override;

 protected:
  bool NativeCreate(WindowState& w) override;
  void NativeDestroy(WindowState& w) override;
  void NativeShow(WindowState& w, bool show) override;
  void NativeMinimize(WindowState& w) override;
  void NativeSizeLimits(WindowState& w, const MinMaxInfo& limits) override;
  void NativeGeometry(WindowState& w, bool moved, bool resized) override;
  void NativeTitle(WindowState& w) override;
  void NativePresent(WindowState& w, const std::uint32_t* pixels, int width, int height, int strideBytes,
                     std::uint8_t constantAlpha) override;
  void NativeRegion(WindowState& w) override;
  void NativeFocus(WindowState& w) override;
  void NativeCapture(WindowState* w) override;
  void NativeCursor(WindowState& w) override;
  void NativeMoveDrag(WindowState& w, int hitTest) override;
  bool NativeWait(int timeoutMs) override;
  void NativeWake() override { poller_.Wake(); }

 private:
  struct Data;
  struct Atoms;
  X11WindowSystem(Display* display, Visual* visual);

  Data& DataOf(WindowState& w) const;
  WindowHandle HandleOf(Window xid) const;
  void ProcessEvents();
  void Handle(XEvent& ev);
  void HandleKey(XKeyEvent& ev, WindowHandle window);
  void HandleConfigure(const XConfigureEvent& ev, WindowHandle window);
  void ApplyShapes(WindowState& w);
  void SetNormalHints(WindowState& w);
  void FocusNow(WindowState& w);
  bool WindowManagerSupports(Atom hint) const;
  bool WindowManagerRunning() const;
  bool IsIconicByWindowManager(Window xid) const;
  Cursor CursorFor(std::uint16_t id);

  Display* display_;
  int screen_;
  Window root_;
  Visual* visual_;
  Colormap colormap_;
  std::unique_ptr<Atoms> atoms_;
  bool shm_ = false;
  XIM inputMethod_ = nullptr;
  Window utility_ = 0;  // unmapped: owns the clipboard, receives its answers
  std::unique_ptr<X11Clipboard> clipboard_;
  FdPoller poller_;
  std::unordered_map<Window, WindowHandle> byXid_;
  std::unordered_map<std::uint16_t, Cursor> cursors_;
  unsigned long focusRequestSerial_ = 0;  // focus events older than our last request are stale
  mutable std::uint32_t compositorCheckedAt_ = 0;
  mutable bool compositorKnown_ = false;
  mutable bool compositor_ = false;
};

}  // namespace platform
