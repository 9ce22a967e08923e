#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "platform/top_level_window.h"

namespace platform {
namespace {

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};

// Another program's window may vanish between our query and our request; such errors must not
// end this process (Xlib's default handler exits).
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool HasClass(Display* dpy, Window w, const std::string& cls) {
  XClassHint hint{};
  if (!XGetClassHint(dpy, w, &hint)) return false;
  bool match = hint.res_class && cls == hint.res_class;
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return match;
}

// The window manager's list of the clients it manages, wherever it has put them (frames nest
// them at any depth) and in whatever state (minimised ones included). Empty without one.
std::vector<Window> ManagedClients(Display* dpy, Window root) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<Window> out;
  Atom list = XInternAtom(dpy, "_NET_CLIENT_LIST", False);
  if (XGetWindowProperty(dpy, root, list, 0, 1L << 20, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
          Success &&
      data != nullptr && type == XA_WINDOW && format == 32) {
    // Format 32 items come as longs whatever the width of a long.
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    out.assign(items, items + count);
  }
  if (data) XFree(data);
  return out;
}

// The whole window tree, breadth first: a withdrawn client is not on the manager's list, and
// nothing is without a manager.
Window FindInTree(Display* dpy, Window root, const std::string& cls) {
  std::deque<Window> pending{root};
  while (!pending.empty()) {
    Window w = pending.front();
    pending.pop_front();
    if (w != root && HasClass(dpy, w, cls)) return w;
    Window rootRet = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, w, &rootRet, &parent, &children, &count)) continue;
    pending.insert(pending.end(), children, children + count);
    if (children) XFree(children);
  }
  return 0;
}

Window FindByClass(Display* dpy, Window root, const std::string& cls) {
  for (Window w : ManagedClients(dpy, root))
    if (HasClass(dpy, w, cls)) return w;
  return FindInTree(dpy, root, cls);
}

void SendActivate(Display* dpy, Window root, Window w) {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 2;  // source: a pager-like tool acting for the user
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

}  // namespace

RaiseResult RaiseWindowOfClass(const std::string& windowClass) {
  std::unique_ptr<Display, DisplayCloser> dpy(XOpenDisplay(nullptr));
  if (!dpy) return RaiseResult::kNotFound;
  auto previous = XSetErrorHandler(IgnoreXError);
  Window root = DefaultRootWindow(dpy.get());
  Window w = FindByClass(dpy.get(), root, windowClass);
  if (!w) {
    XSetErrorHandler(previous);
    return RaiseResult::kNotFound;
  }
  // Only a withdrawn (unmapped) window is mapped. A minimised one is still mapped inside its
  // hidden frame: the activation request is what brings it back, as it does for a visible one.
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(dpy.get(), w, &attrs) && attrs.map_state == IsUnmapped) {
    XMapRaised(dpy.get(), w);
  }
  SendActivate(dpy.get(), root, w);
  XRaiseWindow(dpy.get(), w);
  XSync(dpy.get(), False);
  XSetErrorHandler(previous);
  return RaiseResult::kRaised;
}

}  // namespace platform
