#pragma once
// An embedded web browser ("homepage", "autonavi"). Like every hosted component-model control on
// this platform it shows only its background: no page is loaded and nothing is sent.
#include "ui/controls/active_x_ui.h"

namespace SkinUI {

class CWebBrowserUI : public CActiveXUI {
 public:
  CWebBrowserUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  const std::wstring& HomePage() const { return homePage_; }
  bool IsAutoNavigate() const { return autoNavigate_; }

 private:
  std::wstring homePage_;
  bool autoNavigate_ = false;
};

}  // namespace SkinUI
