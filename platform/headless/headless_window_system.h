#pragma once
// A window system without a display, for tests. Windows live in memory with their geometry,
// state, invalid area and the last bitmap presented; a manual clock drives timers and hover; the
// test injects input through the same entry points the X11 desktop feeds, so the messages that
// come out are those the program sees on the real desktop (double clicks, system keys, Alt+F4,
// capture, disabled windows, input shape from the presented alpha).
//
// Driving it:
//   - Inject input (MouseMove, MouseDown, Click, Wheel, KeyDown, KeyPress, TypeText, RequestClose,
//     ...), then PumpMessages() dispatches everything that is due and returns.
//   - AdvanceClock(ms) moves the clock; due timers and hovers come out of the next pump (one tick
//     per timer however far the clock jumped).
//   - GetMessage never blocks: when nothing is due it calls the idle callback (SetIdleCallback);
//     a callback that did something (returns true) lets GetMessage look again; with no callback,
//     or one that returns false, GetMessage returns false with a kWmQuit message of code 0, as if
//     quit, and DryRuns() counts it. So a modal loop under test ends when the test has nothing
//     more to say instead of hanging.
//   - Paint messages come for shown windows with an invalid area; LastPresented() shows what the
//     window put on the screen.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/fd_poller.h"
#include "platform/window_system_base.h"

namespace platform {

class HeadlessWindowSystem final : public WindowSystemBase {
 public:
  enum class Button { kLeft = 1, kRight = 2, kMiddle = 3 };

  // The bitmap a window presented last (premultiplied 0xAARRGGBB, rows packed).
  struct Presented {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;
    std::uint8_t constantAlpha = 255;
    unsigned count = 0;  // presents so far
    std::uint32_t Pixel(int x, int y) const {
      return x >= 0 && y >= 0 && x < width && y < height ? pixels[static_cast<std::size_t>(y) * width + x] : 0;
    }
  };
  struct RoundRegion {
    int width = 0, height = 0, ellipseWidth = 0, ellipseHeight = 0;
  };

  HeadlessWindowSystem();
  ~HeadlessWindowSystem() override;

  // ---- the desktop -----------------------------------------------------------------------------
  // Screen 1280 x 800, work area the same, no compositor until changed.
  void SetScreen(const WinRect& screen) { screen_ = screen; }
  void SetWorkArea(const WinRect& area) { workArea_ = area; }
  void SetCompositor(bool on) { compositor_ = on; }

  // ---- clock and loop --------------------------------------------------------------------------
  // The clock starts at 1000 ms.
  void AdvanceClock(unsigned milliseconds);
  // Moves the clock to the next timer or hover deadline; false when there is none.
  bool AdvanceToNextDeadline();
  // Dispatches every queued message, paint, due timer and due hover, then returns how many it
  // dispatched. `filter` (the UI framework's translation) sees each message first; true consumes
  // it. Stops at a pending quit (left for GetMessage) and after `limit` messages.
  int PumpMessages(const std::function<bool(const Message&)>& filter = {}, int limit = 100000);
  void SetIdleCallback(std::function<bool()> idle) { idle_ = std::move(idle); }
  // Waits (real time) until a message is posted from any thread or the time-out passes; true when
  // one is queued. Handy in an idle callback of a test with a worker thread.
  bool WaitForPost(unsigned timeoutMilliseconds);
  unsigned DryRuns() const { return dryRuns_; }

  // ---- input (window-relative points are client coordinates of that window) ---------------------
  void MouseMove(WindowHandle window, int x, int y);
  void MouseMoveScreen(int x, int y);
  void MouseDown(WindowHandle window, int x, int y, Button button = Button::kLeft);
  void MouseUp(WindowHandle window, int x, int y, Button button = Button::kLeft);
  void Click(WindowHandle window, int x, int y, Button button = Button::kLeft);  // down + up
  void Wheel(WindowHandle window, int x, int y, int notches);  // + forward/up
  // A key (kVk*) goes down; `ch` is the character it types (0: none). Shift, Control and Alt
  // (kVkShift, kVkControl, kVkMenu) are keys like any other and stay down until KeyUp.
  void KeyDown(int virtualKey, char32_t ch = 0);
  void KeyUp(int virtualKey);
  void KeyPress(int virtualKey, char32_t ch = 0);  // down + up
  // Each character as a key press: letters and digits with their key, others with key 0 (a
  // character only).
  void TypeText(const std::u32string& text);
  // The window manager's close button (WM_DELETE_WINDOW on X11).
  void RequestClose(WindowHandle window);
  // The user switches to another program (null) or clicks our window's frame (the window).
  void DesktopActivates(WindowHandle window);

