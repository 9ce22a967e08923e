#include "ui/controls/state_images.h"

#include "ui/controls/control_state.h"

namespace SkinUI {
namespace {

constexpr const wchar_t* kNames[] = {L"normal", L"hot", L"pushed", L"focused", L"disabled"};

}  // namespace

void CStateImagesUI::Take(const SkinStatusImageMap& map, unsigned states) {
  for (int s = 0; s < kStateCount; ++s)
    if ((states & (1u << s)) != 0) TakeStatusImage(map, kNames[s], images[s]);
}

bool CStateImagesUI::SetAttribute(const std::wstring& name, const std::wstring& value, unsigned states) {
  for (int s = 0; s < kStateCount; ++s) {
    if ((states & (1u << s)) == 0 || name != std::wstring(kNames[s]) + L"image") continue;
    images[s].Parse(value);
    return true;
  }
  return false;
}

void CStateImagesUI::Paint(State state, const std::function<bool(SkinImageSpec&)>& draw) {
  if (state == kNormal || !draw(images[state])) draw(images[kNormal]);
}

}  // namespace SkinUI
