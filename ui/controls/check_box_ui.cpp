#include "ui/controls/check_box_ui.h"

namespace SkinUI {

const wchar_t* CCheckBoxUI::ClassName() const { return L"CheckBoxUI"; }

}  // namespace SkinUI
