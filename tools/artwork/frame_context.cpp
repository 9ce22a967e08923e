#include "tools/artwork/frame_context.h"

namespace artwork {

FrameContext::FrameContext(uint32_t* origin, int width, int height, int strideBytes)
    : surface_(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(origin), CAIRO_FORMAT_ARGB32,
                                                   width, height, strideBytes)),
      cr_(cairo_create(surface_)) {}

FrameContext::~FrameContext() {
  cairo_destroy(cr_);
  cairo_surface_flush(surface_);
  cairo_surface_destroy(surface_);
}

}  // namespace artwork
