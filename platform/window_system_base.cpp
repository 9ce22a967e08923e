#include "platform/window_system_base.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

std::uintptr_t Id(WindowHandle w) { return reinterpret_cast<std::uintptr_t>(w); }
WindowHandle HandleOf(std::uintptr_t id) { return reinterpret_cast<WindowHandle>(id); }
std::uintptr_t AsParam(WindowHandle w) { return reinterpret_cast<std::uintptr_t>(w); }

constexpr std::intptr_t kKeyAltBit = std::intptr_t{1} << 29;
constexpr std::intptr_t kKeyPreviousBit = std::intptr_t{1} << 30;
constexpr std::intptr_t kKeyReleasedBit = std::intptr_t{1} << 31;
constexpr int kVkLButton = 1, kVkRButton = 2, kVkMButton = 4;

bool IsBorderHit(int hit) { return hit >= kHtLeft && hit <= kHtBottomRight; }

std::uint16_t CursorForHit(int hit) {
  switch (hit) {
    case kHtLeft:
    case kHtRight:
      return kCursorSizeWe;
    case kHtTop:
    case kHtBottom:
      return kCursorSizeNs;
    case kHtTopLeft:
    case kHtBottomRight:
      return kCursorSizeNwse;
    case kHtTopRight:
    case kHtBottomLeft:
      return kCursorSizeNesw;
    default:
      return kCursorArrow;
  }
}

WinRect Intersect(const WinRect& a, const WinRect& b) {
  return WinRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}
WinRect Union(const WinRect& a, const WinRect& b) {
  return WinRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

}  // namespace

WindowSystemBase::WindowSystemBase() = default;
WindowSystemBase::~WindowSystemBase() = default;

WindowSystemBase::WindowState* WindowSystemBase::Find(WindowHandle window) {
  auto it = windows_.find(Id(window));
  return it == windows_.end() ? nullptr : it->second.get();
}
const WindowSystemBase::WindowState* WindowSystemBase::Find(WindowHandle window) const {
  auto it = windows_.find(Id(window));
  return it == windows_.end() ? nullptr : it->second.get();
}

std::vector<WindowHandle> WindowSystemBase::WindowsInOrder() const { return order_; }

Message WindowSystemBase::Make(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) const {
  Message m;
  m.window = window;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = TickCount();
  m.point = CursorPos();
  return m;
}

// ---- windows ---------------------------------------------------------------------------------

