#pragma once
// Top-level windows, their input and the message loop: the one service the UI framework needs
// from the desktop. Two implementations: the X11 one the program runs on (CreateX11WindowSystem)
// and an in-memory one for tests (platform/headless/headless_window_system.h).
//
// The model is that of a message-driven desktop: every window has a procedure that receives
// numbered messages (window_messages.h) one at a time on the thread that runs the loop; a message
// the procedure does not handle goes to DefWindowProc, which supplies the desktop's default
// behaviour (a close request destroys the window, Alt+F4 becomes the system close command, a
// caption press drags the window, ...). Everything runs on the UI thread except PostMessage and
// PostQuitMessage, which any thread may call.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Opaque handle of a window; null is "no window". A handle stays unique for the life of the
// window system (never reused), so IsWindow answers false for a destroyed window.
struct NativeWindow;
using WindowHandle = NativeWindow*;

struct WinPoint {
  int x = 0;
  int y = 0;
  bool operator==(const WinPoint&) const = default;
};
struct WinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const WinRect&) const = default;
};

// Receives the messages of the windows it created. `result` is the message's answer.
class IWindowProcedure {
 public:
  virtual ~IWindowProcedure() = default;
  virtual std::intptr_t WindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) = 0;
};

// lParam of kWmNcCreate and kWmCreate.
struct CreateInfo {
  void* userData = nullptr;  // CreateParams::userData
  WindowHandle owner = nullptr;
  int x = 0, y = 0, width = 0, height = 0;
};

// lParam of kWmGetMinMaxInfo; the procedure may change the values (0 = no limit).
struct MinMaxInfo {
  WinPoint maxSize;      // size of the maximised window
  WinPoint maxPosition;  // its position
  WinPoint minTrackSize;
  WinPoint maxTrackSize;
};

enum class WindowKind {
  kTopLevel,  // a normal application window: in the taskbar, takes focus, has a title
  kPopup,     // a tooltip or drop-down: not managed by the window manager, never takes focus
};

struct CreateParams {
  std::string className;  // the window class name (WM_CLASS on X11), required
  std::uint32_t classStyle = 0;  // kCs* bits; kCsDblClks turns double-click messages on
  std::string title;      // UTF-8
  WindowKind kind = WindowKind::kTopLevel;
  WindowHandle owner = nullptr;  // transient for this window (modal boxes, tooltips)
  int x = 0, y = 0;       // screen position of the client area's top-left corner
  int width = 0, height = 0;  // 0 x 0 is allowed: the window exists (unmapped) at 1 x 1
  // Per-pixel alpha: the window's content comes from UpdateLayeredWindow with premultiplied
  // alpha; pixels of alpha 0 are transparent to the eye and the mouse.
  bool layered = true;
  IWindowProcedure* procedure = nullptr;  // required; must outlive the window
  void* userData = nullptr;               // handed back in CreateInfo
};

enum class ShowCommand {
  kHide,
  kShowNormal,      // show (restore if minimised) and activate
  kShowNoActivate,  // show without taking the focus
  kMinimize,
  kRestore,
};

// Flags of SetWindowPos.
enum : std::uint32_t {
  kSwpNoSize = 0x0001,
  kSwpNoMove = 0x0002,
  kSwpNoZOrder = 0x0004,
  kSwpNoActivate = 0x0010,
  kSwpFrameChanged = 0x0020,
};

// Flags of TrackMouse.
enum : std::uint32_t { kTrackHover = 0x1, kTrackLeave = 0x2 };

