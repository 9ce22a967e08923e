// A hidden top-level window of class "OrbiskMainWndCls". Prints "ready", then "mapped" when the
// window is mapped and "activated" when an _NET_ACTIVE_WINDOW request for it reaches the root
// window; exits after both, or after 20 seconds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>

int main() {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::puts("no display");
    return 2;
  }
  Window root = DefaultRootWindow(dpy);
  Window w = XCreateSimpleWindow(dpy, root, 10, 10, 100, 80, 0, 0, 0);
  XClassHint hint{const_cast<char*>("orbisk"), const_cast<char*>("OrbiskMainWndCls")};
  XSetClassHint(dpy, w, &hint);
  XSelectInput(dpy, w, StructureNotifyMask);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
  XSync(dpy, False);
  std::puts("ready");
  std::fflush(stdout);

  bool mapped = false, activated = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!(mapped && activated) && std::chrono::steady_clock::now() < deadline) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type == MapNotify && ev.xmap.window == w && !mapped) {
        mapped = true;
        std::puts("mapped");
      } else if (ev.type == ClientMessage && ev.xclient.message_type == active && ev.xclient.window == w &&
                 !activated) {
        activated = true;
        std::puts("activated");
      }
      std::fflush(stdout);
    }
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    poll(&p, 1, 500);
  }
  XCloseDisplay(dpy);
  return mapped && activated ? 0 : 1;
}