WindowHandle WindowSystemBase::CreateWindow(const CreateParams& params) {
  if (params.procedure == nullptr || params.className.empty()) return nullptr;
  if (params.owner != nullptr && Find(params.owner) == nullptr) return nullptr;
  auto state = std::make_unique<WindowState>();
  WindowHandle handle = HandleOf(nextId_++);
  state->handle = handle;
  state->className = params.className;
  state->classStyle = params.classStyle;
  state->title = params.title;
  state->kind = params.kind;
  state->owner = params.owner;
  state->layered = params.layered;
  state->procedure = params.procedure;
  state->rect = WinRect{params.x, params.y, params.x + std::max(0, params.width), params.y + std::max(0, params.height)};
  state->restoreRect = state->rect;
  if (!NativeCreate(*state)) return nullptr;
  windows_[Id(handle)] = std::move(state);
  order_.push_back(handle);
  {
    std::lock_guard lock(liveMutex_);
    live_.insert(Id(handle));
  }
  CreateInfo info{params.userData, params.owner, params.x, params.y, params.width, params.height};
  SendMessage(handle, kWmNcCreate, 0, reinterpret_cast<std::intptr_t>(&info));
  if (Find(handle) == nullptr) return nullptr;
  if (SendMessage(handle, kWmCreate, 0, reinterpret_cast<std::intptr_t>(&info)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  return Find(handle) != nullptr ? handle : nullptr;
}

void WindowSystemBase::DestroyWindow(WindowHandle window) {
  WindowState* w = Find(window);
  if (w == nullptr || w->destroying) return;
  w->destroying = true;
  std::vector<WindowHandle> owned;
  for (WindowHandle h : order_)
    if (const WindowState* o = Find(h); o != nullptr && o->owner == window) owned.push_back(h);
  for (WindowHandle h : owned) DestroyWindow(h);

  w = Find(window);
  // Gone from the screen before the destroy hooks run, however long they take.
  if (w->visible) {
    w->visible = false;
    NativeShow(*w, false);
  }
  if (capture_ == window) ReleaseCapture();
  if (focus_ == window || active_ == window) LoseActivation(window);
  if (tracking_.window == window) tracking_ = Tracking{};
  if (pointerWindow_ == window) pointerWindow_ = nullptr;
  if (lastClick_.window == window) lastClick_ = LastClick{};
  if (drag_.window == window) drag_ = Drag{};
  timers_.KillAll(window);

  SendMessage(window, kWmDestroy, 0, 0);
  SendMessage(window, kWmNcDestroy, 0, 0);

  {
    std::lock_guard lock(liveMutex_);
    live_.erase(Id(window));
  }
  timers_.KillAll(window);  // the destroy hooks may have started new ones
  if (focus_ == window) focus_ = nullptr;
  if (active_ == window) active_ = nullptr;
  if (capture_ == window) capture_ = nullptr;
  if (tracking_.window == window) tracking_ = Tracking{};
  Discard(queue_.RemoveFor(window));
  w = Find(window);
  NativeDestroy(*w);
  windows_.erase(Id(window));
  std::erase(order_, window);
}

void WindowSystemBase::ForgetAllWindows() {
  for (WindowHandle h : order_) {
    if (WindowState* w = Find(h)) NativeDestroy(*w);
  }
  windows_.clear();
  order_.clear();
  {
    std::lock_guard lock(liveMutex_);
    live_.clear();
  }
  Discard(queue_.TakeAll());
  focus_ = active_ = capture_ = pointerWindow_ = nullptr;
}

void WindowSystemBase::Discard(const std::vector<QueuedMessage>& removed) {
  if (!discardHook_) return;
  for (const QueuedMessage& e : removed) discardHook_(e.msg);
}

void WindowSystemBase::SetDiscardedMessageHook(std::function<void(const Message&)> hook) {
  discardHook_ = std::move(hook);
}

bool WindowSystemBase::IsWindow(WindowHandle window) const {
  if (window == nullptr) return false;
  std::lock_guard lock(liveMutex_);
  return live_.count(Id(window)) != 0;
}

WindowHandle WindowSystemBase::Owner(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? w->owner : nullptr;
}

void WindowSystemBase::SetTitle(WindowHandle window, const std::string& utf8Title) {
  if (WindowState* w = Find(window)) {
    w->title = utf8Title;
    NativeTitle(*w);
  }
}

void WindowSystemBase::ShowImpl(WindowState& w, bool activate) {
  WindowHandle h = w.handle;
  if (!w.visible) {
    SendMessage(h, kWmShowWindow, 1, 0);
    WindowState* s = Find(h);
    if (s == nullptr || s->destroying) return;
    MinMaxInfo limits;
    limits.maxSize = WinPoint{WorkArea(h).Width(), WorkArea(h).Height()};
    limits.maxPosition = WinPoint{WorkArea(h).left, WorkArea(h).top};
    limits.maxTrackSize = WinPoint{ScreenRect().Width(), ScreenRect().Height()};
    SendMessage(h, kWmGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&limits));
    if ((s = Find(h)) == nullptr) return;
    NativeSizeLimits(*s, limits);
    s->visible = true;
    s->iconic = false;
    NativeShow(*s, true);
    InvalidateRect(h, nullptr);
  } else if (w.iconic) {
    w.iconic = false;
    NativeShow(w, true);
    InvalidateRect(h, nullptr);
    SendMessage(h, kWmSize, w.zoomed ? kSizeMaximized : kSizeRestored, PackPoint(w.rect.Width(), w.rect.Height()));
  }
  WindowState* s = Find(h);
  if (activate && s != nullptr && s->kind == WindowKind::kTopLevel && s->enabled) SetFocusImpl(h, true);
}

void WindowSystemBase::ShowWindow(WindowHandle window, ShowCommand command) {
  WindowState* w = Find(window);
  if (w == nullptr || w->destroying) return;
  switch (command) {
    case ShowCommand::kHide:
      if (!w->visible) return;
      SendMessage(window, kWmShowWindow, 0, 0);
      if ((w = Find(window)) == nullptr || !w->visible) return;
      w->visible = false;
      NativeShow(*w, false);
      if (drag_.window == window) drag_ = Drag{};
      if (capture_ == window) ReleaseCapture();
      if (focus_ == window || active_ == window) LoseActivation(window);
      return;
    case ShowCommand::kShowNormal:
      ShowImpl(*w, true);
      return;
    case ShowCommand::kShowNoActivate:
      ShowImpl(*w, false);
      return;
    case ShowCommand::kRestore:
      if (w->visible && !w->iconic && w->zoomed) {
        w->zoomed = false;
        WinRect r = w->restoreRect;
        SetWindowPos(window, r.left, r.top, r.Width(), r.Height(), kSwpNoZOrder | kSwpNoActivate);
      }
      if ((w = Find(window)) != nullptr) ShowImpl(*w, true);
      return;
    case ShowCommand::kMinimize:
      if (!w->visible) ShowImpl(*w, false);
      if ((w = Find(window)) == nullptr || w->iconic) return;
      w->iconic = true;
      NativeMinimize(*w);
      if (capture_ == window) ReleaseCapture();
      if (focus_ == window || active_ == window) LoseActivation(window);
      if ((w = Find(window)) != nullptr)
        SendMessage(window, kWmSize, kSizeMinimized, PackPoint(w->rect.Width(), w->rect.Height()));
      return;
  }
}

void WindowSystemBase::Maximize(WindowHandle window) {
  WindowState* w = Find(window);
  if (w == nullptr || w->zoomed) return;
  WinRect work = WorkArea(window);
  MinMaxInfo limits;
  limits.maxSize = WinPoint{work.Width(), work.Height()};
  limits.maxPosition = WinPoint{work.left, work.top};
  limits.maxTrackSize = WinPoint{ScreenRect().Width(), ScreenRect().Height()};
  SendMessage(window, kWmGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&limits));
  if ((w = Find(window)) == nullptr) return;
  int width = limits.maxSize.x, height = limits.maxSize.y;
  if (limits.maxTrackSize.x > 0) width = std::min(width, limits.maxTrackSize.x);
  if (limits.maxTrackSize.y > 0) height = std::min(height, limits.maxTrackSize.y);
  width = std::max(width, limits.minTrackSize.x);
  height = std::max(height, limits.minTrackSize.y);
  w->restoreRect = w->rect;
  w->zoomed = true;
  SetWindowPos(window, limits.maxPosition.x, limits.maxPosition.y, width, height, kSwpNoZOrder);
  if ((w = Find(window)) != nullptr && w->iconic) ShowImpl(*w, true);
}

