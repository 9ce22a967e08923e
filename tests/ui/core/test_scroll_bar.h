#pragma once
// A minimal scroll bar for container tests: a range, a clamped position and the 16-pixel
// thickness scroll bars have.
#include <algorithm>
#include <memory>

#include "ui/core/container_ui.h"

namespace testsupport {

class TestScrollBar : public SkinUI::CScrollBarBaseUI {
 public:
  TestScrollBar() { fixedWidth_ = 16; }
  SkinUI::CContainerUI* Owner() const override { return owner_; }
  void SetOwner(SkinUI::CContainerUI* owner) override { owner_ = owner; }
  bool IsHorizontal() const override { return horizontal_; }
  void SetHorizontal(bool h) override {
    horizontal_ = h;
    if (h) {
      fixedHeight_ = 16;
      fixedWidth_ = 0;
    }
  }
  int ScrollRange() const override { return range_; }
  void SetScrollRange(int range) override {
    range_ = std::max(0, range);
    pos_ = std::clamp(pos_, 0, range_);
  }
  int ScrollPos() const override { return pos_; }
  void SetScrollPos(int pos) override { pos_ = std::clamp(pos, 0, range_); }

  static std::unique_ptr<SkinUI::CScrollBarBaseUI> Make() { return std::make_unique<TestScrollBar>(); }

 private:
  SkinUI::CContainerUI* owner_ = nullptr;
  bool horizontal_ = false;
  int range_ = 100;
  int pos_ = 0;
};

}  // namespace testsupport
