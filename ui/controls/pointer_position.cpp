#include "ui/controls/pointer_position.h"

#include "platform/window_system.h"

namespace SkinUI {

SkinPoint PointerPosition(const CSkinHost* host, SkinPoint fallback) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (host == nullptr || ws == nullptr || host->Window() == nullptr || !ws->IsWindow(host->Window())) return fallback;
  const platform::WinPoint pt = ws->ScreenToClient(host->Window(), ws->CursorPos());
  return {pt.x, pt.y};
}

}  // namespace SkinUI
