// The demo's stand-in for the installed Vellumo application: one X11 window of the class the
// installer looks for when it raises a running Vellumo ("OrbiskMainWndCls", title "Vellumo"),
// drawing a small picture-library placeholder with Cairo. It prints one line when its window is
// shown and exits when the window is closed.
//
//   vellumo_demo [arguments shown in the status line...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kWindowClass = "OrbiskMainWndCls";
constexpr const char* kTitle = "Vellumo";
constexpr int kHeader = 56, kSidebar = 184, kFooter = 28;
constexpr int kThumbW = 148, kThumbH = 104, kGap = 18, kCaption = 20;

struct Rgb {
  double r, g, b;
};

void SetColor(cairo_t* cr, Rgb c, double a = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, a); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Text(cairo_t* cr, double x, double y, const std::string& text, double size, bool bold, Rgb color) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  SetColor(cr, color);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

// A tiny landscape "photo": sky, sun, two hills, each picture in its own light.
void Thumbnail(cairo_t* cr, double x, double y, int index) {
  static const Rgb skies[][2] = {
      {{0.99, 0.76, 0.47}, {0.96, 0.45, 0.42}}, {{0.55, 0.78, 0.96}, {0.85, 0.93, 0.99}},
      {{0.36, 0.33, 0.62}, {0.93, 0.56, 0.55}}, {{0.62, 0.86, 0.84}, {0.95, 0.96, 0.86}},
      {{0.16, 0.22, 0.42}, {0.42, 0.46, 0.72}}, {{0.98, 0.89, 0.62}, {0.99, 0.97, 0.86}},
  };
  static const Rgb hills[] = {{0.27, 0.52, 0.40}, {0.33, 0.47, 0.63}, {0.45, 0.36, 0.55},
                              {0.40, 0.60, 0.35}, {0.20, 0.28, 0.45}, {0.60, 0.55, 0.35}};
  const auto& sky = skies[index % 6];
  Rgb hill = hills[(index * 5 + 1) % 6];

  cairo_save(cr);
  RoundedRect(cr, x, y, kThumbW, kThumbH, 8);
  cairo_clip(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + kThumbH);
  cairo_pattern_add_color_stop_rgb(g, 0, sky[0].r, sky[0].g, sky[0].b);
  cairo_pattern_add_color_stop_rgb(g, 1, sky[1].r, sky[1].g, sky[1].b);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);

  double sunX = x + 30 + (index * 37) % (kThumbW - 60);
  SetColor(cr, {1.0, 0.97, 0.84}, 0.9);
  cairo_arc(cr, sunX, y + 30, 12, 0, 2 * M_PI);
  cairo_fill(cr);

  SetColor(cr, hill, 0.75);
  cairo_move_to(cr, x, y + kThumbH);
  cairo_curve_to(cr, x + 40, y + 50, x + 70, y + 55, x + 100, y + kThumbH);
  cairo_fill(cr);
  SetColor(cr, hill);
  cairo_move_to(cr, x + 40, y + kThumbH);
  cairo_curve_to(cr, x + 80, y + 58, x + 120, y + 62, x + kThumbW, y + 70);
  cairo_line_to(cr, x + kThumbW, y + kThumbH);
  cairo_fill(cr);
  cairo_restore(cr);

  char caption[32];
  std::snprintf(caption, sizeof caption, "IMG_%04d.jpg", 1201 + index * 7);
  Text(cr, x + 2, y + kThumbH + 15, caption, 11, false, {0.38, 0.42, 0.48});
}

