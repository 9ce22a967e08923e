#pragma once
// The tooltip of a host's window: a small popup that follows the mouse and shows a control's
// tooltip text on a light background with a border, drawn with the canvas of the drawing layer.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "ui/core/skin_types.h"

namespace SkinUI {

class CSkinHost;
class IRenderCanvas;

class CSkinTooltip : private platform::IWindowProcedure {
 public:
  // Measures plain text: with the measure flag (0x400) in `style`, `rc`'s right and bottom become
  // what `text` needs in the host's font `font` (-1: the default font); `canvas` is null. The
  // text drawing layer installs it (CSkinRender::RenderPlainText has this shape); without it the
  // tooltip is sized from the font's average character width.
  using TextMeasurer = void (*)(IRenderCanvas* canvas, CSkinHost* host, SkinRect& rc, const std::wstring& text,
                                SkinColor color, int font, std::uint32_t style);
  static void SetTextMeasurer(TextMeasurer measurer);

  static constexpr SkinColor kBackground = 0xFFFFFFE1;
  static constexpr SkinColor kBorder = 0xFF767676;
  static constexpr SkinColor kText = 0xFF000000;
  static constexpr int kPadding = 4;  // between the border and the text

  explicit CSkinTooltip(CSkinHost* host);
  ~CSkinTooltip() override;
  CSkinTooltip(const CSkinTooltip&) = delete;
  CSkinTooltip& operator=(const CSkinTooltip&) = delete;

  // Shows `text` (wrapped at `maxWidth` pixels) for the control at `toolRect`, just below the
  // screen point `at`, kept inside the work area. The popup window is made on first use.
  void Show(const std::wstring& text, int maxWidth, const SkinRect& toolRect, SkinPoint at);
  void Hide();
  bool IsVisible() const;
  // How long the pointer rests before a tooltip shows.
  unsigned InitialDelay() const;

  platform::WindowHandle Window() const { return window_; }
  const std::wstring& Text() const { return text_; }
  const SkinRect& ToolRect() const { return toolRect_; }
  const std::vector<std::uint32_t>& Bitmap() const { return pixels_; }

 private:
  std::intptr_t WindowProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) override;
  SkinSize MeasureText(int maxWidth) const;
  void Render(SkinSize size);
  void Present();

  CSkinHost* host_;
  platform::WindowHandle window_ = nullptr;
  std::wstring text_;
  SkinRect toolRect_;
  SkinSize size_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace SkinUI
