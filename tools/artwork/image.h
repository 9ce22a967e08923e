#pragma once
// A picture of any size in Cairo's premultiplied ARGB32 layout. Cairo's image surfaces stop at
// 32767 pixels a side, so drawing goes through one surface per frame, made over the frame's part
// of the buffer with the full row stride; frames of strips wider than that limit (the 48-frame
// installation bar) are drawn the same way as small ones.
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/artwork/frame_context.h"

namespace artwork {

class Image {
 public:
  Image(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }

  // A context for the columns x .. x + width - 1, origin at their top-left corner.
  FrameContext Frame(int x, int width);

  // Writes the image as PNG (8-bit RGB when every pixel is opaque, else RGBA), maximum
  // compression. False, with a message on stderr, when the file cannot be written.
  bool WritePng(const std::string& path) const;

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

// `count` frames of frameWidth x height side by side; paint(cr, i) draws frame i with its
// top-left corner at the context's origin.
Image Strip(int frameWidth, int height, int count, const std::function<void(cairo_t*, int)>& paint);
// A single picture: paint(cr) draws it with its top-left corner at the context's origin.
Image Picture(int width, int height, const std::function<void(cairo_t*)>& paint);

}  // namespace artwork
