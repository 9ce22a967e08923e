#include "ui/core/child_layout_ui.h"

#include "ui/core/skin_builder.h"

namespace SkinUI {

const wchar_t* CChildLayoutUI::ClassName() const { return L"ChildLayoutUI"; }

void* CChildLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"ChildLayout") return static_cast<CControlUI*>(this);
  return CControlUI::AsInterface(name);
}

void CChildLayoutUI::Init() {
  // No initialised event: the content is what this control initialises.
  if (file_.empty()) return;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> content = builder.Build(file_, nullptr, callback_, host_);
  RemoveAll();
  if (content && Add(content.get())) content.release();
}

void CChildLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile")
    SetChildLayoutXML(value);
  else
    CContainerUI::SetAttribute(name, value);
}

}  // namespace SkinUI
