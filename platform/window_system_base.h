#pragma once
// The part of a window system that does not depend on the desktop it runs on: the window table,
// the message queue and the order messages come out of it, focus and activation, capture, mouse
// hover and leave tracking, double clicks, key messages, timers, invalid areas and the default
// window procedure. A desktop (X11, or the in-memory one of the tests) derives from it, carries
// out the Native* requests and reports its input through the protected entry points, so both
// produce the same messages from the same input.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/window_message_queue.h"
#include "platform/window_messages.h"
#include "platform/window_system.h"
#include "platform/window_timer_table.h"

namespace platform {

class WindowSystemBase : public IWindowSystem {
 public:
  WindowSystemBase();
  ~WindowSystemBase() override;

  WindowHandle CreateWindow(const CreateParams& params) override;
  void DestroyWindow(WindowHandle window) override;
  bool IsWindow(WindowHandle window) const override;
  WindowHandle Owner(WindowHandle window) const override;
  void SetTitle(WindowHandle window, const std::string& utf8Title) override;
  void ShowWindow(WindowHandle window, ShowCommand command) override;
  bool IsVisible(WindowHandle window) const override;
  bool IsIconic(WindowHandle window) const override;
  bool IsZoomed(WindowHandle window) const override;
  void SetWindowPos(WindowHandle window, int x, int y, int width, int height, std::uint32_t flags) override;
  WinRect GetWindowRect(WindowHandle window) const override;
  WinRect GetClientRect(WindowHandle window) const override;
  WinPoint ScreenToClient(WindowHandle window, WinPoint screen) const override;
  WinPoint ClientToScreen(WindowHandle window, WinPoint client) const override;
  void EnableWindow(WindowHandle window, bool enable) override;
  bool IsWindowEnabled(WindowHandle window) const override;
  void SetRoundRegion(WindowHandle window, int width, int height, int ellipseWidth, int ellipseHeight) override;
  void BeginMoveDrag(WindowHandle window) override;

  void InvalidateRect(WindowHandle window, const WinRect* rect) override;
  bool GetUpdateRect(WindowHandle window, WinRect* rect) const override;
  void ValidateRect(WindowHandle window) override;
  void UpdateLayeredWindow(WindowHandle window, const std::uint32_t* pixels, int width, int height, int strideBytes,
                           std::uint8_t constantAlpha) override;

  void SetFocus(WindowHandle window) override;
  WindowHandle GetFocus() const override { return focus_; }
  WindowHandle GetActiveWindow() const override { return active_; }
  void SetCapture(WindowHandle window) override;
  void ReleaseCapture() override;
  WindowHandle GetCapture() const override { return capture_; }
  void TrackMouse(WindowHandle window, std::uint32_t flags, unsigned hoverMilliseconds) override;
  void SetCursor(WindowHandle window, std::uint16_t cursorId) override;
  bool IsKeyDown(int virtualKey) const override;
  WinPoint CursorPos() const override;
  unsigned DoubleClickTime() const override { return kDoubleClickMilliseconds; }
  unsigned CaretBlinkTime() const override { return 530; }

  bool SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(WindowHandle window, std::uintptr_t id) override;

  bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  void PostQuitMessage(int exitCode) override;
  bool GetMessage(Message& msg) override;
  std::intptr_t DispatchMessage(const Message& msg) override;
  std::intptr_t DefWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
  void SetDiscardedMessageHook(std::function<void(const Message&)> hook) override;

  static constexpr unsigned kDoubleClickMilliseconds = 500;
  static constexpr int kDoubleClickDistance = 4;  // pixels, each direction
  static constexpr int kHoverDistance = 4;        // the pointer "rests" while it stays this close
  static constexpr unsigned kDefaultHoverMilliseconds = 400;

 protected:
  // What a desktop keeps per window beside the shared state.
  struct NativeData {
    virtual ~NativeData() = default;
  };
  struct WindowState {
    WindowHandle handle = nullptr;
    std::string className;
    std::uint32_t classStyle = 0;
    std::string title;
    WindowKind kind = WindowKind::kTopLevel;
    WindowHandle owner = nullptr;
    bool layered = true;
    IWindowProcedure* procedure = nullptr;
    WinRect rect;         // screen rectangle
    WinRect restoreRect;  // the rectangle before maximising
    bool visible = false, iconic = false, zoomed = false, enabled = true, destroying = false;
    bool hasInvalid = false;
    WinRect invalid;
    unsigned invalidSerial = 0, paintedSerial = 0;
    int roundWidth = 0, roundHeight = 0, roundEllipseWidth = 0, roundEllipseHeight = 0;
    std::uint16_t cursor = kCursorArrow;
    std::unique_ptr<NativeData> native;
  };

  enum class Fetch { kMessage, kQuit, kNothing };
  // The next message in the loop's order: queued messages (posted and input, as they came), the
  // quit request, paints, due timers, a due hover. With `wait` it waits in NativeWait for the next
  // event or deadline; without, it only polls the desktop once.
  Fetch NextMessage(Message& msg, bool wait);

  WindowState* Find(WindowHandle window);
  const WindowState* Find(WindowHandle window) const;
  // Live windows in creation order.
  std::vector<WindowHandle> WindowsInOrder() const;
  // True when `screen` lies inside the window's round region (or it has none).
  static bool InsideRegion(const WindowState& w, WinPoint screen);
  // Milliseconds until the next timer or hover deadline; -1 when there is none.
  int MillisecondsUntilDeadline() const;
  // Native data of every window is dropped without messages: the most derived destructor calls
  // this while the desktop still exists. Still-queued messages go to the discard hook.
  void ForgetAllWindows();