bool WindowSystemBase::IsVisible(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w != nullptr && w->visible;
}
bool WindowSystemBase::IsIconic(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w != nullptr && w->iconic;
}
bool WindowSystemBase::IsZoomed(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w != nullptr && w->zoomed;
}

void WindowSystemBase::SetWindowPos(WindowHandle window, int x, int y, int width, int height, std::uint32_t flags) {
  WindowState* w = Find(window);
  if (w == nullptr) return;
  WinRect r = w->rect;
  if (flags & kSwpNoMove) {
    x = r.left;
    y = r.top;
  }
  if (flags & kSwpNoSize) {
    width = r.Width();
    height = r.Height();
  }
  width = std::max(0, width);
  height = std::max(0, height);
  bool moved = x != r.left || y != r.top;
  bool resized = width != r.Width() || height != r.Height();
  if (!moved && !resized) return;
  w->rect = WinRect{x, y, x + width, y + height};
  NativeGeometry(*w, moved, resized);
  if (moved) SendMessage(window, kWmMove, 0, PackPoint(x, y));
  if (resized && (w = Find(window)) != nullptr) {
    InvalidateRect(window, nullptr);
    SendMessage(window, kWmSize, w->zoomed ? kSizeMaximized : kSizeRestored, PackPoint(width, height));
  }
}

WinRect WindowSystemBase::GetWindowRect(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? w->rect : WinRect{};
}
WinRect WindowSystemBase::GetClientRect(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? WinRect{0, 0, w->rect.Width(), w->rect.Height()} : WinRect{};
}
WinPoint WindowSystemBase::ScreenToClient(WindowHandle window, WinPoint screen) const {
  const WindowState* w = Find(window);
  return w ? WinPoint{screen.x - w->rect.left, screen.y - w->rect.top} : screen;
}
WinPoint WindowSystemBase::ClientToScreen(WindowHandle window, WinPoint client) const {
  const WindowState* w = Find(window);
  return w ? WinPoint{client.x + w->rect.left, client.y + w->rect.top} : client;
}

void WindowSystemBase::EnableWindow(WindowHandle window, bool enable) {
  WindowState* w = Find(window);
  if (w == nullptr || w->enabled == enable) return;
  w->enabled = enable;
  if (!enable) {
    if (focus_ == window) SetFocusImpl(nullptr, false);
    if (capture_ == window) ReleaseCapture();
  }
  SendMessage(window, kWmEnable, enable ? 1 : 0, 0);
}

bool WindowSystemBase::IsWindowEnabled(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w != nullptr && w->enabled;
}

void WindowSystemBase::SetRoundRegion(WindowHandle window, int width, int height, int ellipseWidth,
                                      int ellipseHeight) {
  WindowState* w = Find(window);
  if (w == nullptr) return;
  bool none = width <= 0 || height <= 0;
  w->roundWidth = none ? 0 : width;
  w->roundHeight = none ? 0 : height;
  w->roundEllipseWidth = none ? 0 : std::max(0, ellipseWidth);
  w->roundEllipseHeight = none ? 0 : std::max(0, ellipseHeight);
  NativeRegion(*w);
}

