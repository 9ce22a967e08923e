// A skinned window on a real X server (Xvfb, no window manager): placement from the skin, the
// painted pixels on the screen, clicks through XTEST on controls and on transparent pixels,
// the caption drag, Escape and Alt+F4; once with a compositor for translucent pixels.
// The skin window helpers first: Xlib's macros (KeyPress, CursorShape, None) must not reach them.
#include "tests/ui/core/skin_window_fixture.h"
#include "ui/controls/drawing_services.h"
// clang-format off
#include "tests/platform/x11_fixture.h"
// clang-format on

namespace skintest {
namespace {

namespace pf = platform;
using pf::testing::Rgb;

// 240 x 160: an opaque blue top with a 30-pixel caption band, a red probe in it and one below
// it; at the bottom a half-transparent red strip on the left and nothing on the right.
const wchar_t* const kSkin =
    L"<Window size=\"240,160\" caption=\"0,0,0,30\" bktrans=\"1\">"
    L"<VerticalLayout>"
    L"<Control float=\"true\" pos=\"0,0,240,120\" bkcolor=\"#FF2060C0\" />"
    L"<Probe name=\"top\" float=\"true\" pos=\"150,5,200,25\" mouse=\"true\" bkcolor=\"#FF20C060\" />"
    L"<Probe name=\"btn\" float=\"true\" pos=\"20,40,100,80\" mouse=\"true\" bkcolor=\"#FFE02020\" />"
    L"<Control float=\"true\" pos=\"0,120,120,160\" bkcolor=\"#80FF0000\" />"
    L"</VerticalLayout>"
    L"</Window>";

class X11SkinWindowTest : public pf::testing::X11Fixture {
 protected:
  void SetUp() override {
    X11Fixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    pf::SetWindowSystem(ws.get());
    InstallDrawingServices();
  }
  void TearDown() override {
    wnd.reset();
    pf::SetWindowSystem(nullptr);
  }

  // Builds the skin's window, centres and shows it and waits until it is on the screen.
  void Open() {
    wnd = std::make_unique<TestWindow>();
    wnd->SetSkinFile(kSkin);
    ASSERT_NE(wnd->Create(nullptr, L"skin test", &callback, kWsPopup, 0), nullptr);
    wnd->CenterOnOwner();
    wnd->ShowWindow();
    ASSERT_TRUE(Run([&] { return Viewable(wnd->Handle()) && XFocus() == ws->XWindowOf(wnd->Handle()); }));
    Run([] { return false; }, 150);  // the first paint is on the screen
    origin = ws->ClientToScreen(wnd->Handle(), {0, 0});
  }
  // The framework's loop (with its message translation) until `done` or the time is up.
  bool Run(const std::function<bool()>& done, int milliseconds = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    ws->SetTimer(ticker, 1, 15);
    pf::Message m;
    while (!done() && std::chrono::steady_clock::now() < deadline && ws->GetMessage(m))
      if (!CSkinHost::TranslateMessage(m)) ws->DispatchMessage(m);
    ws->KillTimer(ticker, 1);
    return done();
  }
  // xdotool at a client point of the window.
  bool ActAt(int x, int y, std::vector<std::string> then, const std::function<bool()>& done,
             int milliseconds = 3000) {
    std::vector<std::string> argv{"xdotool", "mousemove", std::to_string(origin.x + x), std::to_string(origin.y + y)};
    argv.insert(argv.end(), then.begin(), then.end());
    Tool(argv);
    return Run(done, milliseconds);
  }
  Rgb AtClient(const Shot& s, int x, int y) const { return s.At(origin.x + x, origin.y + y); }

