// A top-level window of class "OrbiskMainWndCls", standing in for the installed application.
//
//   fake_app_window [--parent WINDOW] [--visible]
//
// Created inside WINDOW when given (a frame of the test's own, as a window manager would wrap
// it), hidden unless --visible. Prints "ready <window id>" once it exists (and, with --visible,
// is mapped); then "mapped" whenever it is mapped again and "activated" when an
// _NET_ACTIVE_WINDOW request for it reaches the root window. Exits after "activated" (a hidden
// window: after both), or after 20 seconds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::puts("no display");
    return 2;
  }
  Window root = DefaultRootWindow(dpy);
  Window parent = root;
  bool visible = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--visible") == 0) visible = true;
    else if (std::strcmp(argv[i], "--parent") == 0 && i + 1 < argc) parent = std::strtoul(argv[++i], nullptr, 0);
  }
  Window w = XCreateSimpleWindow(dpy, parent, 10, 10, 100, 80, 0, 0, 0);
  XClassHint hint{const_cast<char*>("orbisk"), const_cast<char*>("OrbiskMainWndCls")};
  XSetClassHint(dpy, w, &hint);
  XSelectInput(dpy, w, StructureNotifyMask);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  Atom active = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
  if (visible) {
    XMapWindow(dpy, w);
    XEvent ev;
    do XWindowEvent(dpy, w, StructureNotifyMask, &ev);
    while (ev.type != MapNotify);
  }
  XSync(dpy, False);
  std::printf("ready %lu\n", w);
  std::fflush(stdout);

  bool mapped = false, activated = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!(activated && (mapped || visible)) && std::chrono::steady_clock::now() < deadline) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      // Reported once through the window's own selection (a root-level window would also be
      // reported through the root's).
      if (ev.type == MapNotify && ev.xmap.window == w && ev.xmap.event == w) {
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
  return activated && (mapped || visible) ? 0 : 1;
}