bool WindowSystemBase::InsideRegion(const WindowState& w, WinPoint screen) {
  if (w.roundWidth <= 0 || w.roundHeight <= 0) return true;
  // Pixel centres against the rounded rectangle 0, 0, roundWidth, roundHeight.
  double x = screen.x - w.rect.left + 0.5, y = screen.y - w.rect.top + 0.5;
  if (x < 0 || y < 0 || x > w.roundWidth || y > w.roundHeight) return false;
  double rx = std::min(w.roundEllipseWidth, w.roundWidth) / 2.0;
  double ry = std::min(w.roundEllipseHeight, w.roundHeight) / 2.0;
  if (rx <= 0 || ry <= 0) return true;
  double cx = x < rx ? rx : (x > w.roundWidth - rx ? w.roundWidth - rx : x);
  double cy = y < ry ? ry : (y > w.roundHeight - ry ? w.roundHeight - ry : y);
  double dx = (x - cx) / rx, dy = (y - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

void WindowSystemBase::BeginMoveDrag(WindowHandle window) {
  if (WindowState* w = Find(window); w != nullptr && w->visible) NativeMoveDrag(*w, kHtCaption);
}

// ---- painting --------------------------------------------------------------------------------

void WindowSystemBase::InvalidateRect(WindowHandle window, const WinRect* rect) {
  WindowState* w = Find(window);
  if (w == nullptr) return;
  WinRect client{0, 0, w->rect.Width(), w->rect.Height()};
  WinRect area = rect ? Intersect(*rect, client) : client;
  if (area.IsEmpty()) return;
  w->invalid = w->hasInvalid ? Union(w->invalid, area) : area;
  w->hasInvalid = true;
  ++w->invalidSerial;
}

bool WindowSystemBase::GetUpdateRect(WindowHandle window, WinRect* rect) const {
  const WindowState* w = Find(window);
  if (w == nullptr || !w->hasInvalid) return false;
  if (rect) *rect = w->invalid;
  return true;
}

void WindowSystemBase::ValidateRect(WindowHandle window) {
  if (WindowState* w = Find(window)) {
    w->hasInvalid = false;
    w->invalid = WinRect{};
  }
}

void WindowSystemBase::UpdateLayeredWindow(WindowHandle window, const std::uint32_t* pixels, int width, int height,
                                           int strideBytes, std::uint8_t constantAlpha) {
  WindowState* w = Find(window);
  if (w == nullptr || pixels == nullptr || width <= 0 || height <= 0 || strideBytes < width * 4) return;
  NativePresent(*w, pixels, width, height, strideBytes, constantAlpha);
}

// ---- focus, capture, tracking ----------------------------------------------------------------

void WindowSystemBase::SetFocus(WindowHandle window) { SetFocusImpl(window, true); }

void WindowSystemBase::SetFocusImpl(WindowHandle window, bool toDesktop) {
  if (window != nullptr) {
    const WindowState* w = Find(window);
    if (w == nullptr || w->destroying || w->kind == WindowKind::kPopup || !w->enabled) return;
  }
  if (window != nullptr && active_ != window) ChangeActive(window);
  if (window == focus_) {
    if (window != nullptr && toDesktop) NativeFocus(*Find(window));
    return;
  }
  WindowHandle old = focus_;
  focus_ = window;
  if (old != nullptr && Find(old) != nullptr) SendMessage(old, kWmKillFocus, AsParam(window), 0);
  if (window == nullptr || focus_ != window || Find(window) == nullptr) return;
  SendMessage(window, kWmSetFocus, AsParam(old), 0);
  if (toDesktop && focus_ == window) {
    if (WindowState* w = Find(window)) NativeFocus(*w);
  }
}

void WindowSystemBase::ChangeActive(WindowHandle window) {
  WindowHandle old = active_;
  if (old == window) return;
  active_ = window;
  if (old != nullptr && Find(old) != nullptr) {
    SendMessage(old, kWmNcActivate, 0, reinterpret_cast<std::intptr_t>(window));
    SendMessage(old, kWmActivate, 0, reinterpret_cast<std::intptr_t>(window));
  }
  if (window != nullptr && active_ == window && Find(window) != nullptr) {
    SendMessage(window, kWmNcActivate, 1, reinterpret_cast<std::intptr_t>(old));
    SendMessage(window, kWmActivate, 1, reinterpret_cast<std::intptr_t>(old));
  }
}

// The window stops being the active one (hidden, minimised, destroyed): the focus leaves it and
// its owner, when it can, becomes active, as the owner of a closing box should.
void WindowSystemBase::LoseActivation(WindowHandle window) {
  WindowHandle owner = Owner(window);
  if (focus_ == window) SetFocusImpl(nullptr, false);
  if (active_ == window) ChangeActive(nullptr);
  const WindowState* o = Find(owner);
  if (o != nullptr && o->visible && !o->iconic && o->enabled && !o->destroying && active_ == nullptr)
    SetFocusImpl(owner, true);
}

void WindowSystemBase::SetCapture(WindowHandle window) {
  WindowState* w = Find(window);
  if (w == nullptr || w->destroying) return;
  capture_ = window;
  NativeCapture(w);
}

void WindowSystemBase::ReleaseCapture() {
  if (capture_ == nullptr) return;
  capture_ = nullptr;
  NativeCapture(nullptr);
  CheckLeave();
}

// A leave is owed when the tracked window is no longer the one under the pointer.
void WindowSystemBase::CheckLeave() {
  if (tracking_.window == nullptr || tracking_.window == pointerWindow_) return;
  WindowHandle w = tracking_.window;
  bool wantLeave = (tracking_.flags & kTrackLeave) != 0;
  tracking_ = Tracking{};
  if (wantLeave) PostInput(w, kWmMouseLeave, 0, 0, false);
}

void WindowSystemBase::TrackMouse(WindowHandle window, std::uint32_t flags, unsigned hoverMilliseconds) {
  const WindowState* w = Find(window);
  if (w == nullptr || flags == 0) return;
  if (pointerWindow_ != window && capture_ != window) {
    // Asked while the pointer is elsewhere: the leave is due at once.
    if (flags & kTrackLeave) PostInput(window, kWmMouseLeave, 0, 0, false);
    return;
  }
  tracking_.window = window;
  tracking_.flags = flags;
  if (flags & kTrackHover) {
    tracking_.hoverMilliseconds = hoverMilliseconds ? hoverMilliseconds : kDefaultHoverMilliseconds;
    tracking_.hoverDue = TickCount() + tracking_.hoverMilliseconds;
    tracking_.hoverOrigin = CursorPos();
  }
}

void WindowSystemBase::SetCursor(WindowHandle window, std::uint16_t cursorId) {
  WindowState* w = Find(window);
  if (w == nullptr || w->cursor == cursorId) return;
  w->cursor = cursorId;
  NativeCursor(*w);
}

bool WindowSystemBase::IsKeyDown(int virtualKey) const {
  return virtualKey > 0 && virtualKey < 256 && keys_.keys.test(static_cast<std::size_t>(virtualKey));
}

WinPoint WindowSystemBase::CursorPos() const {
  std::uint64_t packed = cursorPacked_.load(std::memory_order_relaxed);
  return WinPoint{static_cast<std::int32_t>(packed >> 32), static_cast<std::int32_t>(packed & 0xFFFFFFFFu)};
}

// ---- timers ----------------------------------------------------------------------------------

bool WindowSystemBase::SetTimer(WindowHandle window, std::uintptr_t id, unsigned milliseconds) {
  const WindowState* w = Find(window);
  if (w == nullptr || w->destroying) return false;
  timers_.Set(window, id, milliseconds, TickCount());
  return true;
}

bool WindowSystemBase::KillTimer(WindowHandle window, std::uintptr_t id) { return timers_.Kill(window, id); }

int WindowSystemBase::MillisecondsUntilDeadline() const {
  int next = timers_.MillisecondsUntilNext(TickCount());
  if (tracking_.window != nullptr && (tracking_.flags & kTrackHover)) {
    int hover = std::max<std::int32_t>(0, MillisecondsUntil(tracking_.hoverDue, TickCount()));
    next = next < 0 ? hover : std::min(next, hover);
  }
  return next;
}

// ---- messages --------------------------------------------------------------------------------

bool WindowSystemBase::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  {
    std::lock_guard lock(liveMutex_);
    if (window != nullptr && live_.count(Id(window)) == 0) return false;
    QueuedMessage e;
    e.msg = Make(window, message, wParam, lParam);
    queue_.Push(std::move(e));
  }
  NativeWake();
  return true;
}

std::intptr_t WindowSystemBase::SendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
  WindowState* w = Find(window);
  if (w == nullptr) return 0;
  return w->procedure->WindowProc(window, message, wParam, lParam);
}

