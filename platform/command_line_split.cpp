#include "platform/command_line_split.h"

namespace platform {

std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view text) {
  std::vector<std::wstring> args;
  std::wstring current;
  bool started = false;  // an argument is open (it may still be empty: "")
  // Quotes seen in the current run: 1 = inside quotes. A run of quotes counts up, every third
  // one is a literal quote, and a run that ends on 2 leaves quoting closed.
  int quotes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    wchar_t c = text[i];
    if ((c == L' ' || c == L'\t') && quotes == 0) {
      if (started) args.push_back(std::move(current));
      current.clear();
      started = false;
      ++i;
      continue;
    }
    started = true;
    if (c == L'\\') {
      std::size_t run = 0;
      while (i < text.size() && text[i] == L'\\') ++run, ++i;
      if (i < text.size() && text[i] == L'"') {
        current.append(run / 2, L'\\');
        if (run % 2 == 1) {
          current += L'"';
          ++i;
        }
        // An even run leaves the quote to the quote rule below.
      } else {
        current.append(run, L'\\');
      }
      continue;
    }
    if (c == L'"') {
      ++quotes;
      ++i;
      while (i < text.size() && text[i] == L'"') {
        if (++quotes == 3) {
          current += L'"';
          quotes = 0;
        }
        ++i;
      }
      if (quotes == 2) quotes = 0;
      continue;
    }
    current += c;
    ++i;
  }
  if (started) args.push_back(std::move(current));
  return args;
}

}  // namespace platform
