#pragma once
// State bits of the controls that change their look with the pointer and the focus (buttons,
// options, edit fields).
#include <cstdint>

namespace SkinUI {

enum SkinControlState : std::uint32_t {
  kStateFocused = 0x01,
  kStateSelected = 0x02,
  kStateDisabled = 0x04,
  kStateHot = 0x08,
  kStatePushed = 0x10,
  kStateCaptured = 0x40,
};

}  // namespace SkinUI
