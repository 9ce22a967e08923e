#pragma once
// The state images of controls that change their look with the pointer, the press, the focus and
// being disabled (combo boxes, edit fields, list header items): the "normalimage" ... attributes,
// the "statusimage" states, and drawing the image of a state or, failing that, the normal one.
#include <functional>
#include <string>

#include "ui/core/skin_image_spec.h"

namespace SkinUI {

struct CStateImagesUI {
  enum State { kNormal, kHot, kPushed, kFocused, kDisabled, kStateCount };
  SkinImageSpec images[kStateCount];

  SkinImageSpec& operator[](State s) { return images[s]; }
  const SkinImageSpec& operator[](State s) const { return images[s]; }
  // The states "normal", "hot", "pushed", "focused" and "disabled" of a status-image map that
  // are in `states` (a set of 1 << State bits).
  void Take(const SkinStatusImageMap& map, unsigned states);
  // "normalimage", "hotimage", "pushedimage", "focusedimage", "disabledimage" for the states in
  // `states`; false for any other name.
  bool SetAttribute(const std::wstring& name, const std::wstring& value, unsigned states);
  // Draws the image of `state` with `draw` (which forgets an image that fails); the normal image
  // when that state has none or it fails.
  void Paint(State state, const std::function<bool(SkinImageSpec&)>& draw);
};

inline constexpr unsigned kAllStateImages = 0x1F;

}  // namespace SkinUI
