// The paint pipeline and input dispatch of a skinned window at the installer's size (819 x 574)
// on the in-memory window system with the Cairo canvas: a whole-window paint, the repaint of one
// small control, and a pointer move across controls.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/headless/headless_window_system.h"
#include "ui/controls/drawing_services.h"
#include "ui/core/container_ui.h"
#include "ui/core/window_impl_base.h"

namespace {

using namespace SkinUI;

class BenchWindow : public WindowImplBaseNew {
 public:
  const wchar_t* WindowClassName() const override { return L"BenchWnd"; }
};

// A translucent background and a grid of 8 x 6 mouse-enabled controls.
std::wstring Skin() {
  std::wstring xml = L"<Window size=\"819,574\" caption=\"10,10,10,54\" bktrans=\"1\"><VerticalLayout bkcolor=\"#E0F4F6FA\">";
  for (int row = 0; row < 6; ++row)
    for (int col = 0; col < 8; ++col) {
      const int x = 20 + col * 98, y = 60 + row * 80;
      xml += L"<Control float=\"true\" mouse=\"true\" bkcolor=\"#FF3366" + std::to_wstring(10 + row * 10) +
             L"\" bordercolor=\"#FF000000\" bordersize=\"1\" pos=\"" + std::to_wstring(x) + L"," + std::to_wstring(y) +
             L"," + std::to_wstring(x + 90) + L"," + std::to_wstring(y + 70) + L"\" />";
    }
  return xml + L"</VerticalLayout></Window>";
}

struct Fixture {
  Fixture() {
    platform::SetWindowSystem(&ws);
    InstallDrawingServices();
    wnd.SetSkinFile(Skin());
    wnd.Create(nullptr, L"bench", nullptr, kWsPopup, 0);
    wnd.ShowWindow();
    Pump();
  }
  ~Fixture() {
    wnd.Close();
    Pump();
    platform::SetWindowSystem(nullptr);
  }
  int Pump() { return ws.PumpMessages([](const platform::Message& m) { return CSkinHost::TranslateMessage(m); }); }
  platform::HeadlessWindowSystem ws;
  BenchWindow wnd;
};

void BM_FullPaint(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.wnd.Host().SetPaintEverything();
    f.ws.InvalidateRect(f.wnd.Handle(), nullptr);
    f.Pump();
  }
  state.SetLabel("819 x 574, 48 controls");
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

void BM_RepaintOneControl(benchmark::State& state) {
  Fixture f;
  auto* root = static_cast<IContainerUI*>(f.wnd.Host().Root()->AsInterface(L"IContainer"));
  CControlUI* c = root->ItemAt(9);
  bool flip = false;
  for (auto _ : state) {
    c->SetBkColor((flip = !flip) ? 0xFF00FF00 : 0xFF0000FF);
    f.Pump();
  }
  state.SetLabel("90 x 70 dirty of 819 x 574");
}
BENCHMARK(BM_RepaintOneControl)->Unit(benchmark::kMicrosecond);

void BM_PointerMoveAcrossControls(benchmark::State& state) {
  Fixture f;
  int x = 0;
  for (auto _ : state) {
    x = (x + 7) % 800;
    f.ws.MouseMove(f.wnd.Handle(), x, 95);
    f.Pump();
  }
}
BENCHMARK(BM_PointerMoveAcrossControls)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