void WindowSystemBase::PostQuitMessage(int exitCode) {
  queue_.PostQuit(exitCode);
  NativeWake();
}

std::intptr_t WindowSystemBase::DispatchMessage(const Message& msg) {
  if (msg.window == nullptr) return 0;
  return SendMessage(msg.window, msg.message, msg.wParam, msg.lParam);
}

bool WindowSystemBase::GetMessage(Message& msg) {
  Fetch f = NextMessage(msg, true);
  if (f == Fetch::kMessage) return true;
  if (f == Fetch::kNothing) msg = Make(nullptr, kWmQuit, 0, 0);
  return false;
}

WindowSystemBase::Fetch WindowSystemBase::NextMessage(Message& msg, bool wait) {
  bool polled = false;
  for (;;) {
    QueuedMessage e;
    while (queue_.Pop(e)) {
      if (e.msg.window != nullptr && Find(e.msg.window) == nullptr) continue;
      PrepareInput(e);
      if (e.msg.window != nullptr && Find(e.msg.window) == nullptr) continue;
      msg = e.msg;
      return Fetch::kMessage;
    }
    int code = 0;
    if (queue_.TakeQuit(code)) {
      msg = Make(nullptr, kWmQuit, static_cast<std::uintptr_t>(code), 0);
      return Fetch::kQuit;
    }
    if (MakePaint(msg) || MakeTimer(msg) || MakeHover(msg)) return Fetch::kMessage;
    if (!wait) {
      if (polled) return Fetch::kNothing;
      polled = true;
      NativeWait(0);
      continue;
    }
    if (!NativeWait(MillisecondsUntilDeadline())) return Fetch::kNothing;
  }
}

bool WindowSystemBase::MakePaint(Message& msg) {
  for (WindowHandle h : order_) {
    WindowState* w = Find(h);
    if (w == nullptr || !w->visible || !w->hasInvalid) continue;
    // A procedure that leaves its area invalid is not asked again until the area changes, so a
    // procedure that ignores paints cannot spin the loop.
    if (w->paintedSerial == w->invalidSerial) continue;
    w->paintedSerial = w->invalidSerial;
    msg = Make(h, kWmPaint, 0, 0);
    return true;
  }
  return false;
}

bool WindowSystemBase::MakeTimer(Message& msg) {
  WindowHandle window = nullptr;
  std::uintptr_t id = 0;
  if (!timers_.TakeDue(TickCount(), window, id)) return false;
  msg = Make(window, kWmTimer, id, 0);
  return true;
}

