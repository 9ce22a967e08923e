#pragma once
// The scrolling item area of a list: a vertical layout whose rows are as wide as the list's
// columns (its horizontal bar, when the list has one, covers what they need beyond the visible
// width) and whose horizontal scrolling moves the header with it.
#include "ui/core/vertical_layout_ui.h"

namespace SkinUI {

class CListUI;

class CListBodyUI : public CVerticalLayoutUI {
 public:
  explicit CListBodyUI(CListUI* owner);

  void SetPosition(const SkinRect& rc) override;
  void SetScrollPos(SkinSize pos) override;

  CListUI* Owner() const { return owner_; }

 private:
  CListUI* owner_;
};

}  // namespace SkinUI
