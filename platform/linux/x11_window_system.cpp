#include "platform/linux/x11_window_system.h"

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/linux/x11_clipboard.h"
#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_keys.h"
#include "platform/linux/x11_surface.h"
#include "platform/text_encoding.h"

namespace platform {

namespace {

constexpr long kWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                               ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask |
                               FocusChangeMask | PropertyChangeMask;
constexpr unsigned kPointerGrabEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

// _NET_WM_MOVERESIZE directions by hit-test code.
long MoveResizeDirection(int hit) {
  switch (hit) {
    case kHtTopLeft: return 0;
    case kHtTop: return 1;
    case kHtTopRight: return 2;
    case kHtRight: return 3;
    case kHtBottomRight: return 4;
    case kHtBottom: return 5;
    case kHtBottomLeft: return 6;
    case kHtLeft: return 7;
    default: return 8;  // move
  }
}

unsigned FontCursorFor(std::uint16_t id) {
  switch (id) {
    case kCursorIBeam: return XC_xterm;
    case kCursorWait:
    case kCursorAppStarting: return XC_watch;
    case kCursorCross: return XC_crosshair;
    case kCursorUpArrow: return XC_sb_up_arrow;
    case kCursorSizeNwse: return XC_bottom_right_corner;
    case kCursorSizeNesw: return XC_bottom_left_corner;
    case kCursorSizeWe: return XC_sb_h_double_arrow;
    case kCursorSizeNs: return XC_sb_v_double_arrow;
    case kCursorSizeAll: return XC_fleur;
    case kCursorNo: return XC_X_cursor;
    case kCursorHand: return XC_hand2;
    case kCursorHelp: return XC_question_arrow;
    default: return XC_left_ptr;
  }
}

// A 1-bit mask (LSB first, rows padded to bytes) of the pixels for which `set` holds.
template <typename Pred>
std::vector<char> MakeMask(int width, int height, Pred set) {
  int stride = (width + 7) / 8;
  std::vector<char> mask(static_cast<std::size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (set(x, y)) mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<char>(1 << (x % 8));
  return mask;
}

// The 32-bit items of a window property (longs, as Xlib hands them out); empty when it is absent.
std::vector<long> ReadProperty(Display* display, Window window, Atom property, Atom type, long maxItems) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<long> items;
  if (XGetWindowProperty(display, window, property, 0, maxItems, False, type, &actual, &format, &count, &after,
                         &data) == Success &&
      data != nullptr) {
    if (actual == type && format == 32) items.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    XFree(data);
  }
  return items;
}

}  // namespace

struct X11WindowSystem::Atoms {
  Atom wmProtocols, wmDeleteWindow, wmState, netWmName, utf8String, motifHints, netMoveResize, netWorkArea,
      netCurrentDesktop, netSupported, netSupportingWmCheck, netWmWindowType, typeNormal, typeDialog, typeTooltip,
      netActiveWindow, netWmPid, cmSelection;
};

struct X11WindowSystem::Data : WindowSystemBase::NativeData {
  Window xid = 0;
  Window parent = 0;
  XIC ic = nullptr;
  std::unique_ptr<X11Surface> surface;
  bool viewable = false;
  bool focusPending = false;  // focus asked for before the window could take it
  unsigned long mapSerial = 0, unmapSerial = 0, geometrySerial = 0;
  WinPoint minSize;
  int shapedForCompositor = -1;  // the compositor state the shapes were made for
};

std::unique_ptr<IWindowSystem> CreateX11WindowSystem(const char* display, std::string* error) {
  return X11WindowSystem::Open(display, error);
}

std::unique_ptr<X11WindowSystem> X11WindowSystem::Open(const char* display, std::string* error) {
  InstallNonFatalXErrorHandler();
  // A busy server's full listen queue refuses a connection for a moment (EAGAIN, which Xlib does
  // not report reliably): a few more tries over about half a second.
  Display* d = XOpenDisplay(display);
  for (int attempt = 1; attempt < 7 && d == nullptr; ++attempt) {
    usleep(25000 * attempt);
    d = XOpenDisplay(display);
  }
  if (d == nullptr) {
    const char* name = display ? display : std::getenv("DISPLAY");
    if (error) *error = std::string("cannot open the X display \"") + (name ? name : "") + "\"";
    return nullptr;
  }
  XVisualInfo info{};
  if (!XMatchVisualInfo(d, DefaultScreen(d), 32, TrueColor, &info)) {
    XCloseDisplay(d);
    if (error) *error = "the X display offers no 32-bit TrueColor visual (per-pixel alpha windows need one)";
    return nullptr;
  }
  return std::unique_ptr<X11WindowSystem>(new X11WindowSystem(d, info.visual));
}

X11WindowSystem::X11WindowSystem(Display* display, Visual* visual)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, DefaultScreen(display))),
      visual_(visual),
      colormap_(XCreateColormap(display, RootWindow(display, DefaultScreen(display)), visual, AllocNone)),
      atoms_(std::make_unique<Atoms>()) {
  std::string cm = "_NET_WM_CM_S" + std::to_string(screen_);
  const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "_NET_WM_NAME", "UTF8_STRING",
                         "_MOTIF_WM_HINTS", "_NET_WM_MOVERESIZE", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
                         "_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_WM_WINDOW_TYPE",
                         "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_TOOLTIP",
                         "_NET_ACTIVE_WINDOW", "_NET_WM_PID", cm.c_str()};
  Atom atoms[std::size(names)];
  XInternAtoms(display_, const_cast<char**>(names), static_cast<int>(std::size(names)), False, atoms);
  *atoms_ = Atoms{atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7], atoms[8],
                  atoms[9], atoms[10], atoms[11], atoms[12], atoms[13], atoms[14], atoms[15], atoms[16], atoms[17]};
  shm_ = XShmQueryExtension(display_);
  // Held keys repeat as presses only: a release per repeat would make the window forget which
  // control the key went to.
  XkbSetDetectableAutoRepeat(display_, True, nullptr);
  XSetLocaleModifiers("");
  inputMethod_ = XOpenIM(display_, nullptr, nullptr, nullptr);
  utility_ = XCreateSimpleWindow(display_, root_, -10, -10, 1, 1, 0, 0, 0);
  clipboard_ = std::make_unique<X11Clipboard>(display_, utility_);
}

