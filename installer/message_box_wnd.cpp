#include "installer/message_box_wnd.h"

#include <fmt/format.h>
#include <fmt/xchar.h>

#include "common/base/log.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "ui/core/control_ui.h"

using SkinUI::CControlUI;
using SkinUI::SkinNotify;
using SkinUI::WindowImplBaseNew;

namespace {

// Close codes of the box's close request.
constexpr std::uint32_t kCloseByButton = 1;
constexpr std::uint32_t kCloseByCloseButton = 2;

// An overlapped window that is visible from its creation. The box is created hidden all the
// same and shown by the modal loop once it is centred: shown at once, it would first appear for
// a moment in the screen's corner where it is created.
constexpr std::uint32_t kBoxStyle = SkinUI::kWsVisible | SkinUI::kWsOverlappedWindow;

std::string Describe(const std::optional<std::wstring>& text) {
  return text ? platform::WideToUtf8(*text) : std::string("(none)");
}

}  // namespace

std::uint32_t ShowMessageBox(const MessageBoxSpec& spec) {
  CMessageBoxWnd box(spec);
  box.SetSkinArchive(WindowImplBaseNew::kArchiveResource, L"", kSkinArchiveId, kSkinArchiveType, true);
  box.SetSkinFile(CMessageBoxWnd::kSkinFile);
  // A box without its skin would be an invisible window that nothing can end.
  if (box.Create(spec.owner, L"", nullptr, kBoxStyle & ~SkinUI::kWsVisible, 0) == nullptr ||
      box.Host().Root() == nullptr) {
    LOG_ERROR << "the message box cannot be shown: " << Describe(spec.caption) << ": " << Describe(spec.text);
    return 0;
  }
  box.CenterOnOwner();
  box.ShowModal();
  return box.Result();
}

CMessageBoxWnd::CMessageBoxWnd(const MessageBoxSpec& spec) : spec_(&spec) {}

const wchar_t* CMessageBoxWnd::WindowClassName() const { return L"OrbiskMsgBoxWndCls"; }

void CMessageBoxWnd::OnInitialize() {
  caption_ = host_.FindControlByName(L"lbl_caption");
  text_ = host_.FindControlByName(L"lbl_text");
  closeButton_ = host_.FindControlByName(L"btn_close");
  for (int i = 0; i < 2; ++i) {
    const std::optional<std::wstring>& label = spec_->buttons[i];
    if (!label || label->empty()) continue;
    buttons_[i] = host_.FindControlByName(fmt::format(L"btn{}", i));
    if (buttons_[i] == nullptr) continue;
    buttons_[i]->SetText(*label);
    buttons_[i]->SetVisible(true);
  }
  if (spec_->caption && caption_ != nullptr) {
    caption_->SetText(*spec_->caption);
    caption_->SetVisible(true);
  }
  if (spec_->text && text_ != nullptr) {
    text_->SetText(*spec_->text);
    text_->SetVisible(true);
  }
  // The skin's enable="false" on the close button is no attribute of the control: this is what
  // decides its state.
  if (closeButton_ != nullptr) closeButton_->SetEnabled(spec_->closeEnabled);
  if (!IsShownButton(spec_->defaultButton)) {
    LOG_ERROR << "the message box's default button " << spec_->defaultButton << " is not shown: "
              << Describe(spec_->caption);
    return;
  }
  CControlUI* def = buttons_[spec_->defaultButton];
  def->SetAttribute(L"style", L"btn_msgbox_def");
  def->SetFocus();
}

void CMessageBoxWnd::OnClick(SkinNotify& msg) {
  if (msg.sender == nullptr) return;
  if (msg.sender == closeButton_)
    End(kResultClose, kCloseByCloseButton);
  else if (msg.sender == buttons_[0])
    End(kResultButton0, kCloseByButton);
  else if (msg.sender == buttons_[1])
    End(kResultButton1, kCloseByButton);
}

void CMessageBoxWnd::OnSelectChanged(SkinNotify& msg) {
  // The layout has no check box; one added to it would report its state in this bit.
  if (checkBox_ == nullptr || msg.sender != checkBox_) return;
  result_ ^= kResultChecked;
}

std::intptr_t CMessageBoxWnd::OnDefaultKey(std::uintptr_t key) {
  if (key == platform::kVkEscape) {
    if (closeButton_ == nullptr || !closeButton_->IsEnabled()) return 0;
    End(kResultClose, kCloseByCloseButton);
    return 1;
  }
  if (key == platform::kVkReturn) {
    if (!IsShownButton(spec_->defaultButton)) return 0;
    End(spec_->defaultButton == 0 ? kResultButton0 : kResultButton1, kCloseByButton);
    return 1;
  }
  return 0;
}

void CMessageBoxWnd::End(std::uint32_t bit, std::uint32_t closeCode) {
  if (ended_) return;
  ended_ = true;
  result_ |= bit;
  Close(closeCode);
}

bool CMessageBoxWnd::IsShownButton(std::int32_t index) const {
  return (index == 0 || index == 1) && buttons_[index] != nullptr;
}
