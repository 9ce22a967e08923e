#pragma once
// The installer window, which is also the controller of the whole run: the download
// configuration it is started with, its skinned window ("xml\inst\wnd.xml") on the welcome step,
// and the named controls the steps of the run work with.
#include <cstdint>
#include <string>

#include "installer/config_record.h"
#include "ui/core/notify_pump.h"
#include "ui/core/window_impl_base.h"

namespace SkinUI {
class CControlUI;
class CFadeSequenceUI;
class CProgressUI;
class CRichEditUI;
class CTabLayoutUI;
}  // namespace SkinUI

class CWebInstWnd : public SkinUI::WindowImplBaseNew, public SkinUI::CNotifyPump {
 public:
  static constexpr const wchar_t* kClassName = L"QuilloryInstWndCls";
  static constexpr const wchar_t* kSkinFile = L"xml\\inst\\wnd.xml";
  static constexpr const wchar_t* kTitle = L"Vellumo安装程序";
  // WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX.
  static constexpr std::uint32_t kStyle = SkinUI::kWsPopup | SkinUI::kWsSysMenu | SkinUI::kWsMinimizeBox;

  // No native window yet; the object may be destroyed without ever having one.
  CWebInstWnd();
  ~CWebInstWnd() override;

  // Fetches and parses the download configuration from the configuration server, synchronously.
  // The launch context's product, channel and version go into the query. True when the document
  // was fetched and accepted completely; otherwise the failure is logged at ERROR and the record
  // stays empty.
  bool RequestConfig();

  const ConfigRecord& config() const { return config_; }

  // ---- hooks of the window base, in its slot order ----------------------------------------------
  const wchar_t* WindowClassName() const override;
  // The native window is gone: the base's clean-up, then the quit message that ends the message
  // loop of the run (a window whose creation was refused ends no loop).
  void OnWindowDestroyed(platform::WindowHandle window) override;
  // The layout is built: looks up the controls the run works with and starts the slideshow.
  void OnInitialize() override;
  // A skin that gives no content refuses the creation: an empty window could not even be closed.
  std::intptr_t OnCreate(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, bool& handled) override;
  std::wstring SkinFile() const override;
  // Enter and Escape do nothing in this window (the base would close it on Escape).
  std::intptr_t OnDefaultKey(std::uintptr_t key) override;

  // Notifications go through the notify map.
  void Notify(SkinUI::SkinNotify& msg) override;

 protected:
  const SkinUI::NotifyMap* GetNotifyMap() const override;

 private:
  ConfigRecord config_;
  bool created_ = false;  // the native window was created with its content

  // Looked up once at initialisation; none when the skin lacks the control.
  SkinUI::CControlUI* lblDlPercent_ = nullptr;  // "lbl_dl_precent"
  SkinUI::CControlUI* lblDlSpeed_ = nullptr;
  SkinUI::CControlUI* lblDlStat_ = nullptr;
  SkinUI::CControlUI* lblDlSize_ = nullptr;
  SkinUI::CProgressUI* progDownload_ = nullptr;
  SkinUI::CControlUI* lblInstPercent_ = nullptr;  // "lbl_inst_precent"
  SkinUI::CRichEditUI* editInstallPath_ = nullptr;
  SkinUI::CTabLayoutUI* tabMain_ = nullptr;
  SkinUI::CTabLayoutUI* tabBottom_ = nullptr;
  SkinUI::CTabLayoutUI* tabDlOp_ = nullptr;
  SkinUI::CFadeSequenceUI* seqIntroduce_ = nullptr;
};