X11WindowSystem::~X11WindowSystem() {
  ForgetAllWindows();
  clipboard_.reset();
  if (utility_) XDestroyWindow(display_, utility_);
  for (auto& [id, cursor] : cursors_) XFreeCursor(display_, cursor);
  if (inputMethod_) XCloseIM(inputMethod_);
  XFreeColormap(display_, colormap_);
  XCloseDisplay(display_);
}

X11WindowSystem::Data& X11WindowSystem::DataOf(WindowState& w) const { return *static_cast<Data*>(w.native.get()); }

WindowHandle X11WindowSystem::HandleOf(Window xid) const {
  auto it = byXid_.find(xid);
  return it == byXid_.end() ? nullptr : it->second;
}

Window X11WindowSystem::XWindowOf(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w ? static_cast<const Data*>(w->native.get())->xid : 0;
}

bool X11WindowSystem::PresentsThroughShm(WindowHandle window) const {
  const WindowState* w = Find(window);
  return w && static_cast<const Data*>(w->native.get())->surface->UsesShm();
}

// ---- windows ---------------------------------------------------------------------------------

bool X11WindowSystem::NativeCreate(WindowState& w) {
  const Atoms& a = *atoms_;
  bool popup = w.kind == WindowKind::kPopup;
  XSetWindowAttributes attrs{};
  attrs.colormap = colormap_;
  attrs.border_pixel = 0;
  attrs.background_pixel = 0;  // transparent until the first frame
  attrs.override_redirect = popup ? True : False;
  attrs.event_mask = kWindowEvents;
  // X refuses a 0 x 0 window: it is made 1 x 1 and stays unmapped until it has a size.
  Window xid = XCreateWindow(display_, root_, w.rect.left, w.rect.top, std::max(1, w.rect.Width()),
                             std::max(1, w.rect.Height()), 0, 32, InputOutput, visual_,
                             CWColormap | CWBorderPixel | CWBackPixel | CWOverrideRedirect | CWEventMask, &attrs);
  if (xid == 0) return false;
  auto data = std::make_unique<Data>();
  data->xid = xid;
  data->parent = root_;

  XClassHint hint{const_cast<char*>(w.className.c_str()), const_cast<char*>(w.className.c_str())};
  XSetClassHint(display_, xid, &hint);
  Atom protocols[] = {a.wmDeleteWindow};
  XSetWMProtocols(display_, xid, protocols, 1);
  long motif[5] = {2, 0, 0, 0, 0};  // flags: decorations; decorations: none
  XChangeProperty(display_, xid, a.motifHints, a.motifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motif), 5);
  Atom type = popup ? a.typeTooltip : (w.owner ? a.typeDialog : a.typeNormal);
  XChangeProperty(display_, xid, a.netWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);
  long pid = getpid();
  XChangeProperty(display_, xid, a.netWmPid, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&pid),
                  1);
  if (w.owner != nullptr) XSetTransientForHint(display_, xid, XWindowOf(w.owner));
  if (XWMHints* wm = XAllocWMHints()) {
    wm->flags = InputHint | StateHint;
    wm->input = popup ? False : True;
    wm->initial_state = NormalState;
    XSetWMHints(display_, xid, wm);
    XFree(wm);
  }
  if (inputMethod_ != nullptr && !popup) {
    data->ic = XCreateIC(inputMethod_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, xid,
                         XNFocusWindow, xid, nullptr);
    long filter = 0;
    if (data->ic && XGetICValues(data->ic, XNFilterEvents, &filter, nullptr) == nullptr && filter)
      XSelectInput(display_, xid, kWindowEvents | filter);
  }
  data->surface = std::make_unique<X11Surface>(display_, xid, visual_, shm_);
  byXid_[xid] = w.handle;
  w.native = std::move(data);
  NativeTitle(w);
  SetNormalHints(w);
  XFlush(display_);
  return true;
}

