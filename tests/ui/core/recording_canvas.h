#pragma once
// A canvas that records what controls draw, for tests that check the painting steps.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/core/render_canvas.h"
#include "ui/core/skin_image_spec.h"

namespace testsupport {

struct CanvasOp {
  CanvasOp(std::string k, SkinUI::SkinRect r, SkinUI::SkinColor c1 = 0, SkinUI::SkinColor c2 = 0, int w = 0, int s = 0)
      : kind(std::move(k)), rc(r), color1(c1), color2(c2), width(w), style(s) {}
  // "fill", "gradient", "line", "rect", "roundrect", "clip", "roundclip", "pop", "image", "bitmap",
  // "text" (plain text: rc, colour, style), "run" (a text run: rc.left/top is its origin)
  std::string kind;
  SkinUI::SkinRect rc;
  SkinUI::SkinColor color1 = 0;
  SkinUI::SkinColor color2 = 0;
  int width = 0;
  int style = 0;
  std::wstring file;  // image file, or the text drawn
  SkinUI::SkinRect src;  // source part of a bitmap
  const SkinUI::SkinFontInfo* font = nullptr;  // font of text
};

class RecordingCanvas : public SkinUI::IRenderCanvas {
 public:
  void FillColor(const SkinUI::SkinRect& rc, SkinUI::SkinColor c) override { ops.push_back({"fill", rc, c}); }
  void FillGradient(const SkinUI::SkinRect& rc, SkinUI::SkinColor c1, SkinUI::SkinColor c2, bool) override {
    ops.push_back({"gradient", rc, c1, c2});
  }
  void StrokeLine(const SkinUI::SkinRect& rc, int w, SkinUI::SkinColor c, int style) override {
    ops.push_back({"line", rc, c, 0, w, style});
  }
  void StrokeRect(const SkinUI::SkinRect& rc, int w, SkinUI::SkinColor c) override { ops.push_back({"rect", rc, c, 0, w}); }
  void StrokeRoundRect(const SkinUI::SkinRect& rc, int w, int, int, SkinUI::SkinColor c) override {
    ops.push_back({"roundrect", rc, c, 0, w});
  }
  void PushClipRect(const SkinUI::SkinRect& rc) override {
    ops.push_back({"clip", rc});
    ++depth;
  }
  void PushClipRoundRect(const SkinUI::SkinRect& rc, const SkinUI::SkinRect&, int, int) override {
    ops.push_back({"roundclip", rc});
    ++depth;
  }
  void PopClip() override {
    ops.push_back({"pop", SkinUI::SkinRect{}});
    --depth;
  }
  bool PaintImage(SkinUI::CSkinHost*, const SkinUI::SkinRect& control, const SkinUI::SkinRect&,
                  const SkinUI::SkinImageSpec& spec) override {
    CanvasOp op{"image", control};
    op.file = spec.file;
    ops.push_back(op);
    return imagesLoad;
  }

  SkinUI::SkinRect ClipBox() const override { return {0, 0, 1 << 20, 1 << 20}; }
  void DrawBitmap(const SkinUI::SkinBitmapInfo&, const SkinUI::SkinRect& dest, const SkinUI::SkinRect& src,
                  std::uint8_t alpha) override {
    CanvasOp op{"bitmap", dest, 0, 0, alpha};
    op.src = src;
    ops.push_back(op);
  }
  void DrawPlainText(const SkinUI::SkinRect& rc, const std::wstring& text, const SkinUI::SkinFontInfo& font,
                     SkinUI::SkinColor color, std::uint32_t style) override {
    CanvasOp op{"text", rc, color, 0, 0, static_cast<int>(style)};
    op.file = text;
    op.font = &font;
    ops.push_back(op);
  }
  void DrawTextRun(int x, int y, const std::wstring& text, const SkinUI::SkinFontInfo& font,
                   SkinUI::SkinColor color) override {
    CanvasOp op{"run", SkinUI::SkinRect{x, y, x, y}, color};
    op.file = text;
    op.font = &font;
    ops.push_back(op);
  }

  std::vector<CanvasOp> Only(const std::string& kind) const {
    std::vector<CanvasOp> out;
    for (const auto& op : ops)
      if (op.kind == kind) out.push_back(op);
    return out;
  }

  std::vector<CanvasOp> ops;
  int depth = 0;          // clip stack depth: 0 again after a balanced paint
  bool imagesLoad = true;  // what PaintImage reports
};

}  // namespace testsupport
