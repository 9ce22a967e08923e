#include "ui/controls/active_x_ui.h"

#include "ui/core/skin_value.h"

namespace SkinUI {

CActiveXUI::CActiveXUI() = default;

const wchar_t* CActiveXUI::ClassName() const { return L"ActiveXUI"; }

void* CActiveXUI::AsInterface(const std::wstring& name) {
  if (name == L"ActiveX") return static_cast<CActiveXUI*>(this);
  return CControlUI::AsInterface(name);
}

void CActiveXUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"clsid")
    clsid_ = value;
  else if (name == L"modulename")
    moduleName_ = value;
  else if (name == L"delaycreate")
    delayCreate_ = ParseSkinBool(value);
  else
    CControlUI::SetAttribute(name, value);
}

}  // namespace SkinUI