void X11WindowSystem::NativeDestroy(WindowState& w) {
  Data& d = DataOf(w);
  d.surface.reset();
  if (d.ic) XDestroyIC(d.ic);
  byXid_.erase(d.xid);
  XDestroyWindow(display_, d.xid);
  XFlush(display_);
}

void X11WindowSystem::NativeTitle(WindowState& w) {
  Data& d = DataOf(w);
  const auto* bytes = reinterpret_cast<const unsigned char*>(w.title.data());
  int size = static_cast<int>(w.title.size());
  XChangeProperty(display_, d.xid, atoms_->netWmName, atoms_->utf8String, 8, PropModeReplace, bytes, size);
  XChangeProperty(display_, d.xid, XA_WM_NAME, atoms_->utf8String, 8, PropModeReplace, bytes, size);
  XFlush(display_);
}

// Position flags keep a window manager from placing the window itself (the program centres it);
// only a minimum size is ever given: the program grows the window past its first size.
void X11WindowSystem::SetNormalHints(WindowState& w) {
  if (w.kind == WindowKind::kPopup) return;
  Data& d = DataOf(w);
  XSizeHints* h = XAllocSizeHints();
  if (h == nullptr) return;
  h->flags = USPosition | PPosition | USSize | PSize;
  h->x = w.rect.left;
  h->y = w.rect.top;
  h->width = std::max(1, w.rect.Width());
  h->height = std::max(1, w.rect.Height());
  if (d.minSize.x > 0 || d.minSize.y > 0) {
    h->flags |= PMinSize;
    h->min_width = std::max(1, d.minSize.x);
    h->min_height = std::max(1, d.minSize.y);
  }
  XSetWMNormalHints(display_, d.xid, h);
  XFree(h);
}

void X11WindowSystem::NativeSizeLimits(WindowState& w, const MinMaxInfo& limits) {
  DataOf(w).minSize = limits.minTrackSize;
  SetNormalHints(w);
}

