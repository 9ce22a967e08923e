#pragma once
// The host of a component-model control ("clsid", "modulename", "delaycreate"). This platform
// has no component model to host one in: the control keeps its attributes, draws its background
// and border, creates nothing and so never sends "showactivex".
#include <string>

#include "ui/core/control_ui.h"

namespace SkinUI {

class CActiveXUI : public CControlUI {
 public:
  CActiveXUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  const std::wstring& Clsid() const { return clsid_; }
  const std::wstring& ModuleName() const { return moduleName_; }
  bool IsDelayCreate() const { return delayCreate_; }
  // Always false here: no object is ever created.
  bool IsCreated() const { return false; }

 private:
  std::wstring clsid_;
  std::wstring moduleName_;
  bool delayCreate_ = true;
};

}  // namespace SkinUI
