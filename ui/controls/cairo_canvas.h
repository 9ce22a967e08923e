#pragma once
// The canvas controls draw on: Cairo over a premultiplied ARGB32 pixel buffer (a window's bitmap,
// or any image in tests and benchmarks). Text goes through Pango with the fixed font options of
// CPangoText.
#include <cairo.h>

#include <cstdint>
#include <memory>

#include "ui/core/render_canvas.h"

namespace SkinUI {

class CCairoCanvas : public IRenderCanvas {
 public:
  // Draws into `pixels` (rows `strideBytes` apart, a multiple of 4 of at least width * 4) until
  // destroyed. `host` is the skin host images are looked up in.
  CCairoCanvas(CSkinHost* host, std::uint32_t* pixels, int width, int height, int strideBytes);
  ~CCairoCanvas() override;
  CCairoCanvas(const CCairoCanvas&) = delete;
  CCairoCanvas& operator=(const CCairoCanvas&) = delete;

  // The canvas factory the window layer calls (SetCanvasFactory); none for a buffer Cairo cannot
  // draw into.
  static std::unique_ptr<IRenderCanvas> Create(CSkinHost* host, std::uint32_t* pixels, int width, int height,
                                               int strideBytes);
  bool IsValid() const { return cr_ != nullptr; }
  // Makes every drawing so far visible in the pixel buffer.
  void Flush();
  CSkinHost* Host() const { return host_; }

  void FillColor(const SkinRect& rc, SkinColor color) override;
  void FillGradient(const SkinRect& rc, SkinColor color1, SkinColor color2, bool vertical) override;
  void StrokeLine(const SkinRect& rc, int width, SkinColor color, int style) override;
  void StrokeRect(const SkinRect& rc, int width, SkinColor color) override;
  void StrokeRoundRect(const SkinRect& rc, int width, int rx, int ry, SkinColor color) override;
  void PushClipRect(const SkinRect& rc) override;
  void PushClipRoundRect(const SkinRect& rc, const SkinRect& round, int rx, int ry) override;
  void PopClip() override;
  SkinRect ClipBox() const override;
  bool PaintImage(CSkinHost* host, const SkinRect& control, const SkinRect& dirty, const SkinImageSpec& spec) override;
  void DrawBitmap(const SkinBitmapInfo& bitmap, const SkinRect& dest, const SkinRect& src, std::uint8_t alpha) override;
  void DrawPlainText(const SkinRect& rc, const std::wstring& text, const SkinFontInfo& font, SkinColor color,
                     std::uint32_t style) override;
  void DrawTextRun(int x, int y, const std::wstring& text, const SkinFontInfo& font, SkinColor color) override;

 private:
  void SetColor(SkinColor color);
  // One scaled blit whose source part fits a Cairo surface.
  void DrawScaledPart(const SkinBitmapInfo& bitmap, const SkinRect& dest, const SkinRect& src, const SkinRect& visible,
                      double alpha);

  CSkinHost* host_;
  int width_;
  int height_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int clipDepth_ = 0;
};

}  // namespace SkinUI
