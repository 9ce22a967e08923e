// The skinned message box on the in-memory desktop: how each control and key ends it, what its
// spec shows, and its modality toward an owner.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "installer/message_box_wnd.h"
#include "platform/window_messages.h"
#include "tests/installer/headless_ui_fixture.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/core/skin_builder.h"

using namespace SkinUI;

namespace {

constexpr const char* kBoxClass = "OrbiskMsgBoxWndCls";

// The two boxes the installer shows.
MessageBoxSpec StartupFailure() {
  MessageBoxSpec spec;
  spec.caption = L"Zephrin初始化错误";
  spec.text = L"请检查网络或硬件设备是否正常";
  spec.buttons[0] = L"确认";
  return spec;
}
MessageBoxSpec ExitConfirmation() {
  MessageBoxSpec spec;
  spec.caption = L"提示";
  spec.text = L"正在安装中，确定要退出吗？";
  spec.buttons[0] = L"确认";
  spec.buttons[1] = L"取消";
  spec.defaultButton = 1;
  return spec;
}

// A plain window standing in for the installer window as the box's owner; it records the
// messages it gets.
class OwnerWindow : public platform::IWindowProcedure {
 public:
  explicit OwnerWindow(platform::HeadlessWindowSystem& ws) : ws_(ws) {
    platform::CreateParams p;
    p.className = "OwnerWnd";
    p.x = 100;
    p.y = 50;
    p.width = 819;
    p.height = 574;
    p.procedure = this;
    handle = ws.CreateWindow(p);
    ws.ShowWindow(handle, platform::ShowCommand::kShowNormal);
  }
  std::intptr_t WindowProc(platform::WindowHandle w, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override {
    if (message >= platform::kWmUser) posted.push_back(message);
    return ws_.DefWindowProc(w, message, wParam, lParam);
  }
  platform::HeadlessWindowSystem& ws_;
  platform::WindowHandle handle = nullptr;
  std::vector<std::uint32_t> posted;
};

class MessageBoxTest : public testsupport::HeadlessUi {
 protected:
  platform::WindowHandle Box() const { return WindowOfClass(kBoxClass); }
};

struct EndCase {
  const char* name;
  MessageBoxSpec (*spec)();
  const wchar_t* click;  // the control clicked, or none for a key
  int key;
  std::uint32_t result;
};

TEST_F(MessageBoxTest, EachControlAndKeyEndsTheBoxWithItsBit) {
  const EndCase cases[] = {
      {"failure box: its button", &StartupFailure, L"btn0", 0, kResultButton0},
      {"failure box: Enter chooses the default", &StartupFailure, nullptr, platform::kVkReturn, kResultButton0},
      {"failure box: the close button", &StartupFailure, L"btn_close", 0, kResultClose},
      {"failure box: Escape", &StartupFailure, nullptr, platform::kVkEscape, kResultClose},
      {"confirmation: first button", &ExitConfirmation, L"btn0", 0, kResultButton0},
      {"confirmation: second button", &ExitConfirmation, L"btn1", 0, kResultButton1},
      {"confirmation: Enter chooses the default second", &ExitConfirmation, nullptr, platform::kVkReturn,
       kResultButton1},
      {"confirmation: Escape", &ExitConfirmation, nullptr, platform::kVkEscape, kResultClose},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    steps.push_back([&] {
      if (c.click != nullptr)
        ClickControl(Box(), c.click);
      else
        ws.KeyPress(c.key, c.key == platform::kVkReturn ? U'\r' : U'\x1b');
    });
    const MessageBoxSpec spec = c.spec();
    EXPECT_EQ(ShowMessageBox(spec), c.result);
    EXPECT_EQ(Box(), nullptr) << "the box is gone";
    EXPECT_TRUE(steps.empty());
    steps.clear();
  }
  EXPECT_EQ(ws.DryRuns(), 0u) << "every box ended by its own control or key";
}

TEST_F(MessageBoxTest, TheBoxIsTheSkinsSizeCentredAndShowsWhatTheSpecAsks) {
  MessageBoxSpec spec = StartupFailure();
  steps.push_back([&] {
    platform::WindowHandle box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(ws.IsVisible(box));
    EXPECT_EQ(ws.GetWindowRect(box), (platform::WinRect{474, 299, 474 + 333, 299 + 203})) << "centred on the screen";
    EXPECT_EQ(ws.TitleOf(box), "");
    auto* caption = static_cast<CLabelUI*>(Control(box, L"lbl_caption"));
    auto* text = static_cast<CLabelUI*>(Control(box, L"lbl_text"));
    auto* ok = static_cast<CButtonUI*>(Control(box, L"btn0"));
    auto* second = Control(box, L"btn1");
    auto* close = Control(box, L"btn_close");
    EXPECT_TRUE(caption->IsVisible());
    EXPECT_EQ(caption->GetText(), L"Zephrin初始化错误");
    EXPECT_TRUE(text->IsVisible());
    EXPECT_EQ(text->GetText(), L"请检查网络或硬件设备是否正常");
    EXPECT_TRUE(ok->IsVisible());
    EXPECT_EQ(ok->GetText(), L"确认");
    EXPECT_EQ(ok->TextColor(), 0xFFFFFFFFu) << "drawn as the default (btn_msgbox_def)";
    EXPECT_EQ(ok->NormalImage().file, L"img\\msgbox\\btn_blue.png");
    EXPECT_TRUE(ok->IsFocused());
    EXPECT_FALSE(second->IsVisible()) << "no text for it";
    EXPECT_TRUE(close->IsEnabled());
    ws.KeyPress(platform::kVkReturn, U'\r');
  });
  EXPECT_EQ(ShowMessageBox(spec), kResultButton0);
}

TEST_F(MessageBoxTest, WithCloseDisabledEscapeAndTheCloseButtonDoNothing) {
  MessageBoxSpec spec = ExitConfirmation();
  spec.closeEnabled = false;
  steps.push_back([&] {
    EXPECT_FALSE(Control(Box(), L"btn_close")->IsEnabled());
    ws.KeyPress(platform::kVkEscape, U'\x1b');
  });
  steps.push_back([&] { ClickControl(Box(), L"btn_close"); });
  steps.push_back([&] {
    ASSERT_NE(Box(), nullptr) << "still open";
    ws.KeyPress(platform::kVkReturn, U'\r');
  });
  EXPECT_EQ(ShowMessageBox(spec), kResultButton1);
  EXPECT_EQ(ws.DryRuns(), 0u);
}

TEST_F(MessageBoxTest, EnterOnAnotherFocusedButtonStillGivesOneChoice) {
  // Shift+Tab moves the focus from the default "取消" back to "确认"; Enter reaches both the box
  // (the default) and the focused button, but the box reports one choice.
  MessageBoxSpec spec = ExitConfirmation();
  steps.push_back([&] {
    ws.KeyDown(platform::kVkShift);
    ws.KeyPress(platform::kVkTab);
    ws.KeyUp(platform::kVkShift);
  });
  steps.push_back([&] {
    EXPECT_TRUE(Control(Box(), L"btn0")->IsFocused());
    ws.KeyPress(platform::kVkReturn, U'\r');
  });
  EXPECT_EQ(ShowMessageBox(spec), kResultButton1);
}

TEST_F(MessageBoxTest, CaptionTextAndButtonsFollowTheSpec) {
  struct Case {
    const char* name;
    std::optional<std::wstring> caption, text, button1;
    bool captionShown, textShown, button1Shown;
  } cases[] = {
      {"an empty caption still shows the caption line with its icon", L"", L"t", L"b", true, true, true},
      {"a missing caption hides it", std::nullopt, L"t", L"b", false, true, true},
      {"a missing text hides it", L"c", std::nullopt, L"b", true, false, true},
      {"an empty button text hides that button", L"c", L"t", L"", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxSpec spec;
    spec.caption = c.caption;
    spec.text = c.text;
    spec.buttons[0] = L"确认";
    spec.buttons[1] = c.button1;
    steps.push_back([&] {
      CControlUI* caption = Control(Box(), L"lbl_caption");
      EXPECT_EQ(caption->IsVisible(), c.captionShown);
      EXPECT_EQ(caption->BkImage().file, L"img\\msgbox\\icon_warning.png");
      EXPECT_EQ(Control(Box(), L"lbl_text")->IsVisible(), c.textShown);
      EXPECT_EQ(Control(Box(), L"btn1")->IsVisible(), c.button1Shown);
      ClickControl(Box(), L"btn0");
    });
    EXPECT_EQ(ShowMessageBox(spec), kResultButton0);
  }
}

TEST_F(MessageBoxTest, TheSkinAloneShowsNoButtonAndAnEnabledCloseButton) {
  // Before the box's initialisation: the layout as built. "enable" on the close button is no
  // attribute, so it starts enabled; both buttons start hidden.
  SkinUI::SkinArchiveRegistry::Instance().RegisterFromModuleResource(kSkinArchiveId, kSkinArchiveType, true);
  CSkinHost host;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root = builder.Build(CMessageBoxWnd::kSkinFile, nullptr, nullptr, &host);
  ASSERT_NE(root, nullptr);
  host.AttachRoot(std::move(root));
  EXPECT_FALSE(host.FindControlByName(L"btn0")->IsVisible());
  EXPECT_FALSE(host.FindControlByName(L"btn1")->IsVisible());
  EXPECT_FALSE(host.FindControlByName(L"lbl_caption")->IsVisible());
  EXPECT_FALSE(host.FindControlByName(L"lbl_text")->IsVisible());
  EXPECT_TRUE(host.FindControlByName(L"btn_close")->IsEnabled());
}

TEST_F(MessageBoxTest, TheOwnerIsDisabledWhileItsPostedWorkGoesOn) {
  OwnerWindow owner(ws);
  ws.PumpMessages();
  MessageBoxSpec spec = ExitConfirmation();
  spec.owner = owner.handle;
  steps.push_back([&] {
    platform::WindowHandle box = Box();
    EXPECT_EQ(ws.Owner(box), owner.handle);
    EXPECT_FALSE(ws.IsWindowEnabled(owner.handle));
    const platform::WinRect rc = ws.GetWindowRect(box);
    EXPECT_EQ(rc.left, 100 + 819 / 2 - 333 / 2) << "centred on the owner";
    EXPECT_EQ(rc.top, 50 + 574 / 2 - 203 / 2);
    // Work finished on another thread reaches the owner while the box is open.
    ws.PostMessage(owner.handle, 0x8400, 0, 0);
    // The owner ignores the mouse.
    ws.Click(owner.handle, 10, 10);
  });
  steps.push_back([&] {
    EXPECT_EQ(owner.posted, std::vector<std::uint32_t>{0x8400});
    ClickControl(Box(), L"btn0");
  });
  EXPECT_EQ(ShowMessageBox(spec), kResultButton0);
  EXPECT_TRUE(ws.IsWindowEnabled(owner.handle));
  EXPECT_EQ(ws.GetFocus(), owner.handle);
  ws.DestroyWindow(owner.handle);
}

TEST_F(MessageBoxTest, ABoxWhoseOwnerGoesAwayEndsWithNoBit) {
  OwnerWindow owner(ws);
  MessageBoxSpec spec = StartupFailure();
  spec.owner = owner.handle;
  steps.push_back([&] { ws.DestroyWindow(owner.handle); });
  EXPECT_EQ(ShowMessageBox(spec), 0u);
  EXPECT_EQ(Box(), nullptr);
}

TEST_F(MessageBoxTest, WithoutAWindowSystemNoBoxIsShown) {
  platform::SetWindowSystem(nullptr);
  EXPECT_EQ(ShowMessageBox(StartupFailure()), 0u);
  EXPECT_TRUE(ws.Windows().empty());
}

}  // namespace
