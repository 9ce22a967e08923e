// The skin XML parser on arbitrary bytes: the first byte picks the encoding, the rest is the
// document. Every node, attribute and error text is read back.
#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "ui/core/skin_xml.h"

namespace {

void Walk(const SkinUI::CSkinXmlNode& node, int depth) {
  if (!node.IsValid() || depth > SkinUI::CSkinXml::kMaxNesting + 1) return;
  size_t sink = std::wcslen(node.Name());
  for (int i = -1; i <= node.AttributeCount(); ++i) {
    sink += std::wcslen(node.AttributeName(i)) + std::wcslen(node.AttributeValue(i));
  }
  wchar_t buf[500];
  if (node.HasAttributes()) node.FindAttribute(node.AttributeName(0), buf, 499);
  node.FindAttribute(L"name", buf, 8);
  (void)sink;
  for (SkinUI::CSkinXmlNode c = node.FirstChild(); c.IsValid(); c = c.NextSibling()) Walk(c, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const int kEncodings[] = {SkinUI::kSkinXmlUtf8, SkinUI::kSkinXmlUnicode, SkinUI::kSkinXmlAnsi};
  SkinUI::CSkinXml xml;
  xml.SetPreserveWhitespace((data[0] & 4) == 0);
  if (xml.LoadBytes(data + 1, size - 1, kEncodings[data[0] % 3])) Walk(xml.Root(), 0);
  wchar_t message[SkinUI::CSkinXml::kMaxErrorMessage];
  wchar_t location[SkinUI::CSkinXml::kMaxErrorLocation];
  xml.ErrorMessage(message, static_cast<int>(std::size(message)));
  xml.ErrorLocation(location, static_cast<int>(std::size(location)));
  return 0;
}
