#include "ui/core/child_layout_ui.h"

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "ui/core/skin_builder.h"

namespace SkinUI {
namespace {
// Child layouts built from within child layouts (adding the content initialises it, which builds
// the next level): bounded like includes, so a file that names itself ends.
int g_nesting = 0;
}  // namespace

const wchar_t* CChildLayoutUI::ClassName() const { return L"ChildLayoutUI"; }

void* CChildLayoutUI::AsInterface(const std::wstring& name) {
  if (name == L"ChildLayout") return static_cast<CControlUI*>(this);
  return CControlUI::AsInterface(name);
}

void CChildLayoutUI::Init() {
  // No initialised event: the content is what this control initialises.
  if (file_.empty()) return;
  if (g_nesting >= CSkinBuilder::kMaxIncludeDepth) {
    LOG_ERROR << "child layout nested deeper than " << CSkinBuilder::kMaxIncludeDepth
              << " levels, skipped: " << platform::WideToUtf8(file_);
    RemoveAll();
    return;
  }
  ++g_nesting;
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> content = builder.Build(file_, nullptr, callback_, host_);
  RemoveAll();
  if (content && Add(content.get())) content.release();
  --g_nesting;
}

void CChildLayoutUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile")
    SetChildLayoutXML(value);
  else
    CContainerUI::SetAttribute(name, value);
}

}  // namespace SkinUI
