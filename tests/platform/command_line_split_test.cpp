#include "platform/command_line_split.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::wstring>;

TEST(CommandLineSplitTest, SplitsLikeTheWindowsCommandLine) {
  struct Case {
    const wchar_t* text;
    Args args;
  } cases[] = {
      {L"", {}},
      {L"   \t ", {}},
      {L"a b\tc", {L"a", L"b", L"c"}},
      {L"  lead  and   trail  ", {L"lead", L"and", L"trail"}},
      {L"\"abc\" d e", {L"abc", L"d", L"e"}},
      {L"\"with space\" x", {L"with space", L"x"}},
      {L"a\"b c\"d", {L"ab cd"}},                     // quotes group inside a word
      {L"\"\"", {L""}},                                // a quoted empty argument
      {L"a \"\" b", {L"a", L"", L"b"}},
      {L"a\\\\b d\"e f\"g h", {L"a\\\\b", L"de fg", L"h"}},  // backslashes without a quote stay
      {L"a\\\\\\\"b c d", {L"a\\\"b", L"c", L"d"}},          // 3 backslashes + quote: 1 and a quote
      {L"a\\\\\\\\\"b c\" d e", {L"a\\\\b c", L"d", L"e"}},  // 4 backslashes + quote: 2, quote opens
      {L"\\\"x\\\"", {L"\"x\""}},
      {L"C:\\Program Files\\x", {L"C:\\Program", L"Files\\x"}},
      {L"\"C:\\Program Files\\\\\" next", {L"C:\\Program Files\\", L"next"}},
      {L"\"a\"\"b\" c", {L"a\"b c"}},                  // "" inside: a literal quote and quoting ends; the next quote reopens it
      {L"\"a\"\"b c\"", {L"a\"b", L"c"}},
      {L"\"\"\"x\"\"\"", {L"\"x\""}},                  // three quotes outside: a literal quote
      {L"\"unterminated arg", {L"unterminated arg"}},
      {L"--title=\"图片 管家\" -v", {L"--title=图片 管家", L"-v"}},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::SplitCommandLineArgs(c.text), c.args) << c.text;
}

}  // namespace
