#include "ui/controls/web_browser_ui.h"

#include "ui/core/skin_value.h"

namespace SkinUI {

CWebBrowserUI::CWebBrowserUI() = default;

const wchar_t* CWebBrowserUI::ClassName() const { return L"WebBrowserUI"; }

void* CWebBrowserUI::AsInterface(const std::wstring& name) {
  if (name == L"WebBrowser") return static_cast<CWebBrowserUI*>(this);
  return CActiveXUI::AsInterface(name);
}

void CWebBrowserUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"homepage")
    homePage_ = value;
  else if (name == L"autonavi")
    autoNavigate_ = ParseSkinBool(value);
  else
    CActiveXUI::SetAttribute(name, value);
}

}  // namespace SkinUI
