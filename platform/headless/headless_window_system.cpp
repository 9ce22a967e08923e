#include "platform/headless/headless_window_system.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace platform {

struct HeadlessWindowSystem::Data : WindowSystemBase::NativeData {
  Presented presented;
  unsigned drags = 0;
};

HeadlessWindowSystem::HeadlessWindowSystem() = default;

HeadlessWindowSystem::~HeadlessWindowSystem() { ForgetAllWindows(); }

HeadlessWindowSystem::Data* HeadlessWindowSystem::DataOf(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? static_cast<Data*>(w->native.get()) : nullptr;
}

// ---- the clock and the loop ------------------------------------------------------------------

void HeadlessWindowSystem::AdvanceClock(unsigned milliseconds) { clock_.fetch_add(milliseconds); }

bool HeadlessWindowSystem::AdvanceToNextDeadline() {
  int left = MillisecondsUntilDeadline();
  if (left < 0) return false;
  clock_.fetch_add(static_cast<std::uint32_t>(left));
  return true;
}

int HeadlessWindowSystem::PumpMessages(const std::function<bool(const Message&)>& filter, int limit) {
  int count = 0;
  Message msg;
  while (count < limit && NextMessage(msg, false) == Fetch::kMessage) {
    ++count;
    if (filter && filter(msg)) continue;
    DispatchMessage(msg);
  }
  return count;
}

bool HeadlessWindowSystem::WaitForPost(unsigned timeoutMilliseconds) {
  std::unique_lock lock(postMutex_);
  return posted_.wait_for(lock, std::chrono::milliseconds(timeoutMilliseconds), [this] { return HasQueued(); });
}

void HeadlessWindowSystem::NativeWake() {
  { std::lock_guard lock(postMutex_); }  // a waiter between its check and its sleep is not missed
  posted_.notify_all();
}

bool HeadlessWindowSystem::NativeWait(int timeoutMs) {
  // Real descriptors, polled without waiting: a test's pipe or socket wakes the loop as on X11.
  if (poller_.Wait(-1, 0) > 0 || timeoutMs == 0) return true;
  if (idle_ && idle_()) return true;
  ++dryRuns_;
  return false;
}

int HeadlessWindowSystem::AddFdWatch(int fd, std::function<bool()> onReadable) {
  return poller_.Add(fd, std::move(onReadable));
}

void HeadlessWindowSystem::RemoveFdWatch(int watchId) { poller_.Remove(watchId); }

// ---- windows ---------------------------------------------------------------------------------

bool HeadlessWindowSystem::NativeCreate(WindowState& w) {
  w.native = std::make_unique<Data>();
  return true;
}

void HeadlessWindowSystem::NativeDestroy(WindowState& w) {
  std::erase(zOrder_, w.handle);
}

void HeadlessWindowSystem::NativeShow(WindowState& w, bool show) {
  std::erase(zOrder_, w.handle);
  if (show) zOrder_.push_back(w.handle);
}

void HeadlessWindowSystem::Raise(WindowHandle window) {
  if (std::find(zOrder_.begin(), zOrder_.end(), window) == zOrder_.end()) return;
  std::erase(zOrder_, window);
  zOrder_.push_back(window);
}

void HeadlessWindowSystem::NativeFocus(WindowState& w) { Raise(w.handle); }

void HeadlessWindowSystem::NativeSizeLimits(WindowState&, const MinMaxInfo&) {}

void HeadlessWindowSystem::NativePresent(WindowState& w, const std::uint32_t* pixels, int width, int height,
                                         int strideBytes, std::uint8_t constantAlpha) {
  Presented& p = static_cast<Data*>(w.native.get())->presented;
  p.width = width;
  p.height = height;
  p.constantAlpha = constantAlpha;
  p.pixels.resize(static_cast<std::size_t>(width) * height);
  const auto* row = reinterpret_cast<const unsigned char*>(pixels);
  for (int y = 0; y < height; ++y, row += strideBytes)
    std::memcpy(&p.pixels[static_cast<std::size_t>(y) * width], row, static_cast<std::size_t>(width) * 4);
  ++p.count;
}

void HeadlessWindowSystem::NativeMoveDrag(WindowState& w, int hitTest) {
  ++static_cast<Data*>(w.native.get())->drags;
  lastDragHit_ = hitTest;
  BeginManualDrag(w, hitTest);
}

// ---- what the desktop shows ------------------------------------------------------------------

const HeadlessWindowSystem::Presented* HeadlessWindowSystem::LastPresented(WindowHandle window) const {
  const Data* d = DataOf(window);
  return d != nullptr && d->presented.count > 0 ? &d->presented : nullptr;
}

