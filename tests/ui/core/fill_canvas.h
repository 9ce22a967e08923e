#pragma once
// A minimal canvas for window tests: solid fills (source over, premultiplied), one-pixel
// rectangle outlines and rectangular clips, straight into the window's bitmap. Enough to check
// the paint pipeline at known pixels without the drawing layer.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/render_canvas.h"

namespace testsupport {

class FillCanvas : public SkinUI::IRenderCanvas {
 public:
  FillCanvas(std::uint32_t* pixels, int width, int height, int strideBytes)
      : pixels_(pixels), width_(width), height_(height), stride_(strideBytes / 4) {
    clips_.push_back({0, 0, width, height});
  }

  static std::unique_ptr<SkinUI::IRenderCanvas> Make(SkinUI::CSkinHost*, std::uint32_t* pixels, int width,
                                                     int height, int strideBytes) {
    return std::make_unique<FillCanvas>(pixels, width, height, strideBytes);
  }

  void FillColor(const SkinUI::SkinRect& rc, SkinUI::SkinColor color) override { Fill(rc, color); }
  void FillGradient(const SkinUI::SkinRect& rc, SkinUI::SkinColor c1, SkinUI::SkinColor, bool) override { Fill(rc, c1); }
  void StrokeLine(const SkinUI::SkinRect& rc, int, SkinUI::SkinColor color, int) override {
    Fill({rc.left, rc.top, std::max(rc.right, rc.left + 1), std::max(rc.bottom, rc.top + 1)}, color);
  }
  void StrokeRect(const SkinUI::SkinRect& rc, int, SkinUI::SkinColor color) override {
    Fill({rc.left, rc.top, rc.right, rc.top + 1}, color);
    Fill({rc.left, rc.bottom - 1, rc.right, rc.bottom}, color);
    Fill({rc.left, rc.top, rc.left + 1, rc.bottom}, color);
    Fill({rc.right - 1, rc.top, rc.right, rc.bottom}, color);
  }
  void StrokeRoundRect(const SkinUI::SkinRect& rc, int w, int, int, SkinUI::SkinColor color) override {
    StrokeRect(rc, w, color);
  }
  void PushClipRect(const SkinUI::SkinRect& rc) override {
    SkinUI::SkinRect r;
    SkinUI::IntersectRect(r, rc, clips_.back());
    clips_.push_back(r);
  }
  void PushClipRoundRect(const SkinUI::SkinRect& rc, const SkinUI::SkinRect&, int, int) override { PushClipRect(rc); }
  void PopClip() override {
    if (clips_.size() > 1) clips_.pop_back();
  }
  SkinUI::SkinRect ClipBox() const override { return clips_.back(); }
  bool PaintImage(SkinUI::CSkinHost*, const SkinUI::SkinRect&, const SkinUI::SkinRect&,
                  const SkinUI::SkinImageSpec&) override {
    return false;
  }
  void DrawBitmap(const SkinUI::SkinBitmapInfo&, const SkinUI::SkinRect&, const SkinUI::SkinRect&,
                  std::uint8_t) override {}
  // Text is not drawn; what was asked is remembered (last texts of all fill canvases).
  void DrawPlainText(const SkinUI::SkinRect&, const std::wstring& text, const SkinUI::SkinFontInfo&,
                     SkinUI::SkinColor, std::uint32_t) override {
    Texts().push_back(text);
  }
  void DrawTextRun(int, int, const std::wstring& text, const SkinUI::SkinFontInfo&, SkinUI::SkinColor) override {
    Texts().push_back(text);
  }
  static std::vector<std::wstring>& Texts() {
    static std::vector<std::wstring> texts;
    return texts;
  }

 private:
  void Fill(const SkinUI::SkinRect& rc, SkinUI::SkinColor color) {
    const std::uint32_t a = color >> 24;
    if (a == 0) return;
    SkinUI::SkinRect r;
    if (!SkinUI::IntersectRect(r, rc, clips_.back())) return;
    // Premultiply the source, then source over the destination.
    auto channel = [&](int shift) { return ((color >> shift) & 0xFF) * a / 255; };
    const std::uint32_t sr = channel(16), sg = channel(8), sb = channel(0);
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        std::uint32_t& d = pixels_[static_cast<std::size_t>(y) * stride_ + x];
        auto over = [&](std::uint32_t s, int shift) { return s + ((d >> shift) & 0xFF) * (255 - a) / 255; };
        d = (over(a, 24) << 24) | (over(sr, 16) << 16) | (over(sg, 8) << 8) | over(sb, 0);
      }
    }
  }

  std::uint32_t* pixels_;
  int width_, height_, stride_;
  std::vector<SkinUI::SkinRect> clips_;
};

}  // namespace testsupport
