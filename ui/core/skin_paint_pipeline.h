#pragma once
// The paint pass of a host's window: layout on demand, the deferred focus move, then the dirty
// area drawn into a premultiplied 32-bit bitmap of the client size (root, caret, after-paint
// overlays) and the whole bitmap presented as the window's content.
#include <cstdint>
#include <vector>

#include "ui/core/skin_types.h"

namespace SkinUI {

class CSkinHost;
class IRenderCanvas;

class CSkinPaintPipeline {
 public:
  // The window's paint message.
  void Paint(CSkinHost& host);
  // Paints the root and the caret into `canvas` (the print-client message).
  void PrintClient(CSkinHost& host, IRenderCanvas& canvas);
  // Frees the bitmaps (the window is gone); the next paint makes them again.
  void Release();

  const std::vector<std::uint32_t>& Bitmap() const { return bitmap_; }
  SkinSize Size() const { return size_; }

 private:
  // Root, caret, overlays and the show-dirty frame of `area`, into the bitmap.
  void Draw(CSkinHost& host, const SkinRect& area);
  static void DrawCaret(CSkinHost& host, IRenderCanvas& canvas, const SkinRect& area);
  void FillArea(const SkinRect& area, std::uint32_t pixel);

  std::vector<std::uint32_t> bitmap_;
  SkinSize size_;
  // Mode 2: what lies under the drawing, kept from when the bitmap was made.
  std::vector<std::uint32_t> background_;
  bool warnedNoCanvas_ = false;
};

}  // namespace SkinUI
