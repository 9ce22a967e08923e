#include "installer/web_inst_wnd.h"

#include "common/base/http_client.h"
#include "common/base/log.h"
#include "common/base/server_addresses.h"
#include "installer/install_location.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "stats/launch_context.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/rich_edit_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/tab_layout_ui.h"

namespace {

// The control of that name as a T; none (logged) when the skin has no such control or it is of
// another kind.
template <class T>
T* FindControl(SkinUI::CSkinHost& host, const wchar_t* name) {
  SkinUI::CControlUI* control = host.FindControlByName(name);
  T* typed = dynamic_cast<T*>(control);
  if (typed == nullptr) {
    LOG_ERROR << "the installer window's skin has no control " << platform::WideToUtf8(name)
              << (control != nullptr ? " of the expected kind" : "");
  }
  return typed;
}

}  // namespace

CWebInstWnd::CWebInstWnd() = default;

// The worker and the reporter stop in their own destructors (after OnDestroy they already have);
// the engine releases the transfer and the digest provider.
CWebInstWnd::~CWebInstWnd() = default;

bool CWebInstWnd::RequestConfig() {
  const LaunchContext& context = TheLaunchContext();
  KwrBase::HttpResponse response =
      KwrBase::HttpGet(ConfigRequestUrl(KwrBase::ConfigServer(), context.appId, context.unionId, context.versionText));
  if (response.error.code != 0) {
    LOG_ERROR << response.error.message;
    return false;
  }
  ConfigParseResult parsed = ParseConfigDocument(response.text);
  if (!parsed.record) {
    LOG_ERROR << parsed.error;
    return false;
  }
  config_ = std::move(*parsed.record);
  return true;
}

void CWebInstWnd::PostToUi(std::function<void()> closure) { PostClosure(uiWindow_.load(), std::move(closure)); }

// ---- hooks ----------------------------------------------------------------------------------------

const wchar_t* CWebInstWnd::WindowClassName() const { return kClassName; }

void CWebInstWnd::OnWindowDestroyed(platform::WindowHandle window) {
  WindowImplBaseNew::OnWindowDestroyed(window);
  if (!created_) return;
  created_ = false;
  if (platform::IWindowSystem* ws = platform::WindowSystem()) ws->PostQuitMessage(0);
}

void CWebInstWnd::OnInitialize() {
  using namespace SkinUI;
  // A skin without content: the creation is refused right after this, nothing to start.
  if (host_.Root() == nullptr) return;
  uiWindow_.store(handle_);
  InstallPostedClosureDiscardHook(*platform::WindowSystem());
  worker_.Start();
  reporter_.Init(&TheLaunchContext());

  lblDlPercent_ = FindControl<CControlUI>(host_, L"lbl_dl_precent");
  lblDlSpeed_ = FindControl<CControlUI>(host_, L"lbl_dl_speed");
  lblDlStat_ = FindControl<CControlUI>(host_, L"lbl_dl_stat");
  lblDlSize_ = FindControl<CControlUI>(host_, L"lbl_dl_size");
  progDownload_ = FindControl<CProgressUI>(host_, L"prog_download");
  lblInstPercent_ = FindControl<CControlUI>(host_, L"lbl_inst_precent");
  editInstallPath_ = FindControl<CRichEditUI>(host_, L"edit_install_path");
  tabMain_ = FindControl<CTabLayoutUI>(host_, L"tab_main");
  tabBottom_ = FindControl<CTabLayoutUI>(host_, L"tab_bottom");
  tabDlOp_ = FindControl<CTabLayoutUI>(host_, L"tab_dl_op");

  // The slideshow runs from here until the window goes.
  if (auto* slides = FindControl<CFadeSequenceUI>(host_, L"seq_introduce")) slides->Start();

  // Setting the text reports "textchanged", which runs the space check too; the check below is
  // the one initialisation relies on (also when the field is missing).
  if (editInstallPath_ != nullptr) editInstallPath_->SetText(DefaultInstallPath(GetDefaultInstallRoot(volumeSources_)));
  UpdateSpaceInfo();
  reporter_.ReportEvent(kEventWindowReady);
}

