// How the installer window ends: the title-bar buttons, the confirmation before an unfinished
// installation is abandoned, the orderly stop of background work, and the launch of the
// installed program.
#include <thread>

#include "installer/main_program_launch.h"
#include "installer/message_box_wnd.h"
#include "installer/web_inst_wnd.h"
#include "platform/window_messages.h"
#include "ui/controls/sequence_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/tab_layout_ui.h"

void CWebInstWnd::OnClickClose(SkinUI::SkinNotify&) {
  reporter_.ReportEvent(kEventCloseClicked);
  Close(CloseCode());
}

void CWebInstWnd::OnClickMin(SkinUI::SkinNotify&) { SendMessage(platform::kWmSysCommand, platform::kScMinimize, 0); }

std::uint32_t CWebInstWnd::CloseCode() const {
  const bool finished = tabMain_ != nullptr && tabMain_->CurrentSel() == 1 && tabBottom_ != nullptr &&
                        tabBottom_->CurrentSel() == 2;
  return finished ? kCloseWithoutAsking : kCloseAsking;
}

std::intptr_t CWebInstWnd::OnSysCommand(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                        bool& handled) {
  // Alt+F4 and the window manager's close button: the window's own close; the base then swallows
  // the command, so no second close follows.
  if ((wParam & 0xFFF0) == platform::kScClose) Close(CloseCode());
  return WindowImplBaseNew::OnSysCommand(message, wParam, lParam, handled);
}

std::intptr_t CWebInstWnd::OnClose(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                   bool& handled) {
  SkinUI::CControlUI* closeButton = Find(L"btn_close");
  if (wParam != kCloseWithoutAsking && closeButton != nullptr && closeButton->IsEnabled()) {
    MessageBoxSpec spec;
    spec.owner = handle_;
    spec.caption = L"提示";
    spec.text = L"您确定退出应用安装程序？";
    spec.buttons[0] = L"确认";
    spec.buttons[1] = L"取消";
    spec.defaultButton = 1;
    spec.closeEnabled = true;
    // "取消" (also Enter, the default) keeps the window; "确认", the box's close button and Escape
    // let it close.
    if (ShowMessageBox(spec) == kResultButton1) return 0;
  }
  // The base lets the request go on to the default handling, which destroys the window.
  return WindowImplBaseNew::OnClose(message, wParam, lParam, handled);
}

std::intptr_t CWebInstWnd::OnDestroy(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                     bool& handled) {
  // The window is already off the screen. A running transfer, paused or not, ends at its next
  // block or progress call; no further attempt starts.
  download_.SetClosing();
  // Waits for the closure the worker is running: the end of a transfer (and its failure steps),
  // a package installer until it exits, a launch it has taken.
  if (worker_.WorkerId() != std::thread::id()) worker_.Stop();
  // A launch queued behind work the worker was still doing (the clean-up after the
  // installation) was dropped by the stop: it is carried out here.
  LaunchMainProgram();
  if (auto* slides = dynamic_cast<SkinUI::CSequenceUI*>(Find(L"seq_introduce"))) slides->Stop(true);
  reporter_.ReportEvent(kEventWindowDestroyed);
  reporter_.Stop();
  return WindowImplBaseNew::OnDestroy(message, wParam, lParam, handled);
}

void CWebInstWnd::OnClickLaunch(SkinUI::SkinNotify&) {
  reporter_.ReportEvent(kEventLaunchClicked);
  launchRequested_.store(true);
  worker_.Post([this] { LaunchMainProgram(); });
  Close(kCloseWithoutAsking);
}

void CWebInstWnd::LaunchMainProgram() {
  if (!launchRequested_.exchange(false)) return;
  // The install folder is frozen since the install button; failures are logged and otherwise
  // silent: the installer closes anyway.
  LaunchInstalledProgram(installPath_, config_.starup);
}