  ProbeCallback callback;
  std::unique_ptr<TestWindow> wnd;
  pf::WinPoint origin;
};

TEST_F(X11SkinWindowTest, TheWindowAppearsCentredAtItsSkinSizeWithItsPixels) {
  const Shot before = Screenshot();
  Open();
  const pf::WinRect work = ws->WorkArea(wnd->Handle());
  const int x = (work.left + work.right) / 2 - 120, y = (work.top + work.bottom) / 2 - 80;
  EXPECT_EQ(ws->GetWindowRect(wnd->Handle()), (pf::WinRect{x, y, x + 240, y + 160}));
  XWindowAttributes a{};
  ASSERT_TRUE(XGetWindowAttributes(ws->XDisplay(), ws->XWindowOf(wnd->Handle()), &a));
  EXPECT_EQ(a.width, 240);
  EXPECT_EQ(a.height, 160);
  const Shot s = Screenshot();
  EXPECT_EQ(AtClient(s, 5, 100), (Rgb{0x20, 0x60, 0xC0}));
  EXPECT_EQ(AtClient(s, 60, 60), (Rgb{0xE0, 0x20, 0x20}));
  EXPECT_EQ(AtClient(s, 175, 15), (Rgb{0x20, 0xC0, 0x60}));
  if (!ws->HasCompositor()) {
    EXPECT_EQ(AtClient(s, 200, 140), AtClient(before, 200, 140)) << "unpainted pixels are cut out of the window";
    const Rgb half = AtClient(s, 60, 140);
    EXPECT_NEAR(half.r, 128, 2) << "without a compositor translucent pixels show over black";
    EXPECT_EQ(half.g, 0);
  }
}

TEST_F(X11SkinWindowTest, AClickReachesTheMouseEnabledControlButNotThroughATransparentPixel) {
  Open();
  ProbeUI* btn = wnd->Probe(L"btn");
  ASSERT_TRUE(ActAt(60, 60, {"click", "1"}, [&] {
    return std::count_if(btn->events.begin(), btn->events.end(), [](const SkinEvent& e) { return e.type == kEventButtonUp; }) == 1;
  }));
  const std::vector<int> got = btn->Significant();
  EXPECT_NE(std::find(got.begin(), got.end(), kEventButtonDown), got.end());
  EXPECT_EQ(wnd->Host().Focus(), btn);
  auto down = std::find_if(btn->events.begin(), btn->events.end(), [](const SkinEvent& e) { return e.type == kEventButtonDown; });
  EXPECT_EQ(down->ptMouse, (SkinPoint{60, 60}));

  const int downsBefore = wnd->buttonDowns;
  ActAt(200, 140, {"click", "1"}, [] { return false; });  // alpha 0 there
  EXPECT_EQ(wnd->buttonDowns, downsBefore) << "the press went to the desktop behind";
  ASSERT_TRUE(ActAt(60, 140, {"click", "1"}, [&] { return wnd->buttonDowns == downsBefore + 1; }))
      << "a translucent pixel still takes the mouse";
}

TEST_F(X11SkinWindowTest, TheCaptionBandDragsTheWindowButNotFromItsButton) {
  Open();
  const pf::WinRect start = ws->GetWindowRect(wnd->Handle());
  // Press, move and release one after the other, the loop running in between as while a user
  // holds the button.
  auto drag = [&](int x, int y, const std::function<bool()>& moved) {
    ActAt(x, y, {"mousedown", "1"}, [] { return false; }, 200);
    Tool({"xdotool", "mousemove_relative", "--", "40", "30"});
    Run(moved, 1000);
    Tool({"xdotool", "mouseup", "1"});
    Run([] { return false; }, 200);
  };
  ProbeUI* top = wnd->Probe(L"top");
  drag(175, 15, [] { return false; });
  EXPECT_EQ(ws->GetWindowRect(wnd->Handle()), start) << "the button in the band keeps its press";
  EXPECT_EQ(std::count_if(top->events.begin(), top->events.end(), [](const SkinEvent& e) { return e.type == kEventButtonUp; }), 1);
  drag(100, 15, [&] { return ws->GetWindowRect(wnd->Handle()).left == start.left + 40; });
  EXPECT_EQ(ws->GetWindowRect(wnd->Handle()),
            (pf::WinRect{start.left + 40, start.top + 30, start.right + 40, start.bottom + 30}));
}

TEST_F(X11SkinWindowTest, AltF4ArrivesAsTheSystemCloseCommandAndEscapeClosesTheWindow) {
  Open();
  ASSERT_TRUE(ActAt(60, 100, {"key", "alt+F4"}, [&] { return !wnd->sysCommands.empty(); }));
  EXPECT_EQ(wnd->sysCommands[0], pf::kScClose);
  Run([] { return false; }, 100);
  EXPECT_TRUE(ws->IsWindow(wnd->Handle())) << "the base ignores the system close command";
  const pf::WindowHandle window = wnd->Handle();
  ASSERT_TRUE(ActAt(60, 100, {"key", "Escape"}, [&] { return !ws->IsWindow(window); }));
}

TEST_F(X11SkinWindowTest, WithACompositorTranslucentPixelsBlendWithTheDesktop) {
  testsupport::BackgroundProcess compositor({"xcompmgr"});
  ASSERT_TRUE(PumpUntil(
      [&] { return XGetSelectionOwner(ws->XDisplay(), XInternAtom(ws->XDisplay(), "_NET_WM_CM_S0", False)) != None; },
      5000))
      << "xcompmgr did not start";
  // A fresh window system: the compositor is looked up when it starts.
  std::string error;
  pf::SetWindowSystem(nullptr);
  proc.reset();
  ticks.reset();
  ws.reset();
  ws = pf::X11WindowSystem::Open(nullptr, &error);
  ASSERT_NE(ws, nullptr) << error;
  ticks = std::make_unique<pf::testing::RecordingProcedure>(*ws);
  pf::CreateParams tp;
  tp.className = "TestTicker";
  tp.kind = pf::WindowKind::kPopup;
  tp.procedure = ticks.get();
  ticker = ws->CreateWindow(tp);
  pf::SetWindowSystem(ws.get());
  ASSERT_TRUE(ws->HasCompositor());

  const Shot before = Screenshot();
  Open();
  Run([] { return false; }, 300);
  const Shot s = Screenshot();
  const Rgb behind = AtClient(before, 60, 140);
  const Rgb half = AtClient(s, 60, 140);
  EXPECT_NEAR(half.r, 128 + behind.r / 2, 3) << half << " over " << behind;
  EXPECT_NEAR(half.g, behind.g / 2, 3) << half << " over " << behind;
  EXPECT_EQ(AtClient(s, 200, 140), AtClient(before, 200, 140)) << "fully transparent pixels show the desktop";
  EXPECT_EQ(AtClient(s, 5, 100), (Rgb{0x20, 0x60, 0xC0}));
  wnd.reset();
  pf::SetWindowSystem(nullptr);
  ws.reset();  // before the compositor goes
}

}  // namespace
}  // namespace skintest
