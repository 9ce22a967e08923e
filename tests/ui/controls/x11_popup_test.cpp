// The popups of controls on a real X server: a combo box's drop-down and an edit field's in-place
// editor are override-redirect windows of their own that the pointer reaches and the keyboard
// reaches through the owner window (xdotool drives pointer and keys).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/text_encoding.h"
#include "tests/support/process.h"
#include "ui/controls/combo_ui.h"
#include "ui/controls/combo_wnd.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/register_controls.h"
#include "ui/core/window_impl_base.h"
// Xlib last: its macros (CursorShape, None, Bool) would break the declarations above.
#include "platform/linux/x11_window_system.h"  // NOLINT(build/include_order)

using namespace SkinUI;

namespace {

class PopupWindow : public WindowImplBaseNew {
 public:
  const wchar_t* WindowClassName() const override { return L"PopupTestWnd"; }
  std::wstring SkinFile() const override {
    return L"<Window size=\"360,260\"><VerticalLayout bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\" childpadding=\"10\">"
           L"<Combo name=\"combo\" height=\"28\" bkcolor=\"#FFEEEEEE\">"
           L"<ListLabelElement text=\"one\" height=\"24\" /><ListLabelElement text=\"two\" height=\"24\" />"
           L"<ListLabelElement text=\"three\" height=\"24\" /></Combo>"
           L"<Edit name=\"edit\" height=\"28\" bkcolor=\"#FFEEEEEE\" />"
           L"<Control /></VerticalLayout></Window>";
  }
};

void Tool(const std::vector<std::string>& argv) {
  testsupport::ProcessOptions o;
  o.setEnv["LC_ALL"] = "C.UTF-8";
  o.timeout = std::chrono::milliseconds(20000);
  testsupport::ProcessResult r;
  for (int attempt = 0; attempt < 5; ++attempt) {  // a busy Xvfb may refuse a connection once
    r = testsupport::RunProcess(argv, o);
    if (r.exitCode == 0 || r.output.find("display") == std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(r.exitCode, 0) << argv[0] << ": " << r.output;
}

class X11PopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no X display ($DISPLAY is unset)";
    std::string error;
    ws_ = platform::X11WindowSystem::Open(nullptr, &error);
    ASSERT_NE(ws_, nullptr) << error;
    platform::SetWindowSystem(ws_.get());
    InstallDrawingServices();
    RegisterControls();
  }
  void TearDown() override {
    if (ws_ == nullptr) return;
    if (ws_->IsWindow(window_.Handle())) ws_->DestroyWindow(window_.Handle());
    platform::SetWindowSystem(nullptr);
  }
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    const bool ticking = window_.Handle() != nullptr && ws_->SetTimer(window_.Handle(), 0x7000, 15);
    platform::Message m;
    while (!done() && std::chrono::steady_clock::now() < deadline && ws_->GetMessage(m))
      if (!CSkinHost::TranslateMessage(m)) ws_->DispatchMessage(m);
    if (ticking) ws_->KillTimer(window_.Handle(), 0x7000);
    return done();
  }
  void ClickScreen(int x, int y) {
    Tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "1"});
  }
  void ClickClient(SkinPoint pt) {
    const platform::WinPoint s = ws_->ClientToScreen(window_.Handle(), {pt.x, pt.y});
    ClickScreen(s.x, s.y);
  }

  std::unique_ptr<platform::X11WindowSystem> ws_;
  PopupWindow window_;
};

SkinPoint Centre(const CControlUI* c) {
  const SkinRect& r = c->Position();
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST_F(X11PopupTest, DropDownAndInPlaceEditorTakePointerAndKeys) {
  ASSERT_NE(window_.Create(nullptr, L"popup test", nullptr, kWsPopup, 0), nullptr);
  window_.CenterOnOwner();
  window_.ShowWindow(true, true);
  auto* combo = static_cast<CComboUI*>(window_.Host().FindControlByName(L"combo"));
  auto* edit = static_cast<CEditUI*>(window_.Host().FindControlByName(L"edit"));
  ASSERT_TRUE(PumpUntil([&] { return !window_.Host().Bitmap().empty() && !combo->Position().IsEmpty(); }));

  ClickClient(Centre(combo));
  ASSERT_TRUE(PumpUntil([&] { return combo->IsDropped(); }));
  CComboWnd* drop = combo->DropWindow();
  const platform::WinRect where = ws_->GetWindowRect(drop->Handle());
  const platform::WinPoint comboBottom = ws_->ClientToScreen(window_.Handle(), {combo->X(), combo->Position().bottom});
  EXPECT_EQ(where.left, comboBottom.x);
  EXPECT_EQ(where.top, comboBottom.y);
  // Drawn, then clicked on its second item.
  ASSERT_TRUE(PumpUntil([&] { return !CSkinHost::HostOf(drop->Handle())->Bitmap().empty(); }));
  ClickScreen(where.left + 20, where.top + 1 + 24 + 12);
  ASSERT_TRUE(PumpUntil([&] { return !combo->IsDropped(); }));
  EXPECT_EQ(combo->CurSel(), 1);

  // The edit field's editor takes what is typed while the owner window keeps the focus.
  ClickClient(Centre(edit));
  ASSERT_TRUE(PumpUntil([&] { return edit->EditWindow() != nullptr; }));
  Tool({"xdotool", "type", "--delay", "20", "hello"});
  EXPECT_TRUE(PumpUntil([&] { return edit->GetText() == L"hello"; })) << platform::WideToUtf8(edit->GetText());
  // A press elsewhere in the window closes the editor and keeps the text.
  ClickClient({200, 200});
  EXPECT_TRUE(PumpUntil([&] { return edit->EditWindow() == nullptr; }));
  EXPECT_EQ(edit->GetText(), L"hello");
}
