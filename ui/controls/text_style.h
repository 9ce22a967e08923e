#pragma once
// Text style flags of the text drawing operations (the platform's text-drawing flag values).
#include <cstdint>

namespace SkinUI {

enum : std::uint32_t {
  DT_TOP = 0x0,
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_EDITCONTROL = 0x2000,
  DT_PATH_ELLIPSIS = 0x4000,
  DT_END_ELLIPSIS = 0x8000,
  DT_WORD_ELLIPSIS = 0x40000,
};

}  // namespace SkinUI
