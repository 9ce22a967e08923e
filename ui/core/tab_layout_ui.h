#pragma once
// One visible page at a time; selecting another page raises "tabselect" (new index, old index).
#include "ui/core/container_ui.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetPosition(const SkinRect& rc) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  bool Add(CControlUI* page) override;
  bool AddAt(CControlUI* page, int index) override;
  bool Remove(CControlUI* page) override;
  void RemoveAll() override;

  virtual bool SelectItem(CControlUI* page);
  virtual bool SelectItem(int index);
  // -1 when there is no page.
  int CurrentSel() const { return current_; }

 private:
  int current_ = -1;
};

}  // namespace SkinUI