void Draw(cairo_t* cr, int width, int height, const std::string& status) {
  const Rgb ink{0.16, 0.19, 0.24};
  SetColor(cr, {0.97, 0.97, 0.98});
  cairo_paint(cr);

  // Header: the product name and a search field.
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, width, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.10, 0.36, 0.45);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.18, 0.52, 0.58);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, 0, 0, width, kHeader);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, {1, 1, 1}, 0.9);
  RoundedRect(cr, 20, 16, 24, 24, 6);
  cairo_fill(cr);
  SetColor(cr, {0.10, 0.36, 0.45});
  cairo_arc(cr, 32, 28, 6, 0, 2 * M_PI);
  cairo_fill(cr);
  Text(cr, 54, 36, kTitle, 22, true, {1, 1, 1});
  double searchW = std::min(260.0, width - 260.0);
  if (searchW > 80) {
    SetColor(cr, {1, 1, 1}, 0.2);
    RoundedRect(cr, width - searchW - 20, 14, searchW, 28, 14);
    cairo_fill(cr);
    Text(cr, width - searchW - 4, 33, "Search pictures", 12, false, {0.9, 0.95, 0.96});
  }

  // Sidebar: the library's collections.
  SetColor(cr, {0.92, 0.94, 0.96});
  cairo_rectangle(cr, 0, kHeader, kSidebar, height - kHeader - kFooter);
  cairo_fill(cr);
  const char* items[] = {"All pictures", "Favourites", "Recently added", "Summer 2024", "Family", "Travel", "Imports"};
  const Rgb dots[] = {{0.18, 0.52, 0.58}, {0.93, 0.42, 0.42}, {0.96, 0.66, 0.30}, {0.99, 0.76, 0.47},
                      {0.45, 0.36, 0.55}, {0.33, 0.47, 0.63}, {0.40, 0.60, 0.35}};
  for (int i = 0; i < 7; ++i) {
    double y = kHeader + 18 + i * 34;
    if (i == 0) {
      SetColor(cr, {0.18, 0.52, 0.58}, 0.14);
      RoundedRect(cr, 10, y - 4, kSidebar - 20, 30, 8);
      cairo_fill(cr);
    }
    SetColor(cr, dots[i]);
    cairo_arc(cr, 28, y + 11, 5, 0, 2 * M_PI);
    cairo_fill(cr);
    Text(cr, 44, y + 16, items[i], 13, i == 0, ink);
  }

  // The grid of pictures, as many as fit.
  double left = kSidebar + 24, top = kHeader + 20;
  Text(cr, left, top + 14, "All pictures", 16, true, ink);
  top += 32;
  int columns = std::max(1, static_cast<int>((width - left - 8) / (kThumbW + kGap)));
  int rows = std::max(0, static_cast<int>((height - top - kFooter) / (kThumbH + kCaption + kGap)));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) Thumbnail(cr, left + c * (kThumbW + kGap), top + r * (kThumbH + kCaption + kGap), r * columns + c);

  // Status line.
  SetColor(cr, {0.90, 0.92, 0.94});
  cairo_rectangle(cr, 0, height - kFooter, width, kFooter);
  cairo_fill(cr);
  Text(cr, 14, height - 9, status, 11, false, {0.38, 0.42, 0.48});
}

}  // namespace

int main(int argc, char** argv) {
  std::string status = "Vellumo demo - 1,284 pictures in 7 collections";
  if (argc > 1) {
    status += " - started with:";
    for (int i = 1; i < argc; ++i) status += std::string(" [") + argv[i] + "]";
  }

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "Vellumo: cannot open the display\n");
    return 1;
  }
  int screen = DefaultScreen(display);
  int width = 820, height = 560;
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 80, 60, width, height, 0, 0,
                                      WhitePixel(display, screen));
  XClassHint hint{const_cast<char*>("vellumo"), const_cast<char*>(kWindowClass)};
  XSetClassHint(display, window, &hint);
  XStoreName(display, window, kTitle);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(kTitle), 7);
  long pid = getpid();
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  XSizeHints size{};
  size.flags = PMinSize;
  size.min_width = 420;
  size.min_height = 300;
  XSetWMNormalHints(display, window, &size);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(display, window, ExposureMask | StructureNotifyMask);
  XMapWindow(display, window);

  cairo_surface_t* surface = cairo_xlib_surface_create(display, window, DefaultVisual(display, screen), width, height);
  bool shown = false;
  for (;;) {
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == MapNotify && !shown) {
      shown = true;
      char cwd[4096] = "";
      std::printf("Vellumo demo shown: window 0x%lx in %s\n", window, getcwd(cwd, sizeof cwd) ? cwd : "?");
      std::fflush(stdout);
    } else if (e.type == ConfigureNotify) {
      width = e.xconfigure.width;
      height = e.xconfigure.height;
      cairo_xlib_surface_set_size(surface, width, height);
    } else if (e.type == Expose && e.xexpose.count == 0) {
      // Drawn off-screen first, so a resize never shows half a picture.
      cairo_t* cr = cairo_create(surface);
      cairo_push_group(cr);
      Draw(cr, width, height, status);
      cairo_pop_group_to_source(cr);
      cairo_paint(cr);
      cairo_destroy(cr);
      cairo_surface_flush(surface);
      XFlush(display);
    } else if (e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == deleteWindow) {
      break;
    } else if (e.type == DestroyNotify) {
      break;
    }
  }
  cairo_surface_destroy(surface);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