std::uint16_t HeadlessWindowSystem::CursorOf(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? w->cursor : 0;
}

HeadlessWindowSystem::RoundRegion HeadlessWindowSystem::RoundRegionOf(WindowHandle window) const {
  const WindowState* w = Find(window);
  if (w == nullptr) return {};
  return RoundRegion{w->roundWidth, w->roundHeight, w->roundEllipseWidth, w->roundEllipseHeight};
}

const std::string& HeadlessWindowSystem::TitleOf(WindowHandle window) const {
  static const std::string none;
  const WindowState* w = Find(window);
  return w ? w->title : none;
}

const std::string& HeadlessWindowSystem::ClassNameOf(WindowHandle window) const {
  static const std::string none;
  const WindowState* w = Find(window);
  return w ? w->className : none;
}

WindowKind HeadlessWindowSystem::KindOf(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? w->kind : WindowKind::kTopLevel;
}

unsigned HeadlessWindowSystem::DragCount(WindowHandle window) const {
  const Data* d = DataOf(window);
  return d ? d->drags : 0;
}

WindowHandle HeadlessWindowSystem::WindowAt(WinPoint screen) const {
  // Popups (tooltips, drop-downs) float above every top-level window.
  for (WindowKind kind : {WindowKind::kPopup, WindowKind::kTopLevel}) {
    for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
      const WindowState* w = Find(*it);
      if (w == nullptr || w->kind != kind || !w->visible || w->iconic) continue;
      const WinRect& r = w->rect;
      if (screen.x < r.left || screen.y < r.top || screen.x >= r.right || screen.y >= r.bottom) continue;
      if (!InsideRegion(*w, screen)) continue;
      const Presented& p = static_cast<const Data*>(w->native.get())->presented;
      if (p.count > 0 && (p.Pixel(screen.x - r.left, screen.y - r.top) >> 24) == 0) continue;
      return *it;
    }
  }
  return nullptr;
}

// ---- input -----------------------------------------------------------------------------------

void HeadlessWindowSystem::MouseMove(WindowHandle window, int x, int y) {
  WinPoint s = ClientToScreen(window, WinPoint{x, y});
  MouseMoveScreen(s.x, s.y);
}

void HeadlessWindowSystem::MouseMoveScreen(int x, int y) {
  WinPoint s{x, y};
  PointerMoved(WindowAt(s), s);
}

void HeadlessWindowSystem::Press(WindowHandle window, int x, int y, Button button, bool down) {
  WinPoint s = ClientToScreen(window, WinPoint{x, y});
  PointerButton(WindowAt(s), s, static_cast<int>(button), down);
}

void HeadlessWindowSystem::MouseDown(WindowHandle window, int x, int y, Button button) {
  Press(window, x, y, button, true);
}

void HeadlessWindowSystem::MouseUp(WindowHandle window, int x, int y, Button button) {
  Press(window, x, y, button, false);
}

void HeadlessWindowSystem::Click(WindowHandle window, int x, int y, Button button) {
  Press(window, x, y, button, true);
  Press(window, x, y, button, false);
}

void HeadlessWindowSystem::Wheel(WindowHandle window, int x, int y, int notches) {
  WinPoint s = ClientToScreen(window, WinPoint{x, y});
  PointerWheel(WindowAt(s), s, notches);
}

void HeadlessWindowSystem::KeyDown(int virtualKey, char32_t ch) { KeyEvent(true, virtualKey, ch); }
void HeadlessWindowSystem::KeyUp(int virtualKey) { KeyEvent(false, virtualKey, 0); }

void HeadlessWindowSystem::KeyPress(int virtualKey, char32_t ch) {
  KeyEvent(true, virtualKey, ch);
  KeyEvent(false, virtualKey, 0);
}

void HeadlessWindowSystem::TypeText(const std::u32string& text) {
  for (char32_t c : text) {
    int vk = 0;
    if ((c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z')) vk = static_cast<int>(c);
    if (c >= U'a' && c <= U'z') vk = static_cast<int>(c - U'a' + U'A');
    if (c == U' ') vk = kVkSpace;
    if (vk == 0) {
      KeyEvent(true, 0, c);
    } else {
      KeyPress(vk, c);
    }
  }
}

void HeadlessWindowSystem::RequestClose(WindowHandle window) { CloseRequested(window); }

void HeadlessWindowSystem::DesktopActivates(WindowHandle window) { DesktopFocus(window); }

}  // namespace platform