bool WindowSystemBase::MakeHover(Message& msg) {
  if (tracking_.window == nullptr || !(tracking_.flags & kTrackHover)) return false;
  if (MillisecondsUntil(tracking_.hoverDue, TickCount()) > 0) return false;
  tracking_.flags &= ~std::uint32_t{kTrackHover};
  WindowHandle w = tracking_.window;
  if (tracking_.flags == 0) tracking_.window = nullptr;
  WinPoint client = ScreenToClient(w, CursorPos());
  msg = Make(w, kWmMouseHover, MouseKeyFlags(keys_), PackPoint(client.x, client.y));
  return true;
}

// A mouse message is hit-tested when it is read, as the window is then: a non-client answer
// turns a left press into the non-client press that drags or sizes, and the window chooses its
// cursor for the point.
void WindowSystemBase::PrepareInput(QueuedMessage& e) {
  if (e.fromInput) keys_ = e.input;
  if (!e.pointer) return;
  WindowHandle h = e.msg.window;
  std::uint32_t m = e.msg.message;
  int hit = static_cast<int>(SendMessage(h, kWmNcHitTest, 0, PackPoint(e.msg.point.x, e.msg.point.y)));
  if (Find(h) == nullptr) return;
  if (hit == kHtNowhere) hit = kHtClient;
  SendMessage(h, kWmSetCursor, AsParam(h),
              static_cast<std::intptr_t>((static_cast<std::uint32_t>(m) << 16) | static_cast<std::uint16_t>(hit)));
  if ((m == kWmLButtonDown || m == kWmLButtonDblClk) && (hit == kHtCaption || IsBorderHit(hit))) {
    e.msg.message = kWmNcLButtonDown;
    e.msg.wParam = static_cast<std::uintptr_t>(hit);
    e.msg.lParam = PackPoint(e.msg.point.x, e.msg.point.y);
  }
}

std::intptr_t WindowSystemBase::DefWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
  switch (message) {
    case kWmNcCreate:
    case kWmNcActivate:
      return 1;
    case kWmClose:
      DestroyWindow(window);
      return 0;
    case kWmPaint:
      ValidateRect(window);
      return 0;
    case kWmNcHitTest:
      return kHtClient;
    case kWmSetCursor:
      SetCursor(window, CursorForHit(LowWord(static_cast<std::uintptr_t>(lParam))));
      return 1;
    case kWmSysCommand:
      switch (wParam & 0xFFF0) {
        case kScClose:
          SendMessage(window, kWmClose, 0, 0);
          break;
        case kScMinimize:
          ShowWindow(window, ShowCommand::kMinimize);
          break;
        case kScMaximize:
          Maximize(window);
          break;
        case kScRestore:
          ShowWindow(window, ShowCommand::kRestore);
          break;
        case kScMove:
          BeginMoveDrag(window);
          break;
        default:
          break;
      }
      return 0;
    case kWmSysKeyDown:
      // Alt+F4 closes, with or without a window manager to do it.
      if (static_cast<int>(wParam) == kVkF4 && (lParam & kKeyAltBit) && !(lParam & kKeyPreviousBit))
        SendMessage(window, kWmSysCommand, kScClose, 0);
      return 0;
    case kWmRButtonUp: {
      WinPoint screen = ClientToScreen(window, WinPoint{PointX(lParam), PointY(lParam)});
      SendMessage(window, kWmContextMenu, AsParam(window), PackPoint(screen.x, screen.y));
      return 0;
    }
    case kWmNcLButtonDown:
      if (WindowState* w = Find(window); w != nullptr && w->visible) {
        int hit = static_cast<int>(wParam);
        if (hit == kHtCaption || IsBorderHit(hit)) NativeMoveDrag(*w, hit);
      }
      return 0;
    default:
      return 0;
  }
}

// ---- input -----------------------------------------------------------------------------------

std::uintptr_t WindowSystemBase::MouseKeyFlags(const InputSnapshot& state) {
  const auto& k = state.keys;
  std::uintptr_t f = 0;
  if (k.test(kVkLButton)) f |= kMkLButton;
  if (k.test(kVkRButton)) f |= kMkRButton;
  if (k.test(kVkMButton)) f |= kMkMButton;
  if (k.test(kVkShift)) f |= kMkShift;
  if (k.test(kVkControl)) f |= kMkControl;
  return f;
}

void WindowSystemBase::PostInput(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam, bool pointer) {
  QueuedMessage e;
  e.msg = Make(window, message, wParam, lParam);
  e.fromInput = true;
  e.pointer = pointer;
  e.input = liveKeys_;
  if (message == kWmMouseMove)
    queue_.PushMove(std::move(e));
  else
    queue_.Push(std::move(e));
}

void WindowSystemBase::BeginManualDrag(WindowState& w, int hitTest) {
  if (!liveKeys_.keys.test(kVkLButton)) return;
  drag_ = Drag{w.handle, hitTest, liveKeys_.cursor, w.rect};
}

