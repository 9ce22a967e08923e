// The window base: creation from a skin, geometry, painting, caption drags, system commands, the
// modal loop and skin archive registration.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "tests/ui/core/skin_window_fixture.h"
#include "ui/core/skin_archive_registrar.h"

namespace skintest {
namespace {

namespace pf = platform;

// 200 x 100 with a 30-pixel caption band; in the band a button, a disabled button and a label
// without mouse; the lower-right quarter of the window is left unpainted.
const wchar_t* const kSkin =
    L"<Window size=\"200,100\" caption=\"0,0,0,30\" roundcorner=\"6,6\" bktrans=\"1\""
    L" mininfo=\"120,60\" maxinfo=\"900,0\">"
    L"<VerticalLayout>"
    L"<Control float=\"true\" pos=\"0,0,200,50\" bkcolor=\"#FF336699\" />"
    L"<Control float=\"true\" pos=\"0,50,100,100\" bkcolor=\"#80FF0000\" />"
    L"<Probe name=\"btn\" float=\"true\" pos=\"10,5,40,25\" mouse=\"true\" />"
    L"<Probe name=\"off\" float=\"true\" pos=\"50,5,80,25\" mouse=\"true\" enabled=\"false\" />"
    L"<Probe name=\"title\" float=\"true\" pos=\"90,5,150,25\" />"
    L"</VerticalLayout>"
    L"</Window>";

using WindowBaseTest = SkinWindowTest;

TEST_F(WindowBaseTest, TheWindowTakesItsSkinSizeCentredAndPaintsItsLayeredBitmap) {
  Open(kSkin);
  EXPECT_EQ(ws.GetWindowRect(H()), (pf::WinRect{540, 350, 740, 450}));
  EXPECT_EQ(ws.ClassNameOf(H()), "TestSkinWnd");
  EXPECT_EQ(ws.TitleOf(H()), "test");
  EXPECT_EQ(wnd->initialized, 1);
  const auto* shown = ws.LastPresented(H());
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->width, 200);
  EXPECT_EQ(shown->constantAlpha, 255);
  EXPECT_EQ(shown->Pixel(100, 40), 0xFF336699u);
  EXPECT_EQ(shown->Pixel(20, 70), 0x80800000u) << "premultiplied half-transparent red";
  EXPECT_EQ(shown->Pixel(150, 70), 0u) << "unpainted: fully transparent";
  // A fully transparent pixel does not take the mouse.
  EXPECT_EQ(ws.WindowAt(ws.ClientToScreen(H(), {150, 70})), nullptr);
  EXPECT_EQ(ws.WindowAt(ws.ClientToScreen(H(), {20, 70})), H());
  const auto region = ws.RoundRegionOf(H());
  EXPECT_EQ(region.width, 201);
  EXPECT_EQ(region.ellipseWidth, 6);
  // "windowinit" came once, after the first layout, and stays once through later paints.
  EXPECT_EQ(wnd->Count(L"windowinit"), 1);
  ws.SetWindowPos(H(), 0, 0, 300, 150, pf::kSwpNoMove);
  Pump();
  EXPECT_EQ(wnd->Count(L"windowinit"), 1);
  EXPECT_EQ(ws.LastPresented(H())->width, 300);
  // The skin's size only sized the empty window.
  Host().SetInitialSize({50, 50});
  EXPECT_EQ(ws.GetClientRect(H()).Width(), 300);
}

TEST_F(WindowBaseTest, OnlyPaintsTheDirtyAreaAfterTheFirstPaint) {
  Open(kSkin);
  const unsigned before = ws.LastPresented(H())->count;
  Pump();
  EXPECT_EQ(ws.LastPresented(H())->count, before) << "nothing dirty, nothing presented";
  wnd->Probe(L"btn")->SetBkColor(0xFF00FF00);
  Pump();
  EXPECT_EQ(ws.LastPresented(H())->count, before + 1);
  EXPECT_EQ(ws.LastPresented(H())->Pixel(20, 10), 0xFF00FF00u);
}

TEST_F(WindowBaseTest, TheCaptionBandDragsOnlyWhereNoMouseEnabledControlLies) {
  Open(kSkin);
  struct Case {
    int x, y;
    bool drags;
    const char* what;
  } cases[] = {
      {5, 15, true, "empty band"},
      {100, 15, true, "over a label without mouse"},
      {20, 15, false, "over a button"},
      {60, 15, false, "over a disabled button"},
      {20, 40, false, "below the band"},
  };
  for (const Case& c : cases) {
    const unsigned before = ws.DragCount(H());
    ws.MouseDown(H(), c.x, c.y);
    Pump();
    ws.MouseUp(H(), c.x, c.y);
    Pump();
    EXPECT_EQ(ws.DragCount(H()) - before, c.drags ? 1u : 0u) << c.what;
  }
  EXPECT_EQ(wnd->Probe(L"btn")->Significant(), 
            (std::vector<int>{kEventMouseEnter, kEventSetFocus, kEventButtonDown, kEventButtonUp, kEventMouseLeave}));
}

TEST_F(WindowBaseTest, TheCloseRequestOfTheDesktopArrivesAsTheSystemCloseCommandAndTheBaseIgnoresIt) {
  Open(kSkin);
  ws.RequestClose(H());
  Pump();
  ws.KeyDown(pf::kVkMenu);
  ws.KeyPress(pf::kVkF4);
  ws.KeyUp(pf::kVkMenu);
  Pump();
  EXPECT_EQ(wnd->sysCommands, (std::vector<std::uintptr_t>{pf::kScClose, pf::kScClose}));
  EXPECT_TRUE(ws.IsWindow(H()));
  EXPECT_EQ(wnd->Count(L"windowinit"), 1);
}

TEST_F(WindowBaseTest, SizeLimitsComeFromTheSkinAndNeverPinTheMaximumToTheCurrentSize) {
  Open(kSkin);
  pf::MinMaxInfo info;
  wnd->SendMessage(pf::kWmGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(info.minTrackSize, (pf::WinPoint{120, 60}));
  EXPECT_EQ(info.maxTrackSize, (pf::WinPoint{900, 800})) << "a zero height of maxinfo means the work area's";
  EXPECT_EQ(info.maxSize, (pf::WinPoint{1280, 800}));
}

TEST_F(WindowBaseTest, AWindowWithoutASkinFileHasNoContentAndPaintsNothing) {
  Open(L"");
  EXPECT_EQ(Host().Root(), nullptr);
  EXPECT_EQ(wnd->initialized, 0);
  EXPECT_EQ(ws.LastPresented(H()), nullptr);
  // A skin that does not parse leaves the window empty too, but initialised.
  Open(L"<Window><Broken</Window>");
  EXPECT_TRUE(ws.IsWindow(H()));
  EXPECT_EQ(Host().Root(), nullptr);
  EXPECT_EQ(wnd->initialized, 1);
}

class ModalTest : public SkinWindowTest {
 protected:
  // The owner, then a modal box over it; `during` runs each time the box's loop is idle.
  std::uint32_t RunModal(std::function<void(int idleRound)> during) {
    Open(kSkin);
    owner = H();
    box = std::make_unique<TestWindow>();
    box->SetSkinFile(kSkin);
    EXPECT_NE(box->Create(owner, L"box", &callback, kWsPopup | kWsVisible, 0), nullptr);
    box->CenterOnOwner();
    int round = 0;
    ws.SetIdleCallback([&] {
      ownerEnabledDuring = ws.IsWindowEnabled(owner);
      if (round > 5) return false;  // nothing more to say
      during(round++);
      return true;
    });
    const std::uint32_t result = box->ShowModal();
    ws.SetIdleCallback({});
    return result;
  }
  pf::WindowHandle owner = nullptr;
  std::unique_ptr<TestWindow> box;
  bool ownerEnabledDuring = true;
};

TEST_F(ModalTest, ShowModalDisablesTheOwnerAndReturnsTheCloseCode) {
  const std::uint32_t escape = RunModal([&](int round) {
    if (round == 0) ws.KeyPress(pf::kVkEscape);
  });
  EXPECT_EQ(escape, 1u);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(ws.IsWindowEnabled(owner));
  EXPECT_EQ(ws.GetFocus(), owner);
  EXPECT_EQ(box->Handle(), nullptr);
  // The box sat centred on its owner.
  wnd.reset();
  const std::uint32_t code = RunModal([&](int round) {
    if (round == 0) box->Close(7);
  });
  EXPECT_EQ(code, 7u);
}

TEST_F(ModalTest, AQuitMessageEndsTheModalLoopAndIsPostedAgain) {
  const std::uint32_t result = RunModal([&](int round) {
    if (round == 0) ws.PostQuitMessage(3);
  });
  EXPECT_EQ(result, 0u);
  EXPECT_TRUE(ws.IsWindowEnabled(owner));
  pf::Message msg;
  EXPECT_FALSE(ws.GetMessage(msg));
  EXPECT_EQ(msg.message, pf::kWmQuit);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowBaseTest, TheMessageLoopTranslatesUntilTheQuitMessage) {
  Open(kSkin);
  const pf::WindowHandle window = H();
  int round = 0;
  ws.SetIdleCallback([&] {
    if (round++ == 0)
      ws.KeyPress(pf::kVkEscape);  // closes only through the loop's translation (the pre-message filter)
    else if (!ws.IsWindow(window))
      ws.PostQuitMessage(0);
    else
      return false;
    return true;
  });
  CSkinHost::MessageLoop();
  ws.SetIdleCallback({});
  EXPECT_FALSE(ws.IsWindow(window));
  EXPECT_EQ(ws.DryRuns(), 0u) << "ended by the quit message, not by running dry";
  EXPECT_TRUE(CSkinHost::Hosts().empty()) << "the destroyed window's host left the host list";
}

TEST_F(WindowBaseTest, HitTestsFollowTheSizeBoxAndNothingOutsideIsABorder) {
  Open(L"<Window size=\"200,100\" sizebox=\"4,4,4,4\"><VerticalLayout bkcolor=\"#FF000000\" /></Window>");
  struct Case {
    int x, y, hit;
  } cases[] = {{1, 1, pf::kHtTopLeft},     {100, 2, pf::kHtTop},      {198, 50, pf::kHtRight},
               {100, 50, pf::kHtClient},   {2, 98, pf::kHtBottomLeft}, {250, 50, pf::kHtNowhere}};
  for (const Case& c : cases) {
    const pf::WinPoint s = ws.ClientToScreen(H(), {c.x, c.y});
    EXPECT_EQ(wnd->SendMessage(pf::kWmNcHitTest, 0, pf::PackPoint(s.x, s.y)), c.hit) << c.x << "," << c.y;
  }
}

TEST_F(WindowBaseTest, SkinArchivesAreRegisteredThroughTheInstalledRegistrar) {
  static std::vector<std::string> calls;
  calls.clear();
  static const SkinArchiveRegistrar registrar{
      [](int id, std::string_view type, bool main) {
        calls.push_back("resource " + std::to_string(id) + " " + std::string(type) + (main ? " main" : " overlay"));
      },
      [](const std::wstring& name, bool main) { calls.push_back("file " + pf::WideToUtf8(name) + (main ? " main" : " overlay")); },
      [](const std::wstring& name) { calls.push_back("markup " + pf::WideToUtf8(name)); },
  };
  TestWindow w;
  w.SetSkinArchive(WindowImplBaseNew::kArchiveResource, L"", 131, "ZIPRES", true);  // nothing installed: logged
  SetSkinArchiveRegistrar(&registrar);
  w.SetSkinArchive(WindowImplBaseNew::kArchiveResource, L"", 131, "ZIPRES", true);
  w.SetSkinArchive(WindowImplBaseNew::kArchiveFile, L"skin.zip", 0, "", false);
  w.SetMarkupArchive(L"markup.zip");
  SetSkinArchiveRegistrar(nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"resource 131 ZIPRES main", "file skin.zip overlay", "markup markup.zip"}));
}

}  // namespace
}  // namespace skintest
