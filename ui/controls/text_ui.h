#pragma once
// A label whose mark-up text may hold links ("{a}...{/a}"): a click on one raises "link" with
// the link's index and the number of links; the pointer over one shows the link cursor.
#include <array>
#include <string>

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  // Links kept from one paint to the next; further links are drawn but not clickable.
  static constexpr int kMaxLinks = 8;

  CTextUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  std::uint32_t ControlFlags() const override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderCanvas& canvas) override;

  int LinkCount() const { return linkCount_; }
  // Rectangle and string of link `index` as of the last paint.
  const SkinRect& LinkRect(int index) const { return linkRects_[index]; }
  const std::wstring& LinkText(int index) const { return linkTexts_[index]; }
  int HoveredLink() const { return hoveredLink_; }
  std::uint16_t LinkCursor() const { return linkCursor_; }
  void SetLinkCursor(std::uint16_t cursorId) { linkCursor_ = cursorId; }

 private:
  // Index of the link under `pt`, -1 for none.
  int LinkAt(SkinPoint pt) const;
  void RestoreCursor();

  std::array<SkinRect, kMaxLinks> linkRects_{};
  std::array<std::wstring, kMaxLinks> linkTexts_{};
  int linkCount_ = 0;
  int hoveredLink_ = -1;
  std::uint16_t linkCursor_ = 0;
  // The cursor shown before the link cursor replaced it.
  std::uint16_t savedCursor_ = 0;
  bool linkCursorShown_ = false;
};

}  // namespace SkinUI
