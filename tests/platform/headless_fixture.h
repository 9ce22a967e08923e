#pragma once
// A headless window system with one recording procedure, and helpers to make and paint windows.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_window_system.h"
#include "tests/platform/recording_procedure.h"

namespace platform::testing {

// A window system and one procedure; a table of cases makes one per case.
struct HeadlessDesk {
  WindowHandle Make(int x, int y, int width, int height, WindowHandle owner = nullptr, std::uint32_t classStyle = 0,
                    WindowKind kind = WindowKind::kTopLevel) {
    CreateParams p = TestWindowParams(&proc, x, y, width, height, classStyle);
    p.kind = kind;
    p.owner = owner;
    return ws.CreateWindow(p);
  }
  // A shown, focused window with a clean slate of recorded messages.
  WindowHandle Shown(int x, int y, int width, int height, std::uint32_t classStyle = 0) {
    WindowHandle w = Make(x, y, width, height, nullptr, classStyle);
    ws.ShowWindow(w, ShowCommand::kShowNormal);
    ws.PumpMessages();
    proc.seen.clear();
    return w;
  }
  // Presents a bitmap of the window's size in one colour, with `hole` (client coordinates)
  // fully transparent.
  void Present(WindowHandle w, std::uint32_t color, WinRect hole = {}) {
    WinRect r = ws.GetClientRect(w);
    std::vector<std::uint32_t> px(static_cast<std::size_t>(r.Width()) * r.Height(), color);
    for (int y = hole.top; y < hole.bottom; ++y)
      for (int x = hole.left; x < hole.right; ++x) px[static_cast<std::size_t>(y) * r.Width() + x] = 0;
    ws.UpdateLayeredWindow(w, px.data(), r.Width(), r.Height(), r.Width() * 4, 255);
  }
  // Timer messages seen so far, after the clock moved on and the loop ran.
  std::size_t TicksAfter(unsigned milliseconds) {
    ws.AdvanceClock(milliseconds);
    ws.PumpMessages();
    return proc.Count(kWmTimer);
  }

  HeadlessWindowSystem ws;
  RecordingProcedure proc{ws};
};

class HeadlessFixture : public ::testing::Test, public HeadlessDesk {};

}  // namespace platform::testing
