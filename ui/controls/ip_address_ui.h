#pragma once
// An IPv4 address field: four edit parts with dots between them. Its text is the four parts
// joined with "."; a part holds a number up to 255 or "*" (any). Typing takes digits and "*"
// only; "." or a third digit moves on to the next part; a number above 255 becomes 255. Each
// part's change sends the part's "textchanged".
#include <string>

#include "ui/core/horizontal_layout_ui.h"

namespace SkinUI {

class CEditUI;

class CIpAddressUI : public CHorizontalLayoutUI {
 public:
  static constexpr int kParts = 4;

  CIpAddressUI();

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // "a.b.c.d"; parts that are missing are empty.
  std::wstring GetText() const override;
  // Splits at the dots and keeps each part to its limits.
  void SetText(const std::wstring& text) override;

  CEditUI* Part(int index) const { return index >= 0 && index < kParts ? parts_[index] : nullptr; }
  // A part's text within the limits: "*" when it holds a star, else its digits with a value of
  // at most 255 ("300" becomes "255", "007" stays).
  static std::wstring LimitPart(const std::wstring& text);

 private:
  bool OnPartChar(CEditUI& part, char32_t ch);
  bool OnPartNotify(SkinNotify& msg);
  int IndexOf(const CControlUI* part) const;

  CEditUI* parts_[kParts] = {};
};

}  // namespace SkinUI