  // ---- requests to the desktop ---------------------------------------------------------------
  virtual bool NativeCreate(WindowState& w) = 0;  // false fails the creation
  virtual void NativeDestroy(WindowState& w) = 0;
  virtual void NativeShow(WindowState& w, bool show) = 0;  // map (also out of the minimised state) or unmap
  virtual void NativeMinimize(WindowState& w) = 0;
  virtual void NativeSizeLimits(WindowState& w, const MinMaxInfo& limits) = 0;  // before every show
  virtual void NativeGeometry(WindowState& w, bool moved, bool resized) = 0;
  virtual void NativeTitle(WindowState& w) = 0;
  virtual void NativePresent(WindowState& w, const std::uint32_t* pixels, int width, int height, int strideBytes,
                             std::uint8_t constantAlpha) = 0;
  virtual void NativeRegion(WindowState& w) = 0;
  virtual void NativeFocus(WindowState& w) = 0;        // raise and take the keyboard focus
  virtual void NativeCapture(WindowState* w) = 0;      // null: released
  virtual void NativeCursor(WindowState& w) = 0;
  virtual void NativeMoveDrag(WindowState& w, int hitTest) = 0;  // kHtCaption moves, border codes size
  // Waits up to `timeoutMs` (-1: no limit, 0: only polls) for desktop events, fd watches and
  // posts, turning what arrived into input. False when nothing can ever arrive (the test desktop
  // with nothing left to do); the loop then ends as if quit.
  virtual bool NativeWait(int timeoutMs) = 0;
  virtual void NativeWake() = 0;  // any thread: a post arrived

  // ---- input from the desktop (UI thread) -----------------------------------------------------
  // The pointer is at `screen`, over `over` (null: none of our windows).
  void PointerMoved(WindowHandle over, WinPoint screen);
  // button: 1 left, 2 right, 3 middle.
  void PointerButton(WindowHandle over, WinPoint screen, int button, bool down);
  void PointerWheel(WindowHandle over, WinPoint screen, int notches);  // + forward/up
  // A key went down or up; `ch` is the character it typed (0: none). Goes to the focus window.
  // Key 0 with a character is a character without a key (an input method's, or a key that has no
  // virtual key): only the character message.
  void KeyEvent(bool down, int virtualKey, char32_t ch);
  // Keys and buttons held as the desktop reports them with an event (keeps the state right when
  // a key was released over another program's window).
  void SyncModifiers(bool shift, bool control, bool alt, bool left, bool right, bool middle);
  void CloseRequested(WindowHandle window);  // the window manager's close button
  void DesktopFocus(WindowHandle window);    // the desktop gave the focus to our window / took it (null)
  void DesktopMoved(WindowHandle window, int x, int y);
  void DesktopResized(WindowHandle window, int width, int height);
  void DesktopIconified(WindowHandle window, bool iconic);

  // Whether a key or button is down as the input arrived (ahead of the message being processed).
  bool LiveKeyDown(int virtualKey) const {
    return virtualKey > 0 && virtualKey < 256 && liveKeys_.keys.test(static_cast<std::size_t>(virtualKey));
  }
  // True when a message or the quit request waits in the queue (any thread).
  bool HasQueued() const { return !queue_.Empty() || queue_.QuitPending(); }

  // Moves (kHtCaption) or sizes (border codes) the window with the pointer until the left button
  // comes up, as a window manager would; the pointer's moves and the release are the drag's, not
  // the window's. For desktops without a window manager to do it.
  void BeginManualDrag(WindowState& w, int hitTest);
  bool ManualDragActive() const { return drag_.window != nullptr; }

  // The discard hook, for messages of a window that is gone.
  void Discard(const std::vector<QueuedMessage>& removed);

 private:
  void SetFocusImpl(WindowHandle window, bool toDesktop);
  void ChangeActive(WindowHandle window);
  void LoseActivation(WindowHandle window);
  void Maximize(WindowHandle window);
  void ShowImpl(WindowState& w, bool activate);
  void PostInput(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                 bool pointer);
  void PrepareInput(QueuedMessage& e);
  bool MakePaint(Message& msg);
  bool MakeTimer(Message& msg);
  bool MakeHover(Message& msg);
  void CheckLeave();
  static std::uintptr_t MouseKeyFlags(const InputSnapshot& state);
  Message Make(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) const;

  std::unordered_map<std::uintptr_t, std::unique_ptr<WindowState>> windows_;
  std::vector<WindowHandle> order_;
  std::uintptr_t nextId_ = 1;
  mutable std::mutex liveMutex_;  // guards live_, read by PostMessage on any thread
  std::unordered_set<std::uintptr_t> live_;

  WindowMessageQueue queue_;
  WindowTimerTable timers_;
  std::function<void(const Message&)> discardHook_;

  WindowHandle focus_ = nullptr;
  WindowHandle active_ = nullptr;
  WindowHandle capture_ = nullptr;
  WindowHandle pointerWindow_ = nullptr;  // the window under the pointer
  bool havePointer_ = false;

  InputSnapshot keys_;      // as of the message being processed
  InputSnapshot liveKeys_;  // as the input arrives
  std::atomic<std::uint64_t> cursorPacked_{0};  // PostMessage reads it on any thread

  struct Tracking {
    WindowHandle window = nullptr;
    std::uint32_t flags = 0;
    unsigned hoverMilliseconds = 0;
    std::uint32_t hoverDue = 0;
    WinPoint hoverOrigin;
  } tracking_;

  bool DragPointer(WinPoint screen);

  struct Drag {
    WindowHandle window = nullptr;
    int hit = 0;
    WinPoint start;
    WinRect startRect;
  } drag_;

  struct LastClick {
    WindowHandle window = nullptr;
    int button = 0;
    std::uint32_t time = 0;
    WinPoint point;
  } lastClick_;
};

}  // namespace platform
