#pragma once
// State bits of the controls that change their look with the pointer and the focus (buttons,
// options, edit fields).
#include <cstdint>

#include "ui/core/skin_event.h"
#include "ui/core/skin_image_spec.h"

namespace SkinUI {

enum SkinControlState : std::uint32_t {
  kStateFocused = 0x01,
  kStateSelected = 0x02,
  kStateDisabled = 0x04,
  kStateHot = 0x08,
  kStatePushed = 0x10,
  kStateCaptured = 0x40,
};

// Mouse enter and leave turn the hot bit of an enabled control on and off. True when `type` is one
// of the two (the caller repaints and is done with the event).
inline bool FollowHover(int type, bool enabled, std::uint32_t& state) {
  if (type != kEventMouseEnter && type != kEventMouseLeave) return false;
  if (enabled) state = type == kEventMouseEnter ? state | kStateHot : state & ~std::uint32_t{kStateHot};
  return true;
}

// Copies the image of `state` from a status-image map when the map has one.
inline void TakeStatusImage(const SkinStatusImageMap& images, const std::wstring& state, SkinImageSpec& spec) {
  auto it = images.find(state);
  if (it != images.end()) spec = it->second;
}

}  // namespace SkinUI
