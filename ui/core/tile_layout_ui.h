#pragma once
// Children in a grid of equal columns; each row is as high as its tallest child.
#include "ui/core/container_ui.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
 public:
  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  void SetPosition(const SkinRect& rc) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  SkinSize ItemSize() const { return itemSize_; }
  void SetItemSize(SkinSize size);
  int Columns() const { return columns_; }
  // Values below 1 are ignored.
  void SetColumns(int columns);

 private:
  SkinSize itemSize_;
  int columns_ = 0;
};

}  // namespace SkinUI
