#include <gtest/gtest.h>

#include "ui/controls/text_editor.h"

using SkinUI::CTextEditor;
using Result = CTextEditor::EditResult;

namespace {

CTextEditor Editor(const std::wstring& text, bool multiLine = false) {
  CTextEditor e;
  e.SetMultiLine(multiLine);
  e.SetText(text);
  return e;
}

}  // namespace

TEST(TextEditor, TypingReplacesTheSelectionAndMovesTheCaret) {
  CTextEditor e = Editor(L"C:/Orbisk");
  EXPECT_EQ(e.Caret(), 9);  // the program's text leaves the caret at the end
  EXPECT_EQ(e.Insert(L"2"), Result::kChanged);
  EXPECT_EQ(e.Text(), L"C:/Orbisk2");
  e.MoveHome(false, false);
  e.MoveRight(false, false);
  e.MoveRight(true, false);  // select ":"
  EXPECT_EQ(e.SelectedText(), L":");
  EXPECT_EQ(e.Insert(L"D"), Result::kChanged);
  EXPECT_EQ(e.Text(), L"CD/Orbisk2");
  EXPECT_EQ(e.Caret(), 2);
  EXPECT_FALSE(e.HasSelection());
}

TEST(TextEditor, BackspaceDeleteHomeEnd) {
  CTextEditor e = Editor(L"abcdef");
  EXPECT_EQ(e.Backspace(false), Result::kChanged);
  EXPECT_EQ(e.Text(), L"abcde");
  EXPECT_EQ(e.Delete(false), Result::kUnchanged);  // nothing after the caret
  e.MoveHome(false, false);
  EXPECT_EQ(e.Backspace(false), Result::kUnchanged);  // nothing before it
  EXPECT_EQ(e.Delete(false), Result::kChanged);
  EXPECT_EQ(e.Text(), L"bcde");
  e.MoveEnd(true, false);  // Shift+End selects to the end
  EXPECT_EQ(e.SelectedText(), L"bcde");
  EXPECT_EQ(e.Backspace(false), Result::kChanged);
  EXPECT_EQ(e.Text(), L"");
}

TEST(TextEditor, ArrowsCollapseASelectionToItsEdge) {
  CTextEditor e = Editor(L"hello world");
  e.SetSelection(2, 7);
  e.MoveLeft(false, false);
  EXPECT_EQ(e.Caret(), 2);
  EXPECT_FALSE(e.HasSelection());
  e.SetSelection(7, 2);
  e.MoveRight(false, false);
  EXPECT_EQ(e.Caret(), 7);
  e.MoveHome(false, false);
  e.MoveRight(false, true);  // Ctrl+Right: to the next word
  EXPECT_EQ(e.Caret(), 6);
  EXPECT_EQ(e.Backspace(true), Result::kChanged);  // Ctrl+Backspace: the word before
  EXPECT_EQ(e.Text(), L"world");
}

TEST(TextEditor, ReadOnlyFieldsRefuseEditsButTakeTheProgramsText) {
  CTextEditor e = Editor(L"/home/u/Orbisk");
  e.SetReadOnly(true);
  EXPECT_EQ(e.Insert(L"x"), Result::kRefused);
  EXPECT_EQ(e.Backspace(false), Result::kRefused);
  e.SelectAll();
  std::wstring cut;
  EXPECT_EQ(e.Cut(cut), Result::kRefused);
  EXPECT_EQ(e.CopyText(), L"/home/u/Orbisk");  // copying out is fine
  EXPECT_EQ(e.Text(), L"/home/u/Orbisk");
  EXPECT_TRUE(e.SetText(L"/data/Orbisk"));
  EXPECT_EQ(e.Text(), L"/data/Orbisk");
  EXPECT_FALSE(e.SetText(L"/data/Orbisk"));  // the same text is no change
}

TEST(TextEditor, FieldRules) {
  struct Case {
    const char* what;
    bool numberOnly;
    int maxChars;
    bool multiLine;
    std::wstring start;
    std::wstring typed;
    Result result;
    std::wstring after;
  } cases[] = {
      {"digits only: a digit", true, 0, false, L"12", L"3", Result::kChanged, L"123"},
      {"digits only: a letter", true, 0, false, L"12", L"a", Result::kRefused, L"12"},
      {"digits only: a paste with a letter", true, 0, false, L"12", L"3a4", Result::kRefused, L"12"},
      {"limit: what fits", false, 5, false, L"abc", L"defg", Result::kChanged, L"abcde"},
      {"limit: no room", false, 3, false, L"abc", L"d", Result::kRefused, L"abc"},
      {"single line: cut at the line break", false, 0, false, L"", L"one\r\ntwo", Result::kChanged, L"one"},
      {"multi-line keeps it", false, 0, true, L"", L"one\r\ntwo", Result::kChanged, L"one\r\ntwo"},
      {"limit never halves CR LF", false, 4, true, L"ab", L"c\r\nd", Result::kChanged, L"abc"},
  };
  for (const Case& c : cases) {
    CTextEditor e;
    e.SetNumberOnly(c.numberOnly);
    e.SetMaxChars(c.maxChars);
    e.SetMultiLine(c.multiLine);
    e.SetText(c.start);
    EXPECT_EQ(e.Insert(c.typed), c.result) << c.what;
    EXPECT_EQ(e.Text(), c.after) << c.what;
  }
}

TEST(TextEditor, PasswordShowsBulletsAndKeepsTheTextFromTheClipboard) {
  CTextEditor e = Editor(L"secret");
  e.SetPassword(true);
  EXPECT_EQ(e.DisplayText(), std::wstring(6, CTextEditor::kPasswordChar));
  e.SelectAll();
  EXPECT_EQ(e.CopyText(), L"");
  std::wstring cut;
  EXPECT_EQ(e.Cut(cut), Result::kRefused);
  EXPECT_EQ(e.Text(), L"secret");
}

TEST(TextEditor, CrLfMovesAndDeletesAsOneBreak) {
  CTextEditor e = Editor(L"ab\r\ncd", true);
  e.MoveTo(4, false);
  e.MoveLeft(false, false);
  EXPECT_EQ(e.Caret(), 2);
  e.MoveTo(3, false);  // inside the pair: moved to its start
  EXPECT_EQ(e.Caret(), 2);
  EXPECT_EQ(e.Delete(false), Result::kChanged);
  EXPECT_EQ(e.Text(), L"abcd");
  e.SetText(L"ab\r\ncd");
  e.MoveTo(4, false);
  e.MoveHome(false, false);
  EXPECT_EQ(e.Caret(), 4);
  e.MoveHome(false, true);
  EXPECT_EQ(e.Caret(), 0);
  e.MoveEnd(false, false);
  EXPECT_EQ(e.Caret(), 2);
}

TEST(TextEditor, SelectWordAt) {
  CTextEditor e = Editor(L"C:/Program Files/Orbisk");
  e.SelectWordAt(5);
  EXPECT_EQ(e.SelectedText(), L"Program");
  e.SelectWordAt(10);  // the space after a word: the word before it
  EXPECT_EQ(e.SelectedText(), L"Program");
}