struct Message {
  WindowHandle window = nullptr;  // null for thread messages (the quit message)
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::uint32_t time = 0;  // TickCount() when the message was made
  WinPoint point;          // pointer position on the screen when the message was made
};

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;

  // ---- windows ----------------------------------------------------------------------------
  // Creates the window (not shown). kWmNcCreate and then kWmCreate reach the procedure before
  // this returns; a kWmCreate answer of -1 destroys the window again and gives null.
  virtual WindowHandle CreateWindow(const CreateParams& params) = 0;
  // Unmaps the window at once, then sends kWmDestroy and kWmNcDestroy; the handle is dead after.
  // Owned windows (whose owner is this window) are destroyed first.
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual bool IsWindow(WindowHandle window) const = 0;
  virtual WindowHandle Owner(WindowHandle window) const = 0;
  virtual void SetTitle(WindowHandle window, const std::string& utf8Title) = 0;
  virtual void ShowWindow(WindowHandle window, ShowCommand command) = 0;
  virtual bool IsVisible(WindowHandle window) const = 0;
  virtual bool IsIconic(WindowHandle window) const = 0;
  virtual bool IsZoomed(WindowHandle window) const = 0;
  // Moves and/or resizes (kSwp* flags). A size change delivers kWmSize before this returns and
  // marks the whole window invalid; a move delivers kWmMove. It never activates the window
  // (kSwpNoActivate and kSwpNoZOrder are accepted and change nothing).
  // The size is the program's: it is never clamped to the kWmGetMinMaxInfo limits, which apply to
  // maximising and to the window manager's sizing.
  virtual void SetWindowPos(WindowHandle window, int x, int y, int width, int height, std::uint32_t flags) = 0;
  // Screen rectangle of the window (which has no frame: the same as the client area's).
  virtual WinRect GetWindowRect(WindowHandle window) const = 0;
  // 0, 0, width, height.
  virtual WinRect GetClientRect(WindowHandle window) const = 0;
  virtual WinPoint ScreenToClient(WindowHandle window, WinPoint screen) const = 0;
  virtual WinPoint ClientToScreen(WindowHandle window, WinPoint client) const = 0;
  // Work area (the screen less panels) of the monitor nearest to the window; the primary
  // monitor's for null.
  virtual WinRect WorkArea(WindowHandle window) const = 0;
  virtual WinRect ScreenRect() const = 0;
  // A disabled window ignores mouse and keyboard input and close requests (a modal box is open).
  virtual void EnableWindow(WindowHandle window, bool enable) = 0;
  virtual bool IsWindowEnabled(WindowHandle window) const = 0;
  // Shapes the window to a rounded rectangle 0, 0, width, height with ellipse corners of
  // ellipseWidth x ellipseHeight; 0 x 0 removes the shape.
  virtual void SetRoundRegion(WindowHandle window, int width, int height, int ellipseWidth, int ellipseHeight) = 0;
  // The platform's window drag with the mouse (what a press on a caption starts).
  virtual void BeginMoveDrag(WindowHandle window) = 0;

  // ---- painting ------------------------------------------------------------------------------
  // Adds to the window's invalid area (null: all of it); kWmPaint follows when the loop is idle.
  virtual void InvalidateRect(WindowHandle window, const WinRect* rect) = 0;
  // The bounding box of the invalid area; false when there is none.
  virtual bool GetUpdateRect(WindowHandle window, WinRect* rect) const = 0;
  // Empties the invalid area (the end of a paint).
  virtual void ValidateRect(WindowHandle window) = 0;
  // Shows `pixels` (premultiplied 0xAARRGGBB, rows top-down, `strideBytes` apart) as the window's
  // content, width x height from the window's top-left corner, with a constant opacity on top.
  // Pixels of alpha 0 do not take the mouse. Used for every window, layered or not.
  virtual void UpdateLayeredWindow(WindowHandle window, const std::uint32_t* pixels, int width, int height,
                                   int strideBytes, std::uint8_t constantAlpha) = 0;
  // True when translucent pixels are composited over the desktop (else they show black and the
  // layer cuts the fully transparent ones out of the window's shape).
  virtual bool HasCompositor() const = 0;

  // ---- input ----------------------------------------------------------------------------------
  // Keyboard focus among this process's windows; null when none of them has it.
  virtual void SetFocus(WindowHandle window) = 0;
  virtual WindowHandle GetFocus() const = 0;
  virtual WindowHandle GetActiveWindow() const = 0;
  // Mouse capture: every mouse message goes to this window until released.
  virtual void SetCapture(WindowHandle window) = 0;
  virtual void ReleaseCapture() = 0;
  virtual WindowHandle GetCapture() const = 0;
  // Asks for one kWmMouseHover after the pointer rested hoverMilliseconds and/or one
  // kWmMouseLeave when it leaves the window.
  virtual void TrackMouse(WindowHandle window, std::uint32_t flags, unsigned hoverMilliseconds) = 0;
  // The cursor shown over the window (kCursor* ids) until the next change.
  virtual void SetCursor(WindowHandle window, std::uint16_t cursorId) = 0;
  // Whether a key (kVk*, kVkShift/kVkControl/kVkMenu, or the mouse buttons 1 and 2) is down as of
  // the message being processed.
  virtual bool IsKeyDown(int virtualKey) const = 0;
  virtual WinPoint CursorPos() const = 0;  // screen coordinates
  virtual unsigned DoubleClickTime() const = 0;  // milliseconds
  virtual unsigned CaretBlinkTime() const = 0;   // milliseconds
  virtual void Beep() = 0;
  // Clipboard text (UTF-8). Getting may run the loop briefly to ask the owner.
  virtual void SetClipboardText(const std::string& utf8) = 0;
  virtual std::string GetClipboardText() = 0;

  // ---- timers ---------------------------------------------------------------------------------
  // A periodic kWmTimer with wParam = id every `milliseconds` (at least 10) for the window;
  // setting an id again restarts it. Ticks missed while the loop was busy are not replayed.
  virtual bool SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) = 0;
  virtual bool KillTimer(WindowHandle window, std::uintptr_t id) = 0;
  // Milliseconds since system start (the headless system's manual clock).
  virtual std::uint32_t TickCount() const = 0;

  // ---- messages -------------------------------------------------------------------------------
  // Queues a message for the window's procedure. Any thread. False when the window is gone.
  virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;
  // Calls the window's procedure now (UI thread only); 0 for a dead window.
  virtual std::intptr_t SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  // Makes GetMessage return false (after the messages already queued). Any thread.
  virtual void PostQuitMessage(int exitCode) = 0;
  // Waits for the next message without using the processor; false for the quit message
  // (its code then in `msg.wParam`). Paint and timer messages are made when nothing else waits.
  virtual bool GetMessage(Message& msg) = 0;
  // Calls the message's window procedure (nothing for a dead window); its result.
  virtual std::intptr_t DispatchMessage(const Message& msg) = 0;
  // The desktop's default handling of a message the procedure did not handle.
  virtual std::intptr_t DefWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) = 0;
  // Wakes the loop when `fd` becomes readable and calls `onReadable` on the UI thread (once per
  // readiness); a watch is removed by RemoveFdWatch or when the callback returns false.
  virtual int AddFdWatch(int fd, std::function<bool()> onReadable) = 0;
  virtual void RemoveFdWatch(int watchId) = 0;
  // Called on the UI thread for every posted message that will never reach a procedure: its
  // window was destroyed while it waited in the queue, or it was still queued when the window
  // system was destroyed. Lets a poster free what the message's parameters own (a posted closure,
  // say). A post to a window that is already gone is not queued: PostMessage answers false and
  // the caller keeps ownership. Null removes the hook.
  virtual void SetDiscardedMessageHook(std::function<void(const Message&)> hook) = 0;
};

// The process's window system: set once at start-up (the X11 one, or a test's headless one).
// None until then.
IWindowSystem* WindowSystem();
void SetWindowSystem(IWindowSystem* system);

// The X11 window system on `display` (null: $DISPLAY). None when no display can be opened or it
// offers no 32-bit visual; `error` then says why. (platform/linux/x11_window_system.h has the
// class, with what tests and measurements read: the X window of a handle, the loop's wake-ups.)
std::unique_ptr<IWindowSystem> CreateX11WindowSystem(const char* display, std::string* error = nullptr);

}  // namespace platform
