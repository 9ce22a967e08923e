// The install folder on the custom-install panel: the space line and what it decides, and the
// folder dialog behind "btn_browser".
#include <fmt/format.h>
#include <fmt/xchar.h>

#include "installer/byte_size_text.h"
#include "installer/install_location.h"
#include "installer/web_inst_wnd.h"
#include "platform/folder_dialog.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/core/control_ui.h"

void CWebInstWnd::OnInstallPathChanged(SkinUI::SkinNotify&) { UpdateSpaceInfo(); }

void CWebInstWnd::UpdateSpaceInfo() {
  if (editInstallPath_ != nullptr) installPath_ = editInstallPath_->GetText();
  const SpaceCheck check = CheckInstallSpace(config_, installPath_, volumeSources_);
  if (SkinUI::CControlUI* line = Find(L"lbl_space")) {
    line->SetText(fmt::format(L"所需空间：{} 可用空间：{}", StrFormatByteSizeW(check.required),
                              StrFormatByteSizeW(check.free)));
    line->SetAttribute(L"style", check.enough ? L"lbl_space" : L"lbl_space_err");
  }
  spaceOk_ = check.enough;
  UpdateInstallButton();
  // The user has to see why the button is off: the panel opens ("chk_custom_install" keeps its
  // state).
  if (!spaceOk_) ShowCustomPanel(true);
}

void CWebInstWnd::OnClickBrowse(SkinUI::SkinNotify&) {
  reporter_.ReportEvent(kEventBrowseClicked);
  platform::FolderDialog dialog;
  // No chooser on this desktop: nothing to show, nothing changes.
  if (!dialog.Start(InstallFolderDialogOptions(installPath_))) return;
  if (!RunModalUntilReadable(dialog.CompletionFd())) dialog.Dismiss();
  const platform::FolderDialogResult result = dialog.Result();
  if (result.outcome != platform::FolderDialogOutcome::kChosen || editInstallPath_ == nullptr) return;
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || handle_ == nullptr || !ws->IsWindow(handle_)) return;
  // Its "textchanged" runs the space check.
  editInstallPath_->SetText(InstallPathForPickedFolder(platform::PathToWide(result.folder), volumeSources_));
}

bool CWebInstWnd::RunModalUntilReadable(int fd) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  const platform::WindowHandle self = handle_;
  if (ws == nullptr || self == nullptr || fd < 0) return false;
  // The dialog is modal: the window takes no input (and no close request) while it is open, but
  // its timers, animations and posted closures go on.
  ws->EnableWindow(self, false);
  bool done = false;
  const int watch = ws->AddFdWatch(fd, [&done, ws, self] {
    done = true;
    ws->PostMessage(self, platform::kWmNull, 0, 0);  // wakes the loop below
    return false;
  });
  if (watch == 0) {
    ws->EnableWindow(self, true);
    return false;
  }
  bool quit = false;
  platform::Message msg;
  while (!done && ws->IsWindow(self)) {
    if (!ws->GetMessage(msg)) {
      quit = true;
      ws->PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      break;
    }
    if (!SkinUI::CSkinHost::TranslateMessage(msg)) ws->DispatchMessage(msg);
  }
  ws->RemoveFdWatch(watch);
  if (ws->IsWindow(self)) {
    ws->EnableWindow(self, true);
    ws->SetFocus(self);
  }
  return done && !quit;
}
