#include "ui/core/window_wnd.h"

#include <algorithm>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "ui/core/skin_host.h"

namespace SkinUI {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() { DestroyNow(); }

void CWindowWnd::DestroyNow() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws != nullptr && handle_ != nullptr && ws->IsWindow(handle_)) ws->DestroyWindow(handle_);
}

const wchar_t* CWindowWnd::WindowClassName() const { return nullptr; }
const wchar_t* CWindowWnd::SuperClassName() const { return nullptr; }
std::uint32_t CWindowWnd::ClassStyle() const { return 0; }

std::intptr_t CWindowWnd::HandleMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr ? ws->DefWindowProc(handle_, message, wParam, lParam) : 0;
}

void CWindowWnd::OnWindowDestroyed(platform::WindowHandle) {}

std::intptr_t CWindowWnd::Procedure::WindowProc(platform::WindowHandle window, std::uint32_t message,
                                                std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == platform::kWmNcCreate) owner_->handle_ = window;
  if (message == platform::kWmNcDestroy) {
    platform::IWindowSystem* ws = platform::WindowSystem();
    const std::intptr_t result = ws->DefWindowProc(window, message, wParam, lParam);
    if (owner_->subclassed_) owner_->Unsubclass();
    owner_->handle_ = nullptr;
    owner_->OnWindowDestroyed(window);  // may delete the object: nothing of it is touched after
    return result;
  }
  return owner_->HandleMessage(message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass() {
  const wchar_t* name = WindowClassName();
  return name != nullptr && name[0] != 0;
}

bool CWindowWnd::RegisterSuperclass() {
  // The superclass's procedure would be the previous procedure; here every class's previous
  // procedure is the window system's default one.
  return RegisterWindowClass();
}

platform::WindowHandle CWindowWnd::Create(platform::WindowHandle parent, const std::wstring& title,
                                          std::uint32_t style, std::uint32_t exStyle, const SkinRect& rc, void* menu) {
  return Create(parent, title, style, exStyle, rc.left, rc.top, rc.Width(), rc.Height(), menu);
}

platform::WindowHandle CWindowWnd::Create(platform::WindowHandle parent, const std::wstring& title,
                                          std::uint32_t style, std::uint32_t exStyle, int x, int y, int width,
                                          int height, void*) {
  const wchar_t* super = SuperClassName();
  const bool registered = super != nullptr && super[0] != 0 ? RegisterSuperclass() : RegisterWindowClass();
  if (!registered) {
    LOG_ERROR << "a window class without a name cannot be registered";
    return nullptr;
  }
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr) {
    LOG_ERROR << "no window system: the window cannot be created";
    return nullptr;
  }
  style_ = style;
  exStyle_ = exStyle;
  platform::CreateParams params;
  params.className = platform::WideToUtf8(WindowClassName());
  params.classStyle = ClassStyle();
  params.title = platform::WideToUtf8(title);
  params.owner = parent;
  params.x = x;
  params.y = y;
  params.width = std::max(width, 0);
  params.height = std::max(height, 0);
  params.procedure = &procedure_;
  params.userData = this;
  platform::WindowHandle window = ws->CreateWindow(params);
  if (window == nullptr) {
    LOG_ERROR << "the window of class " << params.className << " could not be created";
    handle_ = nullptr;
    return nullptr;
  }
  if ((style & kWsVisible) != 0 && ws->IsWindow(window)) ws->ShowWindow(window, platform::ShowCommand::kShowNormal);
  return window;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || handle_ == nullptr) return;
  ws->ShowWindow(handle_, !show          ? platform::ShowCommand::kHide
                          : takeFocus    ? platform::ShowCommand::kShowNormal
                                         : platform::ShowCommand::kShowNoActivate);
}

void CWindowWnd::Close(std::uint32_t result) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || handle_ == nullptr || !ws->IsWindow(handle_)) return;
  ws->PostMessage(handle_, platform::kWmClose, result, 0);
}

void CWindowWnd::CenterOnOwner() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || handle_ == nullptr) return;
  const platform::WinRect self = ws->GetWindowRect(handle_);
  const platform::WinRect work = ws->WorkArea(handle_);
  const platform::WindowHandle owner = ws->Owner(handle_);
  const platform::WinRect ref = owner != nullptr && !ws->IsIconic(owner) ? ws->GetWindowRect(owner) : work;
  const int width = self.Width();
  const int height = self.Height();
  int x = (ref.left + ref.right) / 2 - width / 2;
  int y = (ref.top + ref.bottom) / 2 - height / 2;
  if (x + width > work.right) x = work.right - width;
  if (x < work.left) x = work.left;
  if (y + height > work.bottom) y = work.bottom - height;
  if (y < work.top) y = work.top;
  ws->SetWindowPos(handle_, x, y, 0, 0, platform::kSwpNoSize | platform::kSwpNoZOrder | platform::kSwpNoActivate);
}

std::intptr_t CWindowWnd::SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr && handle_ != nullptr ? ws->SendMessage(handle_, message, wParam, lParam) : 0;
}

bool CWindowWnd::PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr && handle_ != nullptr && ws->PostMessage(handle_, message, wParam, lParam);
}

void CWindowWnd::Unsubclass() { subclassed_ = false; }

std::uint32_t CWindowWnd::ShowModal() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  const platform::WindowHandle self = handle_;
  if (ws == nullptr || self == nullptr || !ws->IsWindow(self)) return 0;
  const platform::WindowHandle owner = ws->Owner(self);
  ws->ShowWindow(self, platform::ShowCommand::kShowNormal);
  if (owner != nullptr) ws->EnableWindow(owner, false);
  bool ownerDisabled = owner != nullptr;
  // The owner gets its input back before the box goes, so the focus returns to it.
  auto restoreOwner = [&] {
    if (!ownerDisabled) return;
    ownerDisabled = false;
    if (!ws->IsWindow(owner)) return;
    ws->EnableWindow(owner, true);
    ws->SetFocus(owner);
  };
  std::uint32_t result = 0;
  bool quit = false;
  int quitCode = 0;
  platform::Message msg;
  while (ws->IsWindow(self)) {
    if (!ws->GetMessage(msg)) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      break;
    }
    const bool closing = msg.window == self && msg.message == platform::kWmClose;
    if (closing) {
      result = static_cast<std::uint32_t>(msg.wParam);
      restoreOwner();
    }
    if (!CSkinHost::TranslateMessage(msg)) ws->DispatchMessage(msg);
    if (closing && owner != nullptr && ws->IsWindow(self) && ws->IsWindow(owner)) {
      // The window refused to close: it stays modal.
      ws->EnableWindow(owner, false);
      ownerDisabled = true;
    }
  }
  restoreOwner();
  if (quit) ws->PostQuitMessage(quitCode);
  return result;
}

}  // namespace SkinUI
