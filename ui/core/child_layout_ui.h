#pragma once
// A control whose content comes from another skin file ("xmlfile"), built when the control is
// initialised. It does not answer "IContainer", so child elements written inside it in a skin
// are not built.
#include "ui/core/container_ui.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
 public:
  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void Init() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  const std::wstring& ChildLayoutXML() const { return file_; }
  void SetChildLayoutXML(const std::wstring& file) { file_ = file; }

 private:
  std::wstring file_;
};

}  // namespace SkinUI
