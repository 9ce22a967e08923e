#pragma once
// The X11 window system on the display in $DISPLAY (the tests skip without one), a recording
// procedure, and the outside tools that act as the user and the eye: xdotool, xprop, import.
// GoogleTest first: Xlib's macros (None, Bool, Status) would break its templates.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
// clang-format on

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/x11_window_system.h"
#include "tests/platform/recording_procedure.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace platform::testing {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}

class X11Fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
      GTEST_SKIP() << "no X display ($DISPLAY is unset): the X11 window tests need one (scripts/test starts Xvfb)";
    ASSERT_NO_FATAL_FAILURE(Connect());
    Tool({"xdotool", "mousemove", "1", "1"});  // away from where the windows go
  }

  // A fresh connection (the old one, with its windows, goes first).
  void Connect() {
    ws.reset();
    std::string error;
    ws = X11WindowSystem::Open(nullptr, &error);
    ASSERT_NE(ws, nullptr) << error;
    proc = std::make_unique<RecordingProcedure>(*ws);
    ticks = std::make_unique<RecordingProcedure>(*ws);
    CreateParams p = TestWindowParams(ticks.get(), 0, 0, 1, 1);
    p.kind = WindowKind::kPopup;
    ticker = ws->CreateWindow(p);
  }

  WindowHandle Make(int x, int y, int width, int height, std::uint32_t classStyle = 0, const std::string& title = "test") {
    return ws->CreateWindow(TestWindowParams(proc.get(), x, y, width, height, classStyle, title));
  }

  // Runs the loop (a ticker timer keeps it turning) until `done` or the time is up.
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    ws->SetTimer(ticker, 1, 15);
    Message m;
    while (!done() && std::chrono::steady_clock::now() < deadline && ws->GetMessage(m)) ws->DispatchMessage(m);
    ws->KillTimer(ticker, 1);
    return done();
  }
  void PumpFor(int milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
  }

  bool Viewable(WindowHandle w) {
    XWindowAttributes a{};
    return XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(w), &a) && a.map_state == IsViewable;
  }
  Window XFocus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(ws->XDisplay(), &focus, &revert);
    return focus;
  }

  // Fills the window's bitmap with `color` (premultiplied), `hole` fully transparent.
  void Present(WindowHandle w, std::uint32_t color, WinRect hole = {}) {
    WinRect r = ws->GetClientRect(w);
    std::vector<std::uint32_t> px(static_cast<std::size_t>(r.Width()) * r.Height(), color);
    for (int y = hole.top; y < hole.bottom; ++y)
      for (int x = hole.left; x < hole.right; ++x) px[static_cast<std::size_t>(y) * r.Width() + x] = 0;
    ws->UpdateLayeredWindow(w, px.data(), r.Width(), r.Height(), r.Width() * 4, 255);
  }

  // A shown, painted window holding the keyboard focus, with a clean record.
  WindowHandle ShowPainted(int x, int y, int width, int height, std::uint32_t color, WinRect hole = {},
                           std::uint32_t classStyle = 0) {
    WindowHandle w = Make(x, y, width, height, classStyle);
    ws->ShowWindow(w, ShowCommand::kShowNormal);
    Present(w, color, hole);
    EXPECT_TRUE(PumpUntil([&] { return Viewable(w) && XFocus() == ws->XWindowOf(w); })) << "mapped and focused";
    PumpFor(50);
    proc->seen.clear();
    return w;
  }

  static std::string Tool(const std::vector<std::string>& argv) {
    testsupport::ProcessOptions o;
    o.setEnv["LC_ALL"] = "C.UTF-8";
    o.timeout = std::chrono::milliseconds(20000);
    testsupport::ProcessResult r;
    // A loaded Xvfb now and then refuses a connection (a full listen queue); the tool did nothing
    // then and is run again.
    for (int attempt = 0; attempt < 5; ++attempt) {
      r = testsupport::RunProcess(argv, o);
      if (r.exitCode == 0 || r.output.find("display") == std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(r.exitCode, 0) << argv[0] << ": " << r.output;
    return r.output;
  }
  static Display* OpenOtherConnection() {
    Display* d = nullptr;
    for (int attempt = 0; attempt < 10 && d == nullptr; ++attempt) {
      d = XOpenDisplay(nullptr);
      if (d == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return d;
  }
  // The user's input through the XTEST extension, then the loop turned until `done`.
  bool Act(const std::vector<std::string>& xdotoolArgs, const std::function<bool()>& done) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), xdotoolArgs.begin(), xdotoolArgs.end());
    Tool(argv);
    return PumpUntil(done);
  }

  // The screen as `import` sees it.
  struct Shot {
    std::string bytes;
    int width = 0;
    Rgb At(int x, int y) const {
      std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
      return Rgb{static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1]),
                 static_cast<unsigned char>(bytes[i + 2])};
    }
  };
  Shot Screenshot() {
    XSync(ws->XDisplay(), False);
    testsupport::TempDir dir;
    auto file = dir / "shot.rgb";
    Tool({"/usr/bin/import", "-window", "root", "-depth", "8", "rgb:" + file.string()});
    Shot s;
    s.bytes = testsupport::ReadFile(file);
    s.width = ws->ScreenRect().Width();
    return s;
  }

  std::unique_ptr<X11WindowSystem> ws;
  std::unique_ptr<RecordingProcedure> proc;
  std::unique_ptr<RecordingProcedure> ticks;
  WindowHandle ticker = nullptr;
};

}  // namespace platform::testing
