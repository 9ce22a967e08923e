#include "ui/core/skin_paint_pipeline.h"

#include <algorithm>
#include <cstring>

#include "common/base/log.h"
#include "platform/window_system.h"
#include "ui/core/control_ui.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {
// A window that is not layered ("bktrans" 0) is opaque: what no control covers shows the
// window colour.
constexpr std::uint32_t kOpaqueWindowColor = 0xFFFFFFFF;
constexpr SkinColor kShowDirtyColor = 0xFFFF0000;

SkinRect FromWin(const platform::WinRect& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

void CSkinPaintPipeline::Release() {
  bitmap_.clear();
  bitmap_.shrink_to_fit();
  background_.clear();
  background_.shrink_to_fit();
  size_ = {};
}

void CSkinPaintPipeline::Paint(CSkinHost& host) {
  platform::IWindowSystem* ws = host.Ws();
  if (ws == nullptr) return;
  const platform::WindowHandle window = host.window_;
  platform::WinRect update;
  if (!ws->GetUpdateRect(window, &update)) return;
  if (!host.root_) {
    ws->ValidateRect(window);
    return;
  }
  const SkinRect client = FromWin(ws->GetClientRect(window));
  if (host.updateNeeded_ && host.LayoutIfNeeded(client)) Release();  // a new layout draws everything anew
  if (host.window_ == nullptr) return;  // "windowinit" closed the window
  host.ApplyFocusNeeded();
  if (client.IsEmpty() || ws->IsIconic(window)) {
    ws->ValidateRect(window);
    return;
  }

  const SkinSize size{client.Width(), client.Height()};
  SkinRect area;
  if (bitmap_.empty() || size_ != size) {
    bitmap_.assign(static_cast<std::size_t>(size.cx) * size.cy, 0);
    background_.clear();
    size_ = size;
    area = client;
  } else if (host.paintEverything_) {
    area = client;
  } else {
    SkinRect dirty;
    IntersectRect(dirty, host.dirty_, client);
    IntersectRect(area, UnionRect(dirty, FromWin(update)), client);
  }
  host.paintEverything_ = false;
  host.dirty_ = {};
  if (!area.IsEmpty()) {
    Draw(host, area);
    // Layered ("bktrans" 1) windows present at full opacity: their pixels carry the alpha.
    const int mode = host.bkTrans_;
    const int opacity = host.opacity_ > 0 ? host.opacity_ : 255;
    ws->UpdateLayeredWindow(window, bitmap_.data(), size_.cx, size_.cy, size_.cx * 4,
                            static_cast<std::uint8_t>(mode == 1 ? 255 : opacity));
  }
  ws->ValidateRect(window);
  // Something asked for a layout while painting: another pass over the whole window.
  if (host.updateNeeded_) ws->InvalidateRect(window, nullptr);
}

void CSkinPaintPipeline::FillArea(const SkinRect& area, std::uint32_t pixel) {
  for (int y = area.top; y < area.bottom; ++y)
    std::fill_n(bitmap_.data() + static_cast<std::size_t>(y) * size_.cx + area.left, area.Width(), pixel);
}

void CSkinPaintPipeline::Draw(CSkinHost& host, const SkinRect& area) {
  switch (host.bkTrans_) {
    case 1:
      FillArea(area, 0);
      break;
    case 2:
      // The background is kept from when the bitmap was made (nothing lies under a new window);
      // each paint starts the area from it.
      if (background_.size() != bitmap_.size()) background_.assign(bitmap_.size(), 0);
      for (int y = area.top; y < area.bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * size_.cx + area.left;
        std::memcpy(bitmap_.data() + at, background_.data() + at, static_cast<std::size_t>(area.Width()) * 4);
      }
      break;
    default:
      FillArea(area, kOpaqueWindowColor);
      break;
  }
  std::unique_ptr<IRenderCanvas> canvas = CreateRenderCanvas(&host, bitmap_.data(), size_.cx, size_.cy, size_.cx * 4);
  if (!canvas) {
    if (!warnedNoCanvas_) {
      LOG_ERROR << "no canvas factory is installed: the window stays empty";
    }
    warnedNoCanvas_ = true;
    return;
  }
  CRenderClip clip(*canvas, area);
  host.root_->Paint(*canvas, area);
  DrawCaret(host, *canvas, area);
  const std::vector<CControlUI*> overlays = host.postPaint_;
  for (CControlUI* c : overlays) c->PaintOverlay(*canvas);
  if (host.showDirty_) canvas->StrokeRect(area, 1, kShowDirtyColor);
}

void CSkinPaintPipeline::DrawCaret(CSkinHost& host, IRenderCanvas& canvas, const SkinRect& area) {
  if (!host.IsCaretVisible() || host.caretControl_ == nullptr) return;
  SkinRect rc;
  if (!IntersectRect(rc, host.caretRect_, host.caretControl_->Position())) return;
  if (!IntersectRect(rc, rc, area)) return;
  canvas.FillColor(rc, host.DefaultTextColor());
}

void CSkinPaintPipeline::PrintClient(CSkinHost& host, IRenderCanvas& canvas) {
  if (!host.root_) return;
  SkinRect client = host.root_->Position();
  if (platform::IWindowSystem* ws = host.Ws()) client = FromWin(ws->GetClientRect(host.window_));
  host.root_->Paint(canvas, client);
  DrawCaret(host, canvas, client);
}

}  // namespace SkinUI
