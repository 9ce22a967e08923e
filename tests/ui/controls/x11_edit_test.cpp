// An edit field in a real X window: the pointer clicks into it and the keyboard types through
// the X server (xdotool), and what the field holds is read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/text_encoding.h"
#include "tests/support/process.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/register_controls.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/core/window_impl_base.h"
// Xlib last: its macros (CursorShape, None, Bool) would break the declarations above.
#include "platform/linux/x11_window_system.h"  // NOLINT(build/include_order)

using namespace SkinUI;

namespace {

class FieldWindow : public WindowImplBaseNew {
 public:
  const wchar_t* WindowClassName() const override { return L"EditTestWnd"; }
  std::wstring SkinFile() const override {
    return L"<Window size=\"400,120\" bktrans=\"1\"><VerticalLayout bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\">"
           L"<RichEdit name=\"edit\" height=\"38\" inset=\"8,10,8,10\" multiline=\"false\" wantreturn=\"false\" />"
           L"<RichEdit name=\"edit_install_path\" height=\"38\" inset=\"8,10,8,10\" readonly=\"true\""
           L" multiline=\"false\" wantreturn=\"false\" />"
           L"</VerticalLayout></Window>";
  }
  void OnTextChanged(SkinNotify&) override { ++changes; }
  int changes = 0;
};

std::string Tool(const std::vector<std::string>& argv) {
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
  return r.output;
}

class X11EditTest : public ::testing::Test {
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
  // The program's loop (the host's translation first) until `done` or the time is up; a timer of
  // the window keeps the loop turning.
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    const bool ticking = window_.Handle() != nullptr && ws_->SetTimer(window_.Handle(), 0x7000, 15);
    platform::Message m;
    while (!done() && std::chrono::steady_clock::now() < deadline && ws_->GetMessage(m))
      if (!CSkinHost::TranslateMessage(m)) ws_->DispatchMessage(m);
    if (ticking) ws_->KillTimer(window_.Handle(), 0x7000);
    return done();
  }
  // Screen point of a client point of the window.
  std::vector<std::string> At(SkinPoint pt) {
    const platform::WinPoint s = ws_->ClientToScreen(window_.Handle(), {pt.x, pt.y});
    return {std::to_string(s.x), std::to_string(s.y)};
  }

  std::unique_ptr<platform::X11WindowSystem> ws_;
  FieldWindow window_;
};

}  // namespace

TEST_F(X11EditTest, TypedTextReachesTheFocusedFieldOnly) {
  ASSERT_NE(window_.Create(nullptr, L"edit test", nullptr, kWsPopup, 0), nullptr);
  window_.CenterOnOwner();
  window_.ShowWindow(true, true);
  auto* edit = static_cast<CRichEditUI*>(window_.Host().FindControlByName(L"edit"));
  auto* path = static_cast<CRichEditUI*>(window_.Host().FindControlByName(L"edit_install_path"));
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return !window_.Host().Bitmap().empty() && !edit->Position().IsEmpty(); }));
  path->SetText(L"/opt/Orbisk");

  const SkinRect text = edit->TextRect();
  auto click = At({text.left + 5, (text.top + text.bottom) / 2});
  Tool({"xdotool", "mousemove", click[0], click[1], "click", "1"});
  ASSERT_TRUE(PumpUntil([&] { return window_.Host().Focus() == edit; }));

  Tool({"xdotool", "type", "--delay", "20", "Orbisk 22"});
  EXPECT_TRUE(PumpUntil([&] { return edit->GetText() == L"Orbisk 22"; })) << platform::WideToUtf8(edit->GetText());
  Tool({"xdotool", "key", "--delay", "20", "BackSpace", "Home", "Delete", "shift+End"});
  EXPECT_TRUE(PumpUntil([&] { return edit->Editor().SelectedText() == L"rbisk 2"; }))
      << platform::WideToUtf8(edit->GetText());
  Tool({"xdotool", "type", "--delay", "20", "x"});
  EXPECT_TRUE(PumpUntil([&] { return edit->GetText() == L"x"; })) << platform::WideToUtf8(edit->GetText());
  EXPECT_GE(window_.changes, 12);

  // The read-only field keeps the program's text whatever is typed at it.
  const SkinRect pathText = path->TextRect();
  click = At({pathText.left + 5, (pathText.top + pathText.bottom) / 2});
  Tool({"xdotool", "mousemove", click[0], click[1], "click", "1"});
  ASSERT_TRUE(PumpUntil([&] { return window_.Host().Focus() == path; }));
  Tool({"xdotool", "type", "--delay", "20", "abc"});
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(path->GetText(), L"/opt/Orbisk");
  EXPECT_EQ(edit->GetText(), L"x");
}
