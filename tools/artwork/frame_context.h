#pragma once
// An owned Cairo context over a block of ARGB32 pixels that may be part of a wider picture
// (the row stride is the whole picture's); usable wherever a cairo_t* is.
#include <cairo.h>

#include <cstdint>

namespace artwork {

class FrameContext {
 public:
  FrameContext(uint32_t* origin, int width, int height, int strideBytes);
  ~FrameContext();
  FrameContext(const FrameContext&) = delete;
  FrameContext& operator=(const FrameContext&) = delete;
  operator cairo_t*() const { return cr_; }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace artwork