  // ---- what the desktop shows ------------------------------------------------------------------
  const Presented* LastPresented(WindowHandle window) const;
  std::uint16_t CursorOf(WindowHandle window) const;
  RoundRegion RoundRegionOf(WindowHandle window) const;
  const std::string& TitleOf(WindowHandle window) const;
  const std::string& ClassNameOf(WindowHandle window) const;
  WindowKind KindOf(WindowHandle window) const;
  // The window the mouse would reach at a screen point: shown, not minimised, inside its round
  // region and on a presented pixel whose alpha is not 0 (the whole rectangle before it presents).
  WindowHandle WindowAt(WinPoint screen) const;
  // Live windows in creation order (finds tooltip popups a host made).
  std::vector<WindowHandle> Windows() const { return WindowsInOrder(); }
  // Window drags begun (caption or border presses, BeginMoveDrag); while the left button stays
  // down the pointer moves or sizes the window as a window manager would.
  unsigned DragCount(WindowHandle window) const;
  int LastDragHitTest() const { return lastDragHit_; }
  bool Dragging() const { return ManualDragActive(); }
  unsigned BeepCount() const { return beeps_; }
  std::size_t FdWatchCount() const { return poller_.WatchCount(); }

  // ---- IWindowSystem: what the desktop answers -------------------------------------------------
  WinRect WorkArea(WindowHandle) const override { return workArea_; }
  WinRect ScreenRect() const override { return screen_; }
  bool HasCompositor() const override { return compositor_; }
  void Beep() override { ++beeps_; }
  void SetClipboardText(const std::string& utf8) override { clipboard_ = utf8; }
  std::string GetClipboardText() override { return clipboard_; }
  std::uint32_t TickCount() const override { return clock_.load(); }
  int AddFdWatch(int fd, std::function<bool()> onReadable) override;
  void RemoveFdWatch(int watchId) override;

 protected:
  bool NativeCreate(WindowState& w) override;
  void NativeDestroy(WindowState& w) override;
  void NativeShow(WindowState& w, bool show) override;
  void NativeMinimize(WindowState&) override {}
  void NativeSizeLimits(WindowState& w, const MinMaxInfo& limits) override;
  void NativeGeometry(WindowState&, bool, bool) override {}
  void NativeTitle(WindowState&) override {}
  void NativePresent(WindowState& w, const std::uint32_t* pixels, int width, int height, int strideBytes,
                     std::uint8_t constantAlpha) override;
  void NativeRegion(WindowState&) override {}
  void NativeFocus(WindowState& w) override;
  void NativeCapture(WindowState*) override {}
  void NativeCursor(WindowState&) override {}
  void NativeMoveDrag(WindowState& w, int hitTest) override;
  bool NativeWait(int timeoutMs) override;
  void NativeWake() override;

 private:
  struct Data;
  Data* DataOf(WindowHandle window) const;
  void Raise(WindowHandle window);
  void Press(WindowHandle window, int x, int y, Button button, bool down);

  WinRect screen_{0, 0, 1280, 800};
  WinRect workArea_{0, 0, 1280, 800};
  bool compositor_ = false;
  std::atomic<std::uint32_t> clock_{1000};
  std::function<bool()> idle_;
  unsigned dryRuns_ = 0;
  unsigned beeps_ = 0;
  std::string clipboard_;
  std::vector<WindowHandle> zOrder_;  // bottom to top
  FdPoller poller_;  // watched descriptors, polled without waiting
  std::mutex postMutex_;
  std::condition_variable posted_;
  unsigned postSerial_ = 0;
  int lastDragHit_ = 0;
};

}  // namespace platform
