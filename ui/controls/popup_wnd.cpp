#include "ui/controls/popup_wnd.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/core/control_ui.h"

namespace SkinUI {

CPopupWnd::CPopupWnd(CControlUI* owner) : owner_(owner) {}

CPopupWnd::~CPopupWnd() {
  DismissNow();
  StopWatching();
}

bool CPopupWnd::IsOpen() const {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr && handle_ != nullptr && ws->IsWindow(handle_);
}

platform::WinRect CPopupWnd::OwnerScreenRect() const {
  platform::IWindowSystem* ws = platform::WindowSystem();
  CSkinHost* host = owner_ != nullptr ? owner_->Host() : nullptr;
  if (ws == nullptr || host == nullptr || host->Window() == nullptr) return {};
  const SkinRect& rc = owner_->Position();
  const platform::WinPoint origin = ws->ClientToScreen(host->Window(), {rc.left, rc.top});
  return {origin.x, origin.y, origin.x + rc.Width(), origin.y + rc.Height()};
}

platform::WinRect CPopupWnd::Place(const platform::WinRect& anchor, SkinSize size, SkinSize offset,
                                   const platform::WinRect& work) {
  int height = std::max(size.cy, 0);
  const int width = std::clamp(size.cx, 0, std::max(work.Width(), 0));
  const int below = work.bottom - (anchor.bottom + offset.cy);
  const int above = (anchor.top - offset.cy) - work.top;
  int top;
  if (height <= below) {
    top = anchor.bottom + offset.cy;
  } else if (height <= above) {
    top = anchor.top - offset.cy - height;
  } else if (below >= above) {
    height = std::max(below, 0);
    top = anchor.bottom + offset.cy;
  } else {
    height = std::max(above, 0);
    top = anchor.top - offset.cy - height;
  }
  int left = anchor.left + offset.cx;
  if (left + width > work.right) left = work.right - width;
  if (left < work.left) left = work.left;
  return {left, top, left + width, top + height};
}

bool CPopupWnd::Open(std::unique_ptr<CControlUI>& root, const platform::WinRect& screen) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  ownerHost_ = owner_ != nullptr ? owner_->Host() : nullptr;
  if (ws == nullptr || ownerHost_ == nullptr || ownerHost_->Window() == nullptr || IsOpen()) return false;
  if (Create(ownerHost_->Window(), L"", nullptr, kWsPopup, kWsExToolWindow) == nullptr) return false;
  // Fonts, images and styles come from the owner's skin.
  host_.SetParentHost(ownerHost_);
  host_.SetBackgroundTransparency(1);
  host_.SetTakeFocus(false);
  host_.AttachRoot(std::move(root));
  host_.AddNotifier(this);
  ws->SetWindowPos(handle_, screen.left, screen.top, std::max(screen.Width(), 1), std::max(screen.Height(), 1),
                   platform::kSwpNoZOrder | platform::kSwpNoActivate);
  ShowWindow(true, false);
  ownerHost_->AddTranslateAccelerator(&watch_);
  ownerHost_->AddMessageFilter(&watch_);
  watching_ = true;
  return true;
}

void CPopupWnd::Dismiss() {
  if (IsOpen()) Close(0);
}

void CPopupWnd::DismissNow() { DestroyNow(); }

void CPopupWnd::StopWatching() {
  if (!watching_) return;
  watching_ = false;
  ownerHost_->RemoveTranslateAccelerator(&watch_);
  ownerHost_->RemoveMessageFilter(&watch_);
}

bool CPopupWnd::OnOwnerKey(const platform::Message& msg) {
  if (msg.message == platform::kWmKeyDown && msg.wParam == platform::kVkEscape) {
    Dismiss();
    return true;
  }
  return false;
}

void CPopupWnd::OnDismissed() {}

void CPopupWnd::OnWindowDestroyed(platform::WindowHandle window) {
  StopWatching();
  OnDismissed();
  WindowImplBaseNew::OnWindowDestroyed(window);
}

bool CPopupWnd::OwnerWatch::TranslateAccelerator(const platform::Message& msg) {
  if (!popup_->IsOpen()) return false;
  switch (msg.message) {
    case platform::kWmLButtonDown:
    case platform::kWmLButtonDblClk:
    case platform::kWmRButtonDown: {
      popup_->Dismiss();
      // A press on the owner control only closes the popup (it would open it again otherwise).
      const SkinPoint pt{platform::PointX(msg.lParam), platform::PointY(msg.lParam)};
      return popup_->owner_ != nullptr && popup_->owner_->Position().Contains(pt);
    }
    case platform::kWmKeyDown:
    case platform::kWmKeyUp:
    case platform::kWmChar:
    case platform::kWmSysKeyDown:
      return popup_->OnOwnerKey(msg);
    default:
      return false;
  }
}

std::intptr_t CPopupWnd::OwnerWatch::MessageHandler(std::uint32_t message, std::uintptr_t wParam, std::intptr_t,
                                                    bool& handled) {
  handled = false;
  const bool deactivated = message == platform::kWmActivate && wParam == 0;
  if (deactivated || message == platform::kWmKillFocus || message == platform::kWmMove ||
      message == platform::kWmSize || message == platform::kWmClose)
    popup_->Dismiss();
  return 0;
}

}  // namespace SkinUI
