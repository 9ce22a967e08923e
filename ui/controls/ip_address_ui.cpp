#include "ui/controls/ip_address_ui.h"

#include "ui/controls/edit_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/core/skin_host.h"

namespace SkinUI {
namespace {

constexpr int kDotWidth = 6;

}  // namespace

CIpAddressUI::CIpAddressUI() {
  for (int i = 0; i < kParts; ++i) {
    if (i > 0) {
      auto* dot = new CLabelUI();
      dot->SetText(L".");
      dot->SetFixedWidth(kDotWidth);
      dot->SetTextStyle(DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
      Add(dot);
    }
    auto* part = new CEditUI();
    part->SetMaxChar(3);
    part->SetTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    part->SetCharFilter([this](CEditUI& edit, char32_t ch) { return OnPartChar(edit, ch); });
    part->onNotify.Add(CDelegateUI<SkinNotify>::Member<CIpAddressUI, &CIpAddressUI::OnPartNotify>(this));
    parts_[i] = part;
    Add(part);
  }
}

const wchar_t* CIpAddressUI::ClassName() const { return L"IpAddressUI"; }

void* CIpAddressUI::AsInterface(const std::wstring& name) {
  if (name == L"IpAddress") return static_cast<CIpAddressUI*>(this);
  return CHorizontalLayoutUI::AsInterface(name);
}

std::wstring CIpAddressUI::LimitPart(const std::wstring& text) {
  if (text.find(L'*') != std::wstring::npos) return L"*";
  std::wstring digits;
  for (wchar_t ch : text)
    if (ch >= L'0' && ch <= L'9' && digits.size() < 3) digits += ch;
  if (!digits.empty() && std::stoi(digits) > 255) return L"255";
  return digits;
}

std::wstring CIpAddressUI::GetText() const {
  std::wstring text;
  for (int i = 0; i < kParts; ++i) {
    if (i > 0) text += L'.';
    text += parts_[i]->GetText();
  }
  return text;
}

void CIpAddressUI::SetText(const std::wstring& text) {
  std::size_t start = 0;
  for (int i = 0; i < kParts; ++i) {
    std::wstring piece;
    if (start <= text.size()) {
      const std::size_t dot = text.find(L'.', start);
      piece = text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
      start = dot == std::wstring::npos ? text.size() + 1 : dot + 1;
    }
    parts_[i]->SetText(LimitPart(piece));
  }
}

int CIpAddressUI::IndexOf(const CControlUI* part) const {
  for (int i = 0; i < kParts; ++i)
    if (parts_[i] == part) return i;
  return -1;
}

bool CIpAddressUI::OnPartChar(CEditUI& part, char32_t ch) {
  const int index = IndexOf(&part);
  if (ch == U'.') {
    // On to the next part, as the dot of the address.
    if (index + 1 < kParts && !part.GetText().empty()) parts_[index + 1]->SetFocus();
    return false;
  }
  if ((ch >= U'0' && ch <= U'9') || ch == U'*') return true;
  if (platform::IWindowSystem* ws = platform::WindowSystem()) ws->Beep();
  return false;
}

bool CIpAddressUI::OnPartNotify(SkinNotify& msg) {
  if (msg.type != L"textchanged") return true;
  const int index = IndexOf(msg.sender);
  if (index < 0) return true;
  CEditUI* part = parts_[index];
  const std::wstring text = part->GetText();
  const std::wstring limited = LimitPart(text);
  if (limited != text) part->SetText(limited);
  // A full number or a star moves on to the next part.
  if ((limited.size() == 3 || limited == L"*") && index + 1 < kParts && part->IsFocused()) parts_[index + 1]->SetFocus();
  return true;
}

}  // namespace SkinUI
