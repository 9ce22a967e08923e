// The host's message tables: what it does with each window message it is given, the filtering
// before dispatch, and the process-wide message loop that routes messages to hosts.
#include "common/base/log.h"
#include "platform/window_messages.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {
// Each filter in turn; the first that handles the message ends it with its result.
bool AskFilters(const std::vector<IMessageFilterUI*>& list, std::uint32_t message, std::uintptr_t wParam,
                std::intptr_t lParam, std::intptr_t& result) {
  const std::vector<IMessageFilterUI*> filters = list;  // a filter may remove itself
  for (IMessageFilterUI* f : filters) {
    bool handled = false;
    const std::intptr_t r = f->MessageHandler(message, wParam, lParam, handled);
    if (handled) {
      result = r;
      return true;
    }
  }
  return false;
}
}  // namespace

bool CSkinHost::MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                               std::intptr_t& result) {
  namespace pf = platform;
  result = 0;
  if (window_ == nullptr || platform::WindowSystem() == nullptr) return false;
  DeliverQueuedNotifications();
  if (AskFilters(messageFilters_, message, wParam, lParam, result)) return true;
  if (window_ == nullptr) return false;  // a filter destroyed the window
  switch (message) {
    case pf::kWmClose:
      OnClose();
      return false;
    case pf::kWmDestroy:
      painter_.Release();
      return false;
    case pf::kWmSize:
      Dispatch(focus_, kEventWindowSize);
      if (root_) root_->RequestLayout();
      updateNeeded_ = true;
      return true;
    case pf::kWmSetFocus:
      if (focus_ != nullptr) {
        Dispatch(focus_, kEventSetFocus);
        SendNotify(focus_, L"setfocus");
      }
      return false;
    case pf::kWmKillFocus:
      if (focus_ != nullptr) {
        Dispatch(focus_, kEventKillFocus);
        SendNotify(focus_, L"killfocus");
      }
      return false;
    case pf::kWmEraseBkgnd:
      result = 1;
      return true;
    case pf::kWmPaint:
      painter_.Paint(*this);
      return true;
    case pf::kWmPrintClient:
      if (lParam == 0) return false;
      painter_.PrintClient(*this, *reinterpret_cast<IRenderCanvas*>(lParam));
      return true;
    case pf::kWmSetCursor: {
      bool handled = false;
      OnSetCursor(lParam, handled);
      if (handled) result = 1;
      return handled;
    }
    case pf::kWmGetMinMaxInfo: {
      auto* info = reinterpret_cast<pf::MinMaxInfo*>(lParam);
      if (info == nullptr) return false;
      if (minTrack_.cx > 0) info->minTrackSize.x = minTrack_.cx;
      if (minTrack_.cy > 0) info->minTrackSize.y = minTrack_.cy;
      if (maxTrack_.cx > 0) info->maxTrackSize.x = maxTrack_.cx;
      if (maxTrack_.cy > 0) info->maxTrackSize.y = maxTrack_.cy;
      return false;
    }
    case pf::kWmContextMenu:
      if (click_ == nullptr) return false;
      OnContextMenu(wParam, lParam);
      return true;
    case pf::kWmKeyDown:
      if (focus_ != nullptr) {
        keyControl_ = focus_;
        Dispatch(focus_, kEventKeyDown, static_cast<std::intptr_t>(wParam), lParam, static_cast<std::uint16_t>(wParam));
      }
      return false;
    case pf::kWmKeyUp:
      if (keyControl_ != nullptr) {
        CControlUI* control = keyControl_;
        keyControl_ = nullptr;
        Dispatch(control, kEventKeyUp, static_cast<std::intptr_t>(wParam), lParam, static_cast<std::uint16_t>(wParam));
      }
      return false;
    case pf::kWmChar:
      Dispatch(focus_, kEventChar, static_cast<std::intptr_t>(wParam), lParam, static_cast<std::uint16_t>(wParam));
      return false;
    case pf::kWmImeStartComposition:
      Dispatch(focus_, kEventImeStartComposition, static_cast<std::intptr_t>(wParam), lParam);
      return false;
    case pf::kWmTimer:
      return DispatchTimer(static_cast<unsigned>(wParam));
    case kMsgDelayedCleanup:
      ProcessDelayedCleanup();
      return true;
    case kMsgCaretBlink:
      OnCaretBlink();
      return true;
    default:
      break;
  }
  // Pointer messages become control events but stay unhandled: the default procedure still
  // sees them (a right-button release brings the context-menu message).
  using PointerHandler = void (CSkinHost::*)(std::uintptr_t, std::intptr_t);
  static const struct {
    std::uint32_t message;
    PointerHandler handler;
  } kPointer[] = {
      {pf::kWmMouseMove, &CSkinHost::OnMouseMove},         {pf::kWmMouseHover, &CSkinHost::OnMouseHover},
      {pf::kWmMouseLeave, &CSkinHost::OnMouseLeave},       {pf::kWmLButtonDown, &CSkinHost::OnLButtonDown},
      {pf::kWmLButtonUp, &CSkinHost::OnLButtonUp},         {pf::kWmLButtonDblClk, &CSkinHost::OnLButtonDblClk},
      {pf::kWmRButtonDown, &CSkinHost::OnRButtonDown},     {pf::kWmRButtonUp, &CSkinHost::OnRButtonUp},
      {pf::kWmMouseWheel, &CSkinHost::OnMouseWheel},
  };
  for (const auto& p : kPointer) {
    if (p.message == message) {
      (this->*p.handler)(wParam, lParam);
      return false;
    }
  }
  return false;
}

