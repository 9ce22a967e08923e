#pragma once
// An option under its own class name: every click toggles it (unless it belongs to a group)
// and sends "selectchanged" then "click".
#include "ui/controls/option_ui.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  const wchar_t* ClassName() const override;
};

}  // namespace SkinUI
