#include "ui/core/skin_tooltip.h"

#include <algorithm>

#include "platform/window_messages.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {
CSkinTooltip::TextMeasurer g_textMeasurer = nullptr;

constexpr unsigned kWordBreak = 0x10;
constexpr unsigned kCalcRect = 0x400;
constexpr int kBelowPointer = 20;  // clear of the cursor, so the popup never sits under the pointer
constexpr int kFallbackWidth = 300;
}  // namespace

void CSkinTooltip::SetTextMeasurer(TextMeasurer measurer) { g_textMeasurer = measurer; }

CSkinTooltip::CSkinTooltip(CSkinHost* host) : host_(host) {}

CSkinTooltip::~CSkinTooltip() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws != nullptr && window_ != nullptr && ws->IsWindow(window_)) ws->DestroyWindow(window_);
}

unsigned CSkinTooltip::InitialDelay() const {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr ? ws->DoubleClickTime() : 500;
}

bool CSkinTooltip::IsVisible() const {
  platform::IWindowSystem* ws = platform::WindowSystem();
  return ws != nullptr && window_ != nullptr && ws->IsVisible(window_);
}

void CSkinTooltip::Hide() {
  if (IsVisible()) platform::WindowSystem()->ShowWindow(window_, platform::ShowCommand::kHide);
}

SkinSize CSkinTooltip::MeasureText(int maxWidth) const {
  const int textWidth = std::max(maxWidth, 1);
  if (g_textMeasurer != nullptr) {
    SkinRect rc{0, 0, textWidth, 0};
    g_textMeasurer(nullptr, host_, rc, text_, kText, -1, kWordBreak | kCalcRect);
    return {std::min(rc.Width(), textWidth), rc.Height()};
  }
  // From the default font's metrics: the longest line, and one line height per line.
  const SkinFontInfo& font = host_->DefaultFontInfo();
  int lines = 1;
  std::size_t longest = 0, current = 0;
  for (wchar_t ch : text_) {
    if (ch == L'\n') {
      ++lines;
      current = 0;
    } else if (ch != L'\r') {
      longest = std::max(longest, ++current);
    }
  }
  const int width = static_cast<int>(std::min<std::size_t>(longest * std::max(font.aveCharWidth, 1), textWidth));
  return {width, lines * std::max(font.height, 1)};
}

void CSkinTooltip::Show(const std::wstring& text, int maxWidth, const SkinRect& toolRect, SkinPoint at) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || host_->Window() == nullptr) return;
  text_ = text;
  toolRect_ = toolRect;
  const int frame = 1 + kPadding;
  const SkinSize textSize = MeasureText((maxWidth > 2 * frame ? maxWidth : kFallbackWidth) - 2 * frame);
  const SkinSize size{textSize.cx + 2 * frame, textSize.cy + 2 * frame};
  if (window_ == nullptr) {
    platform::CreateParams params;
    params.className = "SkinTooltip";
    params.kind = platform::WindowKind::kPopup;
    params.owner = host_->Window();
    params.width = size.cx;
    params.height = size.cy;
    params.procedure = this;
    window_ = ws->CreateWindow(params);
    if (window_ == nullptr) return;
  }
  const platform::WinRect work = ws->WorkArea(host_->Window());
  int x = at.x;
  int y = at.y + kBelowPointer;
  if (x + size.cx > work.right) x = work.right - size.cx;
  if (x < work.left) x = work.left;
  if (y + size.cy > work.bottom) y = at.y - size.cy - 2;  // no room below: above the pointer
  if (y < work.top) y = work.top;
  ws->SetWindowPos(window_, x, y, size.cx, size.cy, platform::kSwpNoZOrder | platform::kSwpNoActivate);
  Render(size);
  Present();
  if (!ws->IsVisible(window_)) ws->ShowWindow(window_, platform::ShowCommand::kShowNoActivate);
}

void CSkinTooltip::Render(SkinSize size) {
  size_ = size;
  pixels_.assign(static_cast<std::size_t>(size.cx) * size.cy, 0);
  const SkinRect all{0, 0, size.cx, size.cy};
  std::unique_ptr<IRenderCanvas> canvas = CreateRenderCanvas(host_, pixels_.data(), size.cx, size.cy, size.cx * 4);
  if (!canvas) {
    // No drawing layer: at least the box, so the popup is not a black hole.
    std::fill(pixels_.begin(), pixels_.end(), kBorder);
    for (int y = 1; y < size.cy - 1; ++y)
      std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * size.cx + 1, size.cx - 2, kBackground);
    return;
  }
  canvas->FillColor(all, kBackground);
  canvas->StrokeRect(all, 1, kBorder);
  const int frame = 1 + kPadding;
  canvas->DrawPlainText({frame, frame, size.cx - frame, size.cy - frame}, text_, host_->DefaultFontInfo(), kText,
                        kWordBreak);
}

void CSkinTooltip::Present() {
  platform::IWindowSystem* ws = platform::WindowSystem();
  if (ws == nullptr || window_ == nullptr || pixels_.empty()) return;
  ws->UpdateLayeredWindow(window_, pixels_.data(), size_.cx, size_.cy, size_.cx * 4, 255);
}

std::intptr_t CSkinTooltip::WindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  platform::IWindowSystem* ws = platform::WindowSystem();
  switch (message) {
    case platform::kWmPaint:
      Present();
      ws->ValidateRect(window);
      return 0;
    case platform::kWmNcDestroy:
      window_ = nullptr;  // destroyed with its owner
      break;
    default:
      break;
  }
  return ws->DefWindowProc(window, message, wParam, lParam);
}

}  // namespace SkinUI
