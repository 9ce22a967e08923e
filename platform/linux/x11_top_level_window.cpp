#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <memory>

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

// Top-level windows are the root's children; under a reparenting window manager the client sits
// one level further down, inside its frame.
Window FindByClass(Display* dpy, Window root, const std::string& cls, int depth) {
  Window rootRet = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(dpy, root, &rootRet, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && !found; ++i)
    if (HasClass(dpy, children[i], cls)) found = children[i];
  for (unsigned int i = 0; i < count && !found && depth > 0; ++i)
    found = FindByClass(dpy, children[i], cls, depth - 1);
  if (children) XFree(children);
  return found;
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
  Window w = FindByClass(dpy.get(), root, windowClass, 1);
  if (!w) {
    XSetErrorHandler(previous);
    return RaiseResult::kNotFound;
  }
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(dpy.get(), w, &attrs) && attrs.map_state != IsViewable) {
    XMapRaised(dpy.get(), w);
  }
  SendActivate(dpy.get(), root, w);
  XRaiseWindow(dpy.get(), w);
  XSync(dpy.get(), False);
  XSetErrorHandler(previous);
  return RaiseResult::kRaised;
}

}  // namespace platform
