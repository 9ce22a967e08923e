// What an idle window costs: how often the X11 message loop wakes up (poll returns) and how much
// processor it uses over a stretch of seconds, for a shown window with no timer and with a 40 ms
// timer (the slideshow's and the progress bar's pace). Needs $DISPLAY.
//   bench_window_idle [seconds per phase, default 10]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/x11_window_system.h"
#include "platform/window_messages.h"

namespace {

using platform::Message;
using platform::WindowHandle;

class Quiet : public platform::IWindowProcedure {
 public:
  explicit Quiet(platform::IWindowSystem& ws) : ws_(ws) {}
  std::intptr_t WindowProc(WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) override {
    return ws_.DefWindowProc(w, m, wp, lp);
  }

 private:
  platform::IWindowSystem& ws_;
};

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the loop for `seconds`; a thread posts the quit that ends it (that post is one wake-up).
void Phase(platform::X11WindowSystem& ws, const char* name, double seconds) {
  std::uint64_t wakeupsBefore = ws.Wakeups();
  double cpuBefore = CpuSeconds();
  auto start = std::chrono::steady_clock::now();
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    ws.PostQuitMessage(0);
  });
  Message m;
  std::uint64_t messages = 0;
  while (ws.GetMessage(m)) {
    ++messages;
    ws.DispatchMessage(m);
  }
  stopper.join();
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::uint64_t wakeups = ws.Wakeups() - wakeupsBefore;
  std::printf("%-28s %6.1f s  %6llu wake-ups (%6.2f/s, the quit post included)  %6llu messages  cpu %.3f s\n", name,
              elapsed, static_cast<unsigned long long>(wakeups), wakeups / elapsed,
              static_cast<unsigned long long>(messages), CpuSeconds() - cpuBefore);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  std::string error;
  auto ws = platform::X11WindowSystem::Open(nullptr, &error);
  if (!ws) {
    std::fprintf(stderr, "bench_window_idle: %s\n", error.c_str());
    return 1;
  }
  Quiet proc(*ws);
  platform::CreateParams p;
  p.className = "BenchIdle";
  p.x = 100;
  p.y = 100;
  p.width = 300;
  p.height = 200;
  p.procedure = &proc;
  WindowHandle w = ws->CreateWindow(p);
  ws->ShowWindow(w, platform::ShowCommand::kShowNormal);
  std::vector<std::uint32_t> pixels(300 * 200, 0xFF336699);
  ws->UpdateLayeredWindow(w, pixels.data(), 300, 200, 300 * 4, 255);
  Phase(*ws, "settling (map, focus, paint)", 0.5);

  Phase(*ws, "idle window, no timer", seconds);
  ws->SetTimer(w, 1, 40);
  Phase(*ws, "idle window, 40 ms timer", seconds);
  ws->KillTimer(w, 1);
  ws->DestroyWindow(w);
  return 0;
}