void CSkinHost::OnClose() {
  // The window is going: the pointer leaves every control and a press in progress ends here.
  CControlUI* hover = hover_;
  hover_ = nullptr;
  Dispatch(hover, kEventMouseLeave);
  if (click_ != nullptr) {
    CControlUI* click = click_;
    click_ = nullptr;
    buttonDown_ = false;
    ReleaseCapture();
    Dispatch(click, kEventButtonUp);
  }
  SetFocus(nullptr);
  platform::IWindowSystem* ws = Ws();
  if (ws == nullptr || !takeFocus_) return;
  if (platform::WindowHandle owner = ws->Owner(window_); owner != nullptr && ws->IsWindowEnabled(owner))
    ws->SetFocus(owner);
}

bool CSkinHost::PreMessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                  std::intptr_t& result) {
  namespace pf = platform;
  result = 0;
  if (AskFilters(preMessageFilters_, message, wParam, lParam, result)) return true;
  switch (message) {
    case pf::kWmKeyDown: {
      if (wParam != pf::kVkTab) return false;
      if (focus_ != nullptr && focus_->IsVisible() && focus_->IsEnabled() &&
          std::wstring(focus_->ClassName()).find(L"RichEdit") != std::wstring::npos) {
        auto* editor = static_cast<IWantTabUI*>(focus_->AsInterface(L"WantTab"));
        if (editor != nullptr && editor->IsWantTab()) return false;  // the editor types the Tab
      }
      platform::IWindowSystem* ws = platform::WindowSystem();
      MoveFocus(ws == nullptr || !ws->IsKeyDown(pf::kVkShift));
      return true;
    }
    case pf::kWmSysKeyDown:
      if (focus_ != nullptr)
        Dispatch(focus_, kEventSysKey, static_cast<std::intptr_t>(wParam), lParam, static_cast<std::uint16_t>(wParam));
      return false;
    case pf::kWmSysChar:
      return OnSysChar(wParam);
    case pf::kWmTimer:
      // The caret blinks through the host's own message, handled after whatever is queued.
      if (wParam == kCaretBlinkTimerId) PostToWindow(kMsgCaretBlink);
      return false;
    default:
      return false;
  }
}

bool CSkinHost::TranslateAccelerator(const platform::Message& msg) {
  const std::vector<ITranslateAcceleratorUI*> list = accelerators_;
  for (ITranslateAcceleratorUI* t : list)
    if (t->TranslateAccelerator(msg)) return true;
  return false;
}

bool CSkinHost::TranslateMessage(const platform::Message& msg) {
  // Windows here have no child windows: a message belongs to the host of its own window.
  CSkinHost* host = HostOf(msg.window);
  if (host == nullptr) return false;
  if (host->TranslateAccelerator(msg)) return true;
  std::intptr_t result = 0;
  return host->PreMessageHandler(msg.message, msg.wParam, msg.lParam, result);
}

void CSkinHost::MessageLoop() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr) {
    LOG_ERROR << "the message loop needs a window system";
    return;
  }
  platform::Message msg;
  while (ws->GetMessage(msg)) {
    if (!TranslateMessage(msg)) ws->DispatchMessage(msg);
  }
}

}  // namespace SkinUI