void X11WindowSystem::NativeShow(WindowState& w, bool show) {
  Data& d = DataOf(w);
  if (show) {
    d.mapSerial = NextRequest(display_);
    XMapRaised(display_, d.xid);
  } else {
    d.unmapSerial = NextRequest(display_);
    d.focusPending = false;
    if (w.kind == WindowKind::kPopup)
      XUnmapWindow(display_, d.xid);
    else
      XWithdrawWindow(display_, d.xid, screen_);
  }
  XFlush(display_);  // gone from the screen now, not when the loop next flushes
}

void X11WindowSystem::NativeMinimize(WindowState& w) {
  Data& d = DataOf(w);
  d.unmapSerial = NextRequest(display_);
  d.focusPending = false;
  // Without a window manager nobody answers the iconify request: the window is just unmapped.
  if (w.kind == WindowKind::kTopLevel && WindowManagerRunning())
    XIconifyWindow(display_, d.xid, screen_);
  else
    XUnmapWindow(display_, d.xid);
  XFlush(display_);
}

void X11WindowSystem::NativeGeometry(WindowState& w, bool moved, bool) {
  Data& d = DataOf(w);
  d.geometrySerial = NextRequest(display_);
  XMoveResizeWindow(display_, d.xid, w.rect.left, w.rect.top, std::max(1, w.rect.Width()), std::max(1, w.rect.Height()));
  if (moved) SetNormalHints(w);
  XFlush(display_);
}

void X11WindowSystem::NativePresent(WindowState& w, const std::uint32_t* pixels, int width, int height,
                                    int strideBytes, std::uint8_t constantAlpha) {
  Data& d = DataOf(w);
  bool maskChanged = d.surface->Present(pixels, width, height, strideBytes, constantAlpha);
  if (maskChanged || d.shapedForCompositor != static_cast<int>(HasCompositor())) ApplyShapes(w);
}

void X11WindowSystem::NativeRegion(WindowState& w) { ApplyShapes(w); }

// Input follows the presented alpha (inside the round region, when there is one). Without a
// compositor an ARGB window shows its transparent pixels black, so the outline is cut the same way.
void X11WindowSystem::ApplyShapes(WindowState& w) {
  Data& d = DataOf(w);
  bool compositor = HasCompositor();
  d.shapedForCompositor = compositor;
  const X11Surface& s = *d.surface;
  bool round = w.roundWidth > 0 && w.roundHeight > 0;
  auto inRegion = [&](int x, int y) { return InsideRegion(w, WinPoint{x + w.rect.left, y + w.rect.top}); };
  auto apply = [&](int kind, const std::vector<char>* mask, int width, int height) {
    Pixmap pm = None;
    if (mask) pm = XCreateBitmapFromData(display_, d.xid, mask->data(), width, height);
    XShapeCombineMask(display_, d.xid, kind, 0, 0, pm, ShapeSet);
    if (pm != None) XFreePixmap(display_, pm);
  };
  int width = std::max(1, w.rect.Width()), height = std::max(1, w.rect.Height());
  std::vector<char> regionMask;
  if (round) regionMask = MakeMask(width, height, inRegion);
  if (s.HasImage()) {
    auto input = MakeMask(s.Width(), s.Height(), [&](int x, int y) { return s.Opaque(x, y) && (!round || inRegion(x, y)); });
    apply(ShapeInput, &input, s.Width(), s.Height());
    if (!compositor)
      apply(ShapeBounding, &input, s.Width(), s.Height());
    else
      apply(ShapeBounding, round ? &regionMask : nullptr, width, height);
  } else {
    apply(ShapeInput, round ? &regionMask : nullptr, width, height);
    apply(ShapeBounding, round ? &regionMask : nullptr, width, height);
  }
  XFlush(display_);
}

// ---- focus, capture, cursor, drag --------------------------------------------------------------

void X11WindowSystem::NativeFocus(WindowState& w) {
  if (w.kind == WindowKind::kPopup) return;
  Data& d = DataOf(w);
  XRaiseWindow(display_, d.xid);
  // Only a viewable window may take the focus (else BadMatch): an unmapped one takes it at MapNotify.
  if (d.viewable && !w.iconic)
    FocusNow(w);
  else
    d.focusPending = true;
  XFlush(display_);
}