bool WindowSystemBase::DragPointer(WinPoint screen) {
  if (drag_.window == nullptr) return false;
  const WindowState* w = Find(drag_.window);
  if (w == nullptr || !w->visible || w->iconic) {
    drag_ = Drag{};
    return false;
  }
  liveKeys_.cursor = screen;
  int dx = screen.x - drag_.start.x, dy = screen.y - drag_.start.y;
  WinRect r = drag_.startRect;
  int hit = drag_.hit;
  if (hit == kHtCaption) r = WinRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  if (hit == kHtLeft || hit == kHtTopLeft || hit == kHtBottomLeft) r.left = std::min(r.left + dx, r.right);
  if (hit == kHtRight || hit == kHtTopRight || hit == kHtBottomRight) r.right = std::max(r.right + dx, r.left);
  if (hit == kHtTop || hit == kHtTopLeft || hit == kHtTopRight) r.top = std::min(r.top + dy, r.bottom);
  if (hit == kHtBottom || hit == kHtBottomLeft || hit == kHtBottomRight) r.bottom = std::max(r.bottom + dy, r.top);
  SetWindowPos(drag_.window, r.left, r.top, r.Width(), r.Height(), kSwpNoZOrder | kSwpNoActivate);
  return true;
}

void WindowSystemBase::PointerMoved(WindowHandle over, WinPoint screen) {
  if (DragPointer(screen)) return;
  // A move that goes nowhere is no move (a press reports its point again).
  if (screen == liveKeys_.cursor && over == pointerWindow_ && havePointer_) return;
  havePointer_ = true;
  liveKeys_.cursor = screen;
  cursorPacked_.store((static_cast<std::uint64_t>(static_cast<std::uint32_t>(screen.x)) << 32) |
                          static_cast<std::uint32_t>(screen.y),
                      std::memory_order_relaxed);
  if (over != pointerWindow_) {
    pointerWindow_ = over;
    CheckLeave();
  }
  WindowHandle target = capture_ ? capture_ : over;
  const WindowState* w = Find(target);
  if (w == nullptr || !w->enabled) return;
  if (tracking_.window == target && (tracking_.flags & kTrackHover) &&
      (std::abs(screen.x - tracking_.hoverOrigin.x) > kHoverDistance / 2 ||
       std::abs(screen.y - tracking_.hoverOrigin.y) > kHoverDistance / 2)) {
    tracking_.hoverOrigin = screen;
    tracking_.hoverDue = TickCount() + tracking_.hoverMilliseconds;
  }
  std::uintptr_t flags = MouseKeyFlags(liveKeys_);
  WinPoint client = ScreenToClient(target, screen);
  PostInput(target, kWmMouseMove, flags, PackPoint(client.x, client.y), capture_ == nullptr);
}

void WindowSystemBase::PointerButton(WindowHandle over, WinPoint screen, int button, bool down) {
  static constexpr int kVkOfButton[] = {0, kVkLButton, kVkRButton, kVkMButton};
  if (button < 1 || button > 3) return;
  if (drag_.window != nullptr) {
    DragPointer(screen);
    if (button == 1 && !down) {
      drag_ = Drag{};  // the release ends the drag and is the drag's
      liveKeys_.keys.reset(kVkLButton);
      if (queue_.Empty()) keys_ = liveKeys_;
    }
    return;
  }
  PointerMoved(over, screen);
  liveKeys_.keys.set(static_cast<std::size_t>(kVkOfButton[button]), down);
  WindowHandle target = capture_ ? capture_ : over;
  WindowState* w = Find(target);
  if (w == nullptr || !w->enabled || button == 3) return;
  std::uint32_t message = 0;
  if (down) {
    std::uint32_t now = TickCount();
    bool dbl = (w->classStyle & kCsDblClks) && lastClick_.window == target && lastClick_.button == button &&
               now - lastClick_.time <= DoubleClickTime() &&
               std::abs(screen.x - lastClick_.point.x) <= kDoubleClickDistance &&
               std::abs(screen.y - lastClick_.point.y) <= kDoubleClickDistance;
    if (dbl) {
      lastClick_ = LastClick{};  // a third press starts over
      message = button == 1 ? kWmLButtonDblClk : kWmRButtonDblClk;
    } else {
      lastClick_ = LastClick{target, button, now, screen};
      message = button == 1 ? kWmLButtonDown : kWmRButtonDown;
    }
    // A press on an inactive window activates it, as a click on a window does.
    if (w->kind == WindowKind::kTopLevel && active_ != target && capture_ == nullptr) SetFocusImpl(target, true);
    if (Find(target) == nullptr) return;
  } else {
    message = button == 1 ? kWmLButtonUp : kWmRButtonUp;
  }
  std::uintptr_t flags = MouseKeyFlags(liveKeys_);
  WinPoint client = ScreenToClient(target, screen);
  PostInput(target, message, flags, PackPoint(client.x, client.y), capture_ == nullptr && down);
}

void WindowSystemBase::PointerWheel(WindowHandle over, WinPoint screen, int notches) {
  if (notches == 0) return;
  PointerMoved(over, screen);
  WindowHandle target = capture_ ? capture_ : over;
  const WindowState* w = Find(target);
  if (w == nullptr || !w->enabled) return;
  std::uintptr_t flags = MouseKeyFlags(liveKeys_);
  auto delta = static_cast<std::uint16_t>(static_cast<std::int16_t>(notches * 120));
  PostInput(target, kWmMouseWheel, (static_cast<std::uintptr_t>(delta) << 16) | flags,
            PackPoint(screen.x, screen.y), false);
}

