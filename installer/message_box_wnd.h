#pragma once
// The installer's own modal message box, drawn from the skin ("xml\msgbox.xml"): a caption line
// with a warning icon, a centred text, one or two buttons and a close button. A caller fills a
// MessageBoxSpec and gets back which control ended the box:
//
//   MessageBoxSpec spec;
//   spec.caption = L"...";
//   spec.text = L"...";
//   spec.buttons[0] = L"确认";
//   std::uint32_t result = ShowMessageBox(spec);  // kResultButton0, kResultButton1 or kResultClose
#include <cstdint>
#include <optional>
#include <string>

#include "platform/window_system.h"
#include "ui/core/window_impl_base.h"

namespace SkinUI {
class CControlUI;
}

// The skin archive of both of the installer's windows: the executable's resource of this type and
// id, registered as the main archive and held open.
inline constexpr const char* kSkinArchiveType = "ZIPRES";
inline constexpr int kSkinArchiveId = 131;

struct MessageBoxSpec {
  // The box is modal to it: the owner ignores input while the box is open. None: no owner.
  platform::WindowHandle owner = nullptr;
  // Shown only when present; an empty caption still shows the caption line with its icon.
  std::optional<std::wstring> caption;
  std::optional<std::wstring> text;
  // Texts of "btn0" and "btn1"; a button is shown only when its text is present and not empty.
  std::optional<std::wstring> buttons[2];
  // Reserved: the layout has no check box.
  std::optional<std::wstring> checkText;
  // The shown button that Enter chooses, drawn as the default and focused.
  std::int32_t defaultButton = 0;
  // Whether the close button and Escape can end the box.
  bool closeEnabled = true;
  bool checkState = false;
};

// Result bits. A box closed without any of its controls (its owner went away) gives 0.
enum : std::uint32_t {
  kResultButton0 = 1,
  kResultButton1 = 2,
  kResultClose = 4,  // the close button, or Escape while it is enabled
  kResultChecked = 16,  // reserved for a check box
};

// Shows the box and waits, running the messages of every window (the owner's posted work goes
// on), until one of its controls or keys ends it; the result bits. 0 when the box could not be
// shown (no window system, no skin), which is logged at ERROR with the caption and the text.
std::uint32_t ShowMessageBox(const MessageBoxSpec& spec);

class CMessageBoxWnd : public SkinUI::WindowImplBaseNew {
 public:
  static constexpr const wchar_t* kSkinFile = L"xml\\msgbox.xml";

  // `spec` must outlive the box.
  explicit CMessageBoxWnd(const MessageBoxSpec& spec);

  // ---- hooks of the window base, in its slot order ----------------------------------------------
  const wchar_t* WindowClassName() const override;
  // Fills the controls from the MessageBoxSpec.
  void OnInitialize() override;
  void OnClick(SkinUI::SkinNotify& msg) override;
  void OnSelectChanged(SkinUI::SkinNotify& msg) override;
  // Escape ends the box like the close button while that is enabled; Enter chooses the default
  // button.
  std::intptr_t OnDefaultKey(std::uintptr_t key) override;

  std::uint32_t Result() const { return result_; }

 private:
  // Records the first control or key that ends the box and asks the window to close. Later ones
  // are ignored: Enter also reaches the focused button, and two clicks may queue before the
  // window is gone, but the result names exactly one choice.
  void End(std::uint32_t bit, std::uint32_t closeCode);
  bool IsShownButton(std::int32_t index) const;

  SkinUI::CControlUI* closeButton_ = nullptr;
  SkinUI::CControlUI* buttons_[2] = {nullptr, nullptr};
  SkinUI::CControlUI* text_ = nullptr;
  SkinUI::CControlUI* caption_ = nullptr;
  SkinUI::CControlUI* checkBox_ = nullptr;  // reserved: never looked up
  std::uint32_t result_ = 0;
  bool ended_ = false;
  const MessageBoxSpec* spec_;
};