void X11WindowSystem::FocusNow(WindowState& w) {
  Data& d = DataOf(w);
  d.focusPending = false;
  focusRequestSerial_ = NextRequest(display_);
  XSetInputFocus(display_, d.xid, RevertToParent, CurrentTime);
  if (WindowManagerRunning()) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = d.xid;
    ev.xclient.message_type = atoms_->netActiveWindow;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // from an application
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  }
  XFlush(display_);
}

void X11WindowSystem::NativeCapture(WindowState* w) {
  if (w != nullptr)
    XGrabPointer(display_, DataOf(*w).xid, True, kPointerGrabEvents, GrabModeAsync, GrabModeAsync, None, None,
                 CurrentTime);
  else
    XUngrabPointer(display_, CurrentTime);
  XFlush(display_);
}

Cursor X11WindowSystem::CursorFor(std::uint16_t id) {
  unsigned shape = FontCursorFor(id);
  auto it = cursors_.find(static_cast<std::uint16_t>(shape));
  if (it != cursors_.end()) return it->second;
  Cursor c = XCreateFontCursor(display_, shape);
  cursors_[static_cast<std::uint16_t>(shape)] = c;
  return c;
}

void X11WindowSystem::NativeCursor(WindowState& w) {
  XDefineCursor(display_, DataOf(w).xid, CursorFor(w.cursor));
  XFlush(display_);
}

void X11WindowSystem::NativeMoveDrag(WindowState& w, int hitTest) {
  if (!WindowManagerSupports(atoms_->netMoveResize)) {
    BeginManualDrag(w, hitTest);
    return;
  }
  // The window manager takes the pointer only when nobody holds it.
  XUngrabPointer(display_, CurrentTime);
  WinPoint p = CursorPos();
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = DataOf(w).xid;
  ev.xclient.message_type = atoms_->netMoveResize;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = p.x;
  ev.xclient.data.l[1] = p.y;
  ev.xclient.data.l[2] = MoveResizeDirection(hitTest);
  ev.xclient.data.l[3] = Button1;
  ev.xclient.data.l[4] = 1;
  XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XFlush(display_);
}

bool X11WindowSystem::WindowManagerRunning() const {
  auto check = ReadProperty(display_, root_, atoms_->netSupportingWmCheck, XA_WINDOW, 1);
  return !check.empty() && check[0] != 0;
}

bool X11WindowSystem::WindowManagerSupports(Atom hint) const {
  if (!WindowManagerRunning()) return false;
  auto supported = ReadProperty(display_, root_, atoms_->netSupported, XA_ATOM, 4096);
  return std::find(supported.begin(), supported.end(), static_cast<long>(hint)) != supported.end();
}

bool X11WindowSystem::IsIconicByWindowManager(Window xid) const {
  auto state = ReadProperty(display_, xid, atoms_->wmState, atoms_->wmState, 2);
  return !state.empty() && state[0] == IconicState;
}

// ---- the desktop -----------------------------------------------------------------------------

