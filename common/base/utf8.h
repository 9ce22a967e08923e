#pragma once
// UTF-8 <-> wide text (UTF-32 in wchar_t here) at the edges: JSON, URLs and logs are UTF-8,
// on-screen text is wide. Ill-formed input never fails: each bad byte (or unpaired surrogate /
// out-of-range value) becomes U+FFFD.
#include <string>
#include <string_view>

namespace KwrBase {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace KwrBase
