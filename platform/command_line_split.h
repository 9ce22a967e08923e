#pragma once
// Argument text written for a Windows command line, split into separate arguments the way that
// system's standard splitter does, so a configuration written for it means the same here.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Spaces and tabs separate arguments, except between double quotes. Backslashes are literal
// unless a double quote follows them: 2n backslashes and a quote give n backslashes and the
// quote opens or closes quoting; 2n+1 backslashes and a quote give n backslashes and a literal
// quote. Inside quotes, two quotes in a row give a literal quote and end the quoting. A quoted
// empty text ("") is an empty argument.
std::vector<std::wstring> SplitCommandLineArgs(std::wstring_view text);

}  // namespace platform