void WindowSystemBase::KeyEvent(bool down, int virtualKey, char32_t ch) {
  if (virtualKey == 0 && down && ch != 0 && ch != 0x7F) {
    const WindowState* w = Find(focus_);
    if (w == nullptr || !w->enabled) return;
    bool alt = liveKeys_.keys.test(kVkMenu) && !liveKeys_.keys.test(kVkControl);
    PostInput(focus_, alt ? kWmSysChar : kWmChar, static_cast<std::uintptr_t>(ch), alt ? (1 | kKeyAltBit) : 1, false);
    return;
  }
  if (virtualKey <= 0 || virtualKey >= 256) return;
  auto bit = static_cast<std::size_t>(virtualKey);
  bool wasDown = liveKeys_.keys.test(bit);
  if (down) liveKeys_.keys.set(bit);
  // Alt is judged with the key itself still down, so releasing Alt is a system key too.
  bool alt = liveKeys_.keys.test(kVkMenu) && !liveKeys_.keys.test(kVkControl);
  if (!down) liveKeys_.keys.reset(bit);
  const WindowState* w = Find(focus_);
  if (w == nullptr || !w->enabled) return;
  bool sys = alt || virtualKey == kVkF10;
  std::intptr_t lParam = 1;
  if (alt) lParam |= kKeyAltBit;
  if (down && wasDown) lParam |= kKeyPreviousBit;
  if (!down) lParam |= kKeyPreviousBit | kKeyReleasedBit;
  std::uint32_t message = down ? (sys ? kWmSysKeyDown : kWmKeyDown) : (sys ? kWmSysKeyUp : kWmKeyUp);
  PostInput(focus_, message, static_cast<std::uintptr_t>(virtualKey), lParam, false);
  // Delete types no character; every other control character (Return, Escape, Tab, Backspace,
  // Ctrl+letter) does.
  if (down && ch != 0 && ch != 0x7F)
    PostInput(focus_, alt ? kWmSysChar : kWmChar, static_cast<std::uintptr_t>(ch), lParam, false);
}

void WindowSystemBase::SyncModifiers(bool shift, bool control, bool alt, bool left, bool right, bool middle) {
  auto& k = liveKeys_.keys;
  k.set(kVkShift, shift);
  k.set(kVkControl, control);
  k.set(kVkMenu, alt);
  k.set(kVkLButton, left);
  k.set(kVkRButton, right);
  k.set(kVkMButton, middle);
  // Nothing waiting to be read: the state "as of the message being processed" is the state now.
  if (queue_.Empty()) keys_ = liveKeys_;
}

void WindowSystemBase::CloseRequested(WindowHandle window) {
  const WindowState* w = Find(window);
  // A window a modal box has disabled ignores the close button.
  if (w == nullptr || !w->enabled || w->destroying) return;
  PostInput(window, kWmSysCommand, kScClose, 0, false);
}

void WindowSystemBase::DesktopFocus(WindowHandle window) {
  if (window == nullptr) {
    // Another program took the focus: ours only lose it (no owner steals it back). Keys released
    // over there are never seen here, so none counts as held any more.
    SetFocusImpl(nullptr, false);
    ChangeActive(nullptr);
    for (std::size_t k = 0; k < liveKeys_.keys.size(); ++k)
      if (k != kVkLButton && k != kVkRButton && k != kVkMButton) liveKeys_.keys.reset(k);
    if (queue_.Empty()) keys_ = liveKeys_;
    return;
  }
  const WindowState* w = Find(window);
  if (w == nullptr || !w->enabled || w->kind == WindowKind::kPopup || focus_ == window) return;
  SetFocusImpl(window, false);
}

void WindowSystemBase::DesktopMoved(WindowHandle window, int x, int y) {
  WindowState* w = Find(window);
  if (w == nullptr || (w->rect.left == x && w->rect.top == y)) return;
  w->rect = WinRect{x, y, x + w->rect.Width(), y + w->rect.Height()};
  SendMessage(window, kWmMove, 0, PackPoint(x, y));
}

void WindowSystemBase::DesktopResized(WindowHandle window, int width, int height) {
  WindowState* w = Find(window);
  if (w == nullptr || (w->rect.Width() == width && w->rect.Height() == height)) return;
  w->rect.right = w->rect.left + width;
  w->rect.bottom = w->rect.top + height;
  InvalidateRect(window, nullptr);
  SendMessage(window, kWmSize, w->zoomed ? kSizeMaximized : kSizeRestored, PackPoint(width, height));
}

void WindowSystemBase::DesktopIconified(WindowHandle window, bool iconic) {
  WindowState* w = Find(window);
  if (w == nullptr || !w->visible || w->iconic == iconic) return;
  w->iconic = iconic;
  if (iconic) {
    if (capture_ == window) ReleaseCapture();
    if (focus_ == window || active_ == window) LoseActivation(window);
  } else {
    InvalidateRect(window, nullptr);
  }
  if ((w = Find(window)) != nullptr)
    SendMessage(window, kWmSize, iconic ? kSizeMinimized : (w->zoomed ? kSizeMaximized : kSizeRestored),
                PackPoint(w->rect.Width(), w->rect.Height()));
}

}  // namespace platform
