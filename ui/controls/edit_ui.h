#pragma once
// A single-line edit field. While it has the focus, an in-place editor (a popup window holding
// a rich edit with the field's font, colour, limits and modes) lies over its text and takes the
// typing, which reaches it through the owner window; the field follows the editor's text and
// sends "textchanged", "return" (Return pressed), "vk_up" and "vk_down" (the arrow keys, which a
// single line has no use for). Losing the focus closes the editor. With "searchedit", Escape
// clears the field.
#include <functional>
#include <memory>

#include "ui/controls/label_ui.h"
#include "ui/controls/state_images.h"

namespace SkinUI {

class CEditWnd;

class CEditUI : public CLabelUI {
 public:
  static constexpr int kDefaultMaxChar = 255;
  // Asked for every character typed; false drops it. Lets a field accept less than any text.
  using CharFilter = std::function<bool(CEditUI& edit, char32_t ch)>;

  CEditUI();
  ~CEditUI() override;

  const wchar_t* ClassName() const override;
  void* AsInterface(const std::wstring& name) override;
  // A Tab stop that chooses its cursor, while enabled.
  std::uint32_t ControlFlags() const override;
  // Also the open editor's text.
  void SetText(const std::wstring& text) override;
  // Takes "normal", "hot", "focused" and "disabled".
  void SetStatusImages(const SkinStatusImageMap& images) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void HandleEvent(SkinEvent& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStatusImage(IRenderCanvas& canvas) override;
  // The text, or one "*" per character of a password.
  void PaintText(IRenderCanvas& canvas) override;

  bool IsReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool IsNumberOnly() const { return numberOnly_; }
  void SetNumberOnly(bool on) { numberOnly_ = on; }
  bool IsPassword() const { return password_; }
  void SetPassword(bool on);
  bool IsSearchEdit() const { return searchEdit_; }
  int MaxChar() const { return maxChar_; }
  void SetMaxChar(int limit);
  SkinColor NativeBkColor() const { return nativeBkColor_; }
  void SetCharFilter(CharFilter filter) { charFilter_ = std::move(filter); }
  std::uint32_t State() const { return state_; }

  // The in-place editor while it is open, else none.
  CEditWnd* EditWindow() const;
  // Where the editor lies: the text rectangle, one line high, centred.
  SkinRect EditorRect() const;

 private:
  friend class CEditWnd;
  void OpenEditor(SkinPoint click);
  void CloseEditor();
  // From the editor: its text changed, Return was pressed, a key arrived.
  void OnEditorText(const std::wstring& text);
  void OnEditorReturn();
  bool FilterChar(char32_t ch);

  bool readOnly_ = false;
  bool numberOnly_ = false;
  bool password_ = false;
  bool searchEdit_ = false;
  int maxChar_ = kDefaultMaxChar;
  SkinColor nativeBkColor_ = 0xFFFFFFFF;
  std::uint32_t state_ = 0;
  CStateImagesUI images_;
  CharFilter charFilter_;
  std::unique_ptr<CEditWnd> editor_;
};

}  // namespace SkinUI
