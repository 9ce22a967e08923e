#pragma once
// The model behind the text-entry control: the text, the caret, the selection and the editing
// operations a user performs on them (typing, Backspace/Delete, caret moves, clipboard text),
// with the field's rules (read-only, digits only, password, character limit, single line).
// It knows nothing about drawing or windows: the control lays the text out and talks to the
// clipboard and the speaker.
#include <string>
#include <string_view>

namespace SkinUI {

class CTextEditor {
 public:
  static constexpr int kDefaultMaxChars = 32767;
  // What password mode shows in place of every character.
  static constexpr wchar_t kPasswordChar = L'\u25CF';

  // What a user's edit did. Refused edits are the ones a field answers with a beep.
  enum class EditResult { kUnchanged, kChanged, kRefused };

  // ---- the field's rules -----------------------------------------------------------------------
  bool IsReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  bool IsNumberOnly() const { return numberOnly_; }
  void SetNumberOnly(bool on) { numberOnly_ = on; }
  bool IsPassword() const { return password_; }
  void SetPassword(bool on) { password_ = on; }
  bool IsMultiLine() const { return multiLine_; }
  void SetMultiLine(bool on) { multiLine_ = on; }
  int MaxChars() const { return maxChars_; }
  // Below 1 means the default limit. A text already longer stays as it is; only edits that
  // would grow it are limited.
  void SetMaxChars(int limit);

  // ---- text ------------------------------------------------------------------------------------
  const std::wstring& Text() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  // What the field shows: the text, or one password character per character.
  std::wstring DisplayText() const;
  // The program's way in: replaces everything whatever the rules (a read-only field shows what
  // the program gives it), cut at the character limit and, on a single line, at the first line
  // break. The caret goes to the end. True when the text changed.
  bool SetText(std::wstring_view text);

  // ---- caret and selection (character positions 0..Length) -----------------------------------
  int Caret() const { return caret_; }
  int Anchor() const { return anchor_; }
  bool HasSelection() const { return caret_ != anchor_; }
  int SelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  int SelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  std::wstring SelectedText() const;
  // Positions are clamped into the text and never split a CR LF pair.
  void SetSelection(int anchor, int caret);
  void SelectAll() { SetSelection(0, Length()); }
  // Moves the caret to `pos`; with `extend` the anchor stays (the selection grows or shrinks).
  void MoveTo(int pos, bool extend);
  // One character (or, with `word`, to the previous / next word start) left or right. Without
  // `extend` a selection collapses to its near edge first.
  void MoveLeft(bool extend, bool word);
  void MoveRight(bool extend, bool word);
  // Start / end of the caret's line (of the whole text with `document`).
  void MoveHome(bool extend, bool document);
  void MoveEnd(bool extend, bool document);
  // The word around `pos` (for a double click).
  void SelectWordAt(int pos);

  // ---- editing by the user ---------------------------------------------------------------------
  // Typing or pasting: replaces the selection. Refused in a read-only field, in a digits-only
  // field for text holding anything but digits, and when the limit leaves room for nothing;
  // text beyond the limit is dropped. On a single line the text is cut at its first line break.
  EditResult Insert(std::wstring_view text);
  // Deletes the selection, else the character (with `word`, the word part) before the caret.
  EditResult Backspace(bool word);
  // Deletes the selection, else the character (with `word`, the word part) after the caret.
  EditResult Delete(bool word);
  // Text for the clipboard: the selection, nothing in password mode.
  std::wstring CopyText() const;
  // CopyText, then the selection is deleted (nothing in password or read-only mode).
  EditResult Cut(std::wstring& copied);

 private:
  int Clamp(int pos) const;
  // A position inside a CR LF pair moves to the pair's start.
  int NotInsidePair(int pos) const;
  int PrevPos(int pos) const;
  int NextPos(int pos) const;
  int PrevWordStart(int pos) const;
  int NextWordStart(int pos) const;
  int LineStart(int pos) const;
  int LineEnd(int pos) const;
  EditResult EraseRange(int from, int to);

  std::wstring text_;
  int caret_ = 0;
  int anchor_ = 0;
  int maxChars_ = kDefaultMaxChars;
  bool readOnly_ = false;
  bool numberOnly_ = false;
  bool password_ = false;
  bool multiLine_ = true;
};

}  // namespace SkinUI
