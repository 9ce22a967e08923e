#include "ui/controls/text_editor.h"

#include <algorithm>
#include <cwctype>

namespace SkinUI {
namespace {

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
// Letters, digits and every non-ASCII character that is not a space count as word characters,
// so that runs of ideographs move as one word like runs of letters.
bool IsWordChar(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) != 0 || c == L'_' || (c > 0x7F && !std::iswspace(static_cast<wint_t>(c))); }

}  // namespace

void CTextEditor::SetMaxChars(int limit) { maxChars_ = limit < 1 ? kDefaultMaxChars : limit; }

std::wstring CTextEditor::DisplayText() const {
  if (!password_) return text_;
  return std::wstring(text_.size(), kPasswordChar);
}

bool CTextEditor::SetText(std::wstring_view text) {
  if (!multiLine_) {
    const std::size_t br = text.find_first_of(L"\r\n");
    if (br != std::wstring_view::npos) text = text.substr(0, br);
  }
  if (text.size() > static_cast<std::size_t>(maxChars_)) text = text.substr(0, maxChars_);
  const bool changed = text_ != text;
  text_.assign(text);
  caret_ = anchor_ = NotInsidePair(Length());
  return changed;
}

std::wstring CTextEditor::SelectedText() const {
  return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

int CTextEditor::Clamp(int pos) const { return std::clamp(pos, 0, Length()); }

int CTextEditor::NotInsidePair(int pos) const {
  pos = Clamp(pos);
  if (pos > 0 && pos < Length() && text_[pos - 1] == L'\r' && text_[pos] == L'\n') --pos;
  return pos;
}

int CTextEditor::PrevPos(int pos) const {
  if (pos <= 0) return 0;
  if (pos >= 2 && text_[pos - 2] == L'\r' && text_[pos - 1] == L'\n') return pos - 2;
  return pos - 1;
}

int CTextEditor::NextPos(int pos) const {
  if (pos >= Length()) return Length();
  if (pos + 1 < Length() && text_[pos] == L'\r' && text_[pos + 1] == L'\n') return pos + 2;
  return pos + 1;
}

int CTextEditor::PrevWordStart(int pos) const {
  while (pos > 0 && !IsWordChar(text_[pos - 1])) --pos;
  while (pos > 0 && IsWordChar(text_[pos - 1])) --pos;
  return pos;
}

int CTextEditor::NextWordStart(int pos) const {
  const int n = Length();
  while (pos < n && IsWordChar(text_[pos])) ++pos;
  while (pos < n && !IsWordChar(text_[pos])) ++pos;
  return pos;
}

int CTextEditor::LineStart(int pos) const {
  while (pos > 0 && !IsLineBreak(text_[pos - 1])) --pos;
  return pos;
}

int CTextEditor::LineEnd(int pos) const {
  while (pos < Length() && !IsLineBreak(text_[pos])) ++pos;
  return pos;
}

void CTextEditor::SetSelection(int anchor, int caret) {
  anchor_ = NotInsidePair(anchor);
  caret_ = NotInsidePair(caret);
}

void CTextEditor::MoveTo(int pos, bool extend) {
  caret_ = NotInsidePair(pos);
  if (!extend) anchor_ = caret_;
}

void CTextEditor::MoveLeft(bool extend, bool word) {
  if (!extend && HasSelection() && !word) {
    MoveTo(SelectionStart(), false);
    return;
  }
  MoveTo(word ? PrevWordStart(caret_) : PrevPos(caret_), extend);
}

void CTextEditor::MoveRight(bool extend, bool word) {
  if (!extend && HasSelection() && !word) {
    MoveTo(SelectionEnd(), false);
    return;
  }
  MoveTo(word ? NextWordStart(caret_) : NextPos(caret_), extend);
}

void CTextEditor::MoveHome(bool extend, bool document) { MoveTo(document ? 0 : LineStart(caret_), extend); }
void CTextEditor::MoveEnd(bool extend, bool document) { MoveTo(document ? Length() : LineEnd(caret_), extend); }

void CTextEditor::SelectWordAt(int pos) {
  pos = Clamp(pos);
  int from = pos;
  int to = pos;
  if (pos < Length() && IsWordChar(text_[pos])) {
    while (from > 0 && IsWordChar(text_[from - 1])) --from;
    while (to < Length() && IsWordChar(text_[to])) ++to;
  } else if (pos > 0 && IsWordChar(text_[pos - 1])) {
    while (from > 0 && IsWordChar(text_[from - 1])) --from;
  } else if (pos < Length()) {
    to = NextPos(pos);
  }
  SetSelection(from, to);
}

CTextEditor::EditResult CTextEditor::Insert(std::wstring_view text) {
  if (readOnly_) return EditResult::kRefused;
  if (!multiLine_) {
    const std::size_t br = text.find_first_of(L"\r\n");
    if (br != std::wstring_view::npos) text = text.substr(0, br);
  }
  if (numberOnly_ && !std::all_of(text.begin(), text.end(), IsDigit)) return EditResult::kRefused;
  const int from = SelectionStart();
  const int to = SelectionEnd();
  const long long room = static_cast<long long>(maxChars_) - (Length() - (to - from));
  if (room <= 0 && !text.empty()) return EditResult::kRefused;
  if (static_cast<long long>(text.size()) > room) {
    text = text.substr(0, static_cast<std::size_t>(room));
    // A CR LF pair is never cut in half.
    if (!text.empty() && text.back() == L'\r') text.remove_suffix(1);
    if (text.empty()) return EditResult::kRefused;
  }
  if (text.empty() && from == to) return EditResult::kUnchanged;
  text_.replace(from, to - from, text);
  caret_ = anchor_ = from + static_cast<int>(text.size());
  return EditResult::kChanged;
}

CTextEditor::EditResult CTextEditor::EraseRange(int from, int to) {
  if (from >= to) return EditResult::kUnchanged;
  if (readOnly_) return EditResult::kRefused;
  text_.erase(from, to - from);
  caret_ = anchor_ = from;
  return EditResult::kChanged;
}

CTextEditor::EditResult CTextEditor::Backspace(bool word) {
  if (HasSelection()) return EraseRange(SelectionStart(), SelectionEnd());
  return EraseRange(word ? PrevWordStart(caret_) : PrevPos(caret_), caret_);
}

CTextEditor::EditResult CTextEditor::Delete(bool word) {
  if (HasSelection()) return EraseRange(SelectionStart(), SelectionEnd());
  return EraseRange(caret_, word ? NextWordStart(caret_) : NextPos(caret_));
}

std::wstring CTextEditor::CopyText() const {
  if (password_) return {};
  return SelectedText();
}

CTextEditor::EditResult CTextEditor::Cut(std::wstring& copied) {
  copied.clear();
  if (password_ || readOnly_) return HasSelection() ? EditResult::kRefused : EditResult::kUnchanged;
  copied = SelectedText();
  return EraseRange(SelectionStart(), SelectionEnd());
}

}  // namespace SkinUI