std::intptr_t CWebInstWnd::OnTimer(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                   bool& handled) {
  if (wParam != kProgressTimerId) return WindowImplBaseNew::OnTimer(message, wParam, lParam, handled);
  RefreshProgress();
  return 0;
}

std::intptr_t CWebInstWnd::OnCreate(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                    bool& handled) {
  const std::intptr_t result = WindowImplBaseNew::OnCreate(message, wParam, lParam, handled);
  if (host_.Root() == nullptr) {
    LOG_ERROR << "the installer window has no content: its skin " << platform::WideToUtf8(kSkinFile)
              << " did not load";
    return -1;
  }
  created_ = true;
  return result;
}

std::intptr_t CWebInstWnd::OnOtherMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                          bool& handled) {
  if (message != kMsgRunClosure) return WindowImplBaseNew::OnOtherMessage(message, wParam, lParam, handled);
  RunPostedClosure(wParam, lParam);
  return 0;
}

std::wstring CWebInstWnd::SkinFile() const { return kSkinFile; }

std::intptr_t CWebInstWnd::OnDefaultKey(std::uintptr_t key) {
  if (key == platform::kVkReturn || key == platform::kVkEscape) return 0;
  return WindowImplBaseNew::OnDefaultKey(key);
}

void CWebInstWnd::Notify(SkinUI::SkinNotify& msg) { NotifyPump(msg); }

std::intptr_t CWebInstWnd::MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                          bool& handled) {
  const std::intptr_t result = WindowImplBaseNew::MessageHandler(message, wParam, lParam, handled);
  if (message == platform::kWmKeyDown && (wParam == platform::kVkReturn || wParam == platform::kVkEscape))
    handled = true;
  return result;
}

const SkinUI::NotifyMap* CWebInstWnd::GetNotifyMap() const {
  static const SkinUI::NotifyMap map = SkinUI::NotifyMap::Of<CWebInstWnd>(
      CNotifyPump::GetNotifyMap(), {
                                       {L"click", L"btn_close", &CWebInstWnd::OnClickClose},
                                       {L"click", L"btn_min", &CWebInstWnd::OnClickMin},
                                       {L"click", L"btn_go_step1", &CWebInstWnd::OnClickInstall},
                                       {L"selectchanged", L"chk_custom_install", &CWebInstWnd::OnCustomInstallChanged},
                                       {L"link", L"txt_lic", &CWebInstWnd::OnLicenceLink},
                                       {L"selectchanged", L"chk_lic", &CWebInstWnd::OnLicenceChanged},
                                       {L"textchanged", L"edit_install_path", &CWebInstWnd::OnInstallPathChanged},
                                       {L"click", L"btn_browser", &CWebInstWnd::OnClickBrowse},
                                       {L"click", L"btn_launch", &CWebInstWnd::OnClickLaunch},
                                       {L"click", L"btn_dl_pause", &CWebInstWnd::OnClickPause},
                                       {L"click", L"btn_dl_resume", &CWebInstWnd::OnClickResume},
                                       {L"click", L"btn_dl_re-download", &CWebInstWnd::OnClickRedownload},
                                   });
  return &map;
}

// ---- helpers --------------------------------------------------------------------------------------

SkinUI::CControlUI* CWebInstWnd::Find(const wchar_t* name) const { return host_.FindControlByName(name); }

bool CWebInstWnd::IsSelected(const wchar_t* name) const {
  auto* option = dynamic_cast<SkinUI::COptionUI*>(Find(name));
  return option != nullptr && option->IsSelected();
}

void CWebInstWnd::SelectPage(SkinUI::CTabLayoutUI* tab, int page) {
  if (tab != nullptr) tab->SelectItem(page);
}

void CWebInstWnd::SetStyle(const wchar_t* control, const wchar_t* style) {
  if (SkinUI::CControlUI* c = Find(control)) c->SetAttribute(L"style", style);
}

void CWebInstWnd::SetProgressTimer(bool running) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || handle_ == nullptr) return;
  if (running)
    ws->SetTimer(handle_, kProgressTimerId, kProgressTimerPeriod);
  else
    ws->KillTimer(handle_, kProgressTimerId);
}
