#pragma once
// A window procedure for window-system tests: records every message, lets a test answer some of
// them, and hands the rest to the default procedure as a real window would.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_messages.h"
#include "platform/window_system.h"

namespace platform::testing {

struct Seen {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class RecordingProcedure : public IWindowProcedure {
 public:
  using Handler = std::function<std::optional<std::intptr_t>(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)>;

  explicit RecordingProcedure(IWindowSystem& system) : system_(system) {}

  std::intptr_t WindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
    seen.push_back(Seen{window, message, wParam, lParam});
    if (handler)
      if (auto result = handler(window, message, wParam, lParam)) return *result;
    return system_.DefWindowProc(window, message, wParam, lParam);
  }

  // The messages seen, without the hit tests and cursor questions every pointer message brings.
  std::vector<Seen> Significant() const {
    std::vector<Seen> out;
    for (const Seen& s : seen)
      if (s.message != kWmNcHitTest && s.message != kWmSetCursor) out.push_back(s);
    return out;
  }
  // Only these messages, in order.
  std::vector<Seen> Only(std::initializer_list<std::uint32_t> messages) const {
    std::vector<Seen> out;
    for (const Seen& s : seen)
      for (std::uint32_t m : messages)
        if (s.message == m) out.push_back(s);
    return out;
  }
  std::vector<std::uint32_t> Numbers(std::initializer_list<std::uint32_t> messages) const {
    std::vector<std::uint32_t> out;
    for (const Seen& s : Only(messages)) out.push_back(s.message);
    return out;
  }
  std::size_t Count(std::uint32_t message) const { return Only({message}).size(); }

  std::vector<Seen> seen;
  Handler handler;

 private:
  IWindowSystem& system_;
};

// The parameters of a plain test window.
inline CreateParams TestWindowParams(IWindowProcedure* procedure, int x, int y, int width, int height,
                                     std::uint32_t classStyle = 0, const std::string& title = "test") {
  CreateParams p;
  p.className = "TestWnd";
  p.classStyle = classStyle;
  p.title = title;
  p.x = x;
  p.y = y;
  p.width = width;
  p.height = height;
  p.procedure = procedure;
  return p;
}

}  // namespace platform::testing