WinRect X11WindowSystem::ScreenRect() const {
  return WinRect{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

WinRect X11WindowSystem::WorkArea(WindowHandle) const {
  auto desktop = ReadProperty(display_, root_, atoms_->netCurrentDesktop, XA_CARDINAL, 1);
  auto v = ReadProperty(display_, root_, atoms_->netWorkArea, XA_CARDINAL, 4096);
  std::size_t at = desktop.empty() ? 0 : static_cast<std::size_t>(std::max(0L, desktop[0])) * 4;
  if (v.size() >= at + 4 && v[at + 2] > 0 && v[at + 3] > 0)
    return WinRect{static_cast<int>(v[at]), static_cast<int>(v[at + 1]), static_cast<int>(v[at] + v[at + 2]),
                   static_cast<int>(v[at + 1] + v[at + 3])};
  return ScreenRect();
}

// Asked on every present: the answer is kept for a second (a compositor rarely comes or goes).
bool X11WindowSystem::HasCompositor() const {
  std::uint32_t now = TickCount();
  if (!compositorKnown_ || now - compositorCheckedAt_ >= 1000) {
    compositor_ = XGetSelectionOwner(display_, atoms_->cmSelection) != None;
    compositorKnown_ = true;
    compositorCheckedAt_ = now;
  }
  return compositor_;
}

void X11WindowSystem::Beep() {
  XBell(display_, 0);
  XFlush(display_);
}

void X11WindowSystem::SetClipboardText(const std::string& utf8) { clipboard_->SetText(utf8); }
std::string X11WindowSystem::GetClipboardText() { return clipboard_->GetText(); }

std::uint32_t X11WindowSystem::TickCount() const {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000);
}

int X11WindowSystem::AddFdWatch(int fd, std::function<bool()> onReadable) {
  return poller_.Add(fd, std::move(onReadable));
}
void X11WindowSystem::RemoveFdWatch(int watchId) { poller_.Remove(watchId); }

// ---- the loop --------------------------------------------------------------------------------

bool X11WindowSystem::NativeWait(int timeoutMs) {
  XFlush(display_);
  if (XPending(display_) > 0) {
    ProcessEvents();
    return true;
  }
  poller_.Wait(ConnectionNumber(display_), timeoutMs);
  ProcessEvents();
  return true;
}

void X11WindowSystem::ProcessEvents() {
  while (XPending(display_) > 0) {
    XEvent ev;
    XNextEvent(display_, &ev);
    if (XFilterEvent(&ev, None)) continue;  // the input method's (a compose sequence)
    Handle(ev);
  }
}

void X11WindowSystem::Handle(XEvent& ev) {
  if (clipboard_->HandleEvent(ev)) return;
  WindowHandle h = HandleOf(ev.xany.window);
  WindowState* w = Find(h);
  if (w == nullptr) return;
  Data& d = DataOf(*w);
  auto sync = [&](unsigned state) {
    SyncModifiers(state & ShiftMask, state & ControlMask, state & Mod1Mask, state & Button1Mask, state & Button3Mask,
                  state & Button2Mask);
  };
  auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < w->rect.Width() && y < w->rect.Height(); };
  switch (ev.type) {
    case Expose: {
      const XExposeEvent& e = ev.xexpose;
      if (d.surface->HasImage()) {
        d.surface->Repaint(e.x, e.y, e.width, e.height);
      } else {
        WinRect r{e.x, e.y, e.x + e.width, e.y + e.height};
        InvalidateRect(h, &r);
      }
      break;
    }
    case ConfigureNotify:
      HandleConfigure(ev.xconfigure, h);
      break;
    case ReparentNotify:
      d.parent = ev.xreparent.parent;
      break;
    case MapNotify:
      d.viewable = true;
      if (w->iconic && ev.xmap.serial >= d.unmapSerial) {
        DesktopIconified(h, false);  // restored from the taskbar
        if ((w = Find(h)) == nullptr) return;
      }
      if (d.focusPending && GetFocus() == h) FocusNow(*w);
      break;
    case UnmapNotify:
      d.viewable = false;
      if (w->visible && !w->iconic && ev.xunmap.serial >= d.mapSerial && IsIconicByWindowManager(d.xid))
        DesktopIconified(h, true);
      break;
    case ClientMessage:
      if (ev.xclient.message_type == atoms_->wmProtocols &&
          static_cast<Atom>(ev.xclient.data.l[0]) == atoms_->wmDeleteWindow)
        CloseRequested(h);  // arrives as the system close command
      break;
    case KeyPress:
    case KeyRelease:
      HandleKey(ev.xkey, h);
      break;
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& b = ev.xbutton;
      sync(b.state);
      WindowHandle over = inside(b.x, b.y) ? h : nullptr;
      WinPoint screen{b.x_root, b.y_root};
      bool down = ev.type == ButtonPress;
      if (b.button == Button4 || b.button == Button5) {
        if (down) PointerWheel(over, screen, b.button == Button4 ? 1 : -1);  // a release is no second notch
      } else if (b.button == Button1 || b.button == Button2 || b.button == Button3) {
        PointerButton(over, screen, b.button == Button1 ? 1 : (b.button == Button3 ? 2 : 3), down);
      }
      break;
    }
    case MotionNotify:
      sync(ev.xmotion.state);
      PointerMoved(inside(ev.xmotion.x, ev.xmotion.y) ? h : nullptr, WinPoint{ev.xmotion.x_root, ev.xmotion.y_root});
      break;
    case EnterNotify:
    case LeaveNotify: {
      const XCrossingEvent& c = ev.xcrossing;
      // Grabs (a capture, a drag) and moves between our own sub-areas are no crossing.
      if (c.mode != NotifyNormal || c.detail == NotifyInferior) break;
      sync(c.state);
      PointerMoved(ev.type == EnterNotify ? h : nullptr, WinPoint{c.x_root, c.y_root});
      break;
    }
    case FocusIn:
    case FocusOut: {
      const XFocusChangeEvent& f = ev.xfocus;
      if (f.mode == NotifyGrab || f.mode == NotifyUngrab) break;
      if (f.detail == NotifyInferior || f.detail == NotifyPointer || f.detail == NotifyPointerRoot) break;
      if (f.serial < focusRequestSerial_) break;  // overtaken by a later request of ours
      if (ev.type == FocusIn)
        DesktopFocus(h);
      else if (GetFocus() == h || GetActiveWindow() == h)
        DesktopFocus(nullptr);
      break;
    }
    default:
      break;
  }
}

