#pragma once
// What the drawing tests share: PNG files made from exact pixel values, skin files served from
// memory, and an image surface with a Cairo canvas over it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <cairo.h>

#include "ui/controls/cairo_canvas.h"
#include "ui/core/skin_host.h"

namespace testsupport {

// PNG bytes of straight (not premultiplied) 0xAARRGGBB pixels, rows top-down.
std::string EncodePng(int width, int height, const std::vector<std::uint32_t>& argb);
// A width x height PNG whose pixel (x, y) is pixel(x, y).
template <class F>
std::string MakePng(int width, int height, F pixel) {
  std::vector<std::uint32_t> argb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) argb.push_back(pixel(x, y));
  return EncodePng(width, height, argb);
}

// PNG bytes of what a Cairo image surface holds (images drawn with Cairo for benchmarks and
// fuzz targets).
std::string SurfacePng(cairo_surface_t* surface);

// Skin files by name ("img/a.png"; lookups accept "\"), the reader behind LoadFileData while the
// object lives. Counts the reads of each name.
class SkinFiles {
 public:
  SkinFiles();
  ~SkinFiles();
  SkinFiles(const SkinFiles&) = delete;
  SkinFiles& operator=(const SkinFiles&) = delete;
  void Add(const std::wstring& name, std::string bytes);
  // What every name that is not in the map reads as (nothing at first).
  void SetFallback(std::string bytes);
  int Reads(const std::wstring& name) const;
};

// A premultiplied ARGB32 image filled with `background`, and a canvas over it.
class DrawSurface {
 public:
  DrawSurface(int width, int height, SkinUI::CSkinHost* host, std::uint32_t background = 0);
  SkinUI::CCairoCanvas& canvas() { return *canvas_; }
  // The premultiplied pixel at (x, y), everything drawn so far included.
  std::uint32_t At(int x, int y);
  // Pixels of one row, or of a column, from `from` to `to` (exclusive).
  std::vector<std::uint32_t> Row(int y, int from, int to);
  // The number of pixels different from `value` in `rc`.
  int CountNot(const SkinUI::SkinRect& rc, std::uint32_t value);
  // Writes the image to $WEBINST_DRAW_PNG_DIR/<name>.png when that variable is set (for looking at
  // what a test drew).
  void Save(const std::string& name);
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  std::unique_ptr<SkinUI::CCairoCanvas> canvas_;
};

// Installs the drawing services once for the test program.
void UseDrawingServices();

}  // namespace testsupport
