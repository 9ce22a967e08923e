#include "installer/web_inst_wnd.h"

#include "common/base/http_client.h"
#include "common/base/log.h"
#include "common/base/server_addresses.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "stats/launch_context.h"
#include "ui/controls/fade_sequence_ui.h"
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

const wchar_t* CWebInstWnd::WindowClassName() const { return kClassName; }

void CWebInstWnd::OnWindowDestroyed(platform::WindowHandle window) {
  WindowImplBaseNew::OnWindowDestroyed(window);
  if (!created_) return;
  created_ = false;
  if (platform::IWindowSystem* ws = platform::WindowSystem()) ws->PostQuitMessage(0);
}

void CWebInstWnd::OnInitialize() {
  using namespace SkinUI;
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
  seqIntroduce_ = FindControl<CFadeSequenceUI>(host_, L"seq_introduce");
  if (seqIntroduce_ != nullptr) seqIntroduce_->Start();
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

std::wstring CWebInstWnd::SkinFile() const { return kSkinFile; }

std::intptr_t CWebInstWnd::OnDefaultKey(std::uintptr_t key) {
  if (key == platform::kVkReturn || key == platform::kVkEscape) return 0;
  return WindowImplBaseNew::OnDefaultKey(key);
}

void CWebInstWnd::Notify(SkinUI::SkinNotify& msg) { NotifyPump(msg); }

const SkinUI::NotifyMap* CWebInstWnd::GetNotifyMap() const {
  // The handlers of the run's steps enter their rows here.
  static const SkinUI::NotifyMap map = SkinUI::NotifyMap::Of<CWebInstWnd>(CNotifyPump::GetNotifyMap(), {});
  return &map;
}