void X11WindowSystem::HandleConfigure(const XConfigureEvent& ev, WindowHandle window) {
  WindowState* w = Find(window);
  Data& d = DataOf(*w);
  if (ev.serial < d.geometrySerial) return;  // the echo of a request a later one replaced
  int x = ev.x, y = ev.y;
  if (!ev.send_event && d.parent != root_) {
    // Inside a window manager's frame the event is relative to the frame.
    Window child = 0;
    XTranslateCoordinates(display_, d.xid, root_, 0, 0, &x, &y, &child);
  }
  // A window the program sized 0 x 0 is 1 x 1 on the server.
  int width = (ev.width == 1 && w->rect.Width() == 0) ? 0 : ev.width;
  int height = (ev.height == 1 && w->rect.Height() == 0) ? 0 : ev.height;
  DesktopMoved(window, x, y);
  if (Find(window) != nullptr) DesktopResized(window, width, height);
}

void X11WindowSystem::HandleKey(XKeyEvent& ev, WindowHandle window) {
  WindowState* w = Find(window);
  Data& d = DataOf(*w);
  SyncModifiers(ev.state & ShiftMask, ev.state & ControlMask, ev.state & Mod1Mask, ev.state & Button1Mask,
                ev.state & Button3Mask, ev.state & Button2Mask);
  bool down = ev.type == KeyPress;
  KeySym base = XLookupKeysym(&ev, 0);
  KeySym effective = NoSymbol;
  std::wstring typed;
  if (down) {
    char buf[64];
    int n = 0;
    if (d.ic != nullptr) {
      Status status = 0;
      n = Xutf8LookupString(d.ic, &ev, buf, sizeof buf, &effective, &status);
      if (status != XLookupChars && status != XLookupBoth) n = 0;
      if (n > 0) typed = Utf8ToWide(std::string_view(buf, static_cast<std::size_t>(n)));
    } else {
      n = XLookupString(&ev, buf, sizeof buf, &effective, nullptr);
      // Control characters come from the lookup (Ctrl+A is 1); the rest from the key symbol.
      if (n == 1 && static_cast<unsigned char>(buf[0]) < 0x20) typed = std::wstring(1, static_cast<wchar_t>(buf[0]));
    }
    if (typed.empty()) {
      if (effective == NoSymbol) XLookupString(&ev, nullptr, 0, &effective, nullptr);
      if (char32_t c = CharacterFromKeysym(effective); c != 0 && !(ev.state & ControlMask)) typed = std::wstring(1, static_cast<wchar_t>(c));
    }
  } else {
    XLookupString(&ev, nullptr, 0, &effective, nullptr);
  }
  int vk = VirtualKeyFromKeysym(base, effective);
  char32_t first = typed.empty() ? 0 : static_cast<char32_t>(typed[0]);
  if (vk == 0 && first == 0) return;
  KeyEvent(down, vk, first);
  for (std::size_t i = 1; i < typed.size(); ++i) KeyEvent(true, 0, static_cast<char32_t>(typed[i]));
}

}  // namespace platform
