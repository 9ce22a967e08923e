#include "ui/core/skin_xml.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "platform/text_encoding.h"
#include "ui/core/skin_file_data.h"

namespace SkinUI {

namespace {

constexpr uint32_t kGrowBy = 500;

bool IsSpace(wchar_t c) { return c >= 1 && c <= 32; }

// Classified here, not by the C library: the same skin must parse in every locale (in "C" the
// library calls no character beyond ASCII a letter).
bool IsNameChar(wchar_t c) {
  return c == L'_' || c == L':' || (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') ||
         (c >= L'A' && c <= L'Z') || static_cast<uint32_t>(c) >= 0x80;
}

void SkipSpace(wchar_t*& p) {
  while (IsSpace(*p)) ++p;
}

void SkipSpace(const wchar_t*& p) {
  while (IsSpace(*p)) ++p;
}

// Copies src into a fixed field of `size` characters, truncated and terminated.
void CopyField(wchar_t* field, size_t size, const wchar_t* src) {
  size_t n = 0;
  if (src != nullptr) {
    while (n + 1 < size && src[n] != 0) ++n;
    std::wmemcpy(field, src, n);
  }
  field[n] = 0;
}

void CopyOut(const wchar_t* field, wchar_t* buffer, int max) {
  if (buffer == nullptr || max <= 0) return;
  CopyField(buffer, static_cast<size_t>(max), field);
}

struct Entity {
  std::wstring_view text;
  wchar_t value;
};
constexpr Entity kEntities[] = {
    {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// CSkinXml

bool CSkinXml::LoadText(const wchar_t* text) {
  Release();
  size_t length = text != nullptr ? std::wcslen(text) : 0;
  auto copy = std::make_unique<wchar_t[]>(length + 1);
  if (length != 0) std::wmemcpy(copy.get(), text, length);
  copy[length] = 0;
  return Parse(std::move(copy), length);
}

bool CSkinXml::LoadBytes(const uint8_t* bytes, size_t size, int encoding) {
  Release();
  if (bytes == nullptr) size = 0;
  std::wstring wide;
  if (encoding == kSkinXmlUtf8) {
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
      bytes += 3;
      size -= 3;
    }
    wide = platform::Utf8ToWide({reinterpret_cast<const char*>(bytes), size});
  } else if (encoding == kSkinXmlAnsi) {
    wide = platform::AnsiToWide({reinterpret_cast<const char*>(bytes), size});
  } else {
    bool little = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    bool big = size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!little && !big) {
      // Nothing says which byte order the text is in.
      SetError(L"UTF-16 text without a byte-order mark", L"");
      return false;
    }
    wide = platform::Utf16ToWide(bytes + 2, size / 2 - 1, big);
  }
  auto text = std::make_unique<wchar_t[]>(wide.size() + 1);
  std::wmemcpy(text.get(), wide.data(), wide.size());
  text[wide.size()] = 0;
  return Parse(std::move(text), wide.size());
}

bool CSkinXml::LoadFile(const wchar_t* fileName, int encoding) {
  Release();
  std::unique_ptr<uint8_t[]> bytes;
  uint32_t size = LoadFileData(fileName != nullptr ? fileName : L"", bytes, true);
  if (size == 0) {
    SetError(L"LoadFileData failed", L"");
    return false;
  }
  return LoadBytes(bytes.get(), size, encoding);
}

void CSkinXml::Release() {
  text_.reset();
  elements_.reset();
  elementCount_ = 0;
  elementCapacity_ = 0;
}

void CSkinXml::ErrorMessage(wchar_t* buffer, int max) const { CopyOut(errorMessage_, buffer, max); }

void CSkinXml::ErrorLocation(wchar_t* buffer, int max) const { CopyOut(errorLocation_, buffer, max); }

CSkinXmlNode CSkinXml::Root() const {
  if (elementCount_ == 0) return {};
  return CSkinXmlNode(this, 1);
}

void CSkinXml::SetError(const wchar_t* message, const wchar_t* location) {
  CopyField(errorMessage_, kMaxErrorMessage, message);
  CopyField(errorLocation_, kMaxErrorLocation, location);
}

bool CSkinXml::Fail(const wchar_t* message, const wchar_t* location) {
  SetError(message, location);
  return false;
}

bool CSkinXml::Parse(std::unique_ptr<wchar_t[]> text, size_t length) {
  // Positions are 32-bit; a text that does not fit is refused rather than misread.
  if (length >= UINT32_MAX) {
    SetError(L"Document too large", L"");
    return false;
  }
  text_ = std::move(text);
  elementCount_ = 0;
  elementCapacity_ = 0;
  NewElement();  // the reserved record 0
  errorMessage_[0] = 0;
  errorLocation_[0] = 0;
  wchar_t* p = text_.get();
  if (!ParseList(0, p, 0)) {
    Release();
    return false;
  }
  return true;
}

uint32_t CSkinXml::NewElement() {
  if (elementCount_ == elementCapacity_) {
    uint32_t capacity = elementCapacity_ + elementCapacity_ / 2 + kGrowBy;
    auto grown = std::make_unique<Element[]>(capacity);  // value-initialised: zeroed
    if (elementCount_ != 0) std::memcpy(grown.get(), elements_.get(), elementCount_ * sizeof(Element));
    elements_ = std::move(grown);
    elementCapacity_ = capacity;
  }
  return elementCount_++;
}

bool CSkinXml::ParseList(uint32_t parent, wchar_t*& p, int depth) {
  const bool lenient = parent <= 1;
  uint32_t previous = 0;
  SkipSpace(p);
  for (;;) {
    if (*p == 0 && lenient) return true;
    SkipSpace(p);
    if (*p != L'<') return Fail(L"Expected start tag", p);
    if (p[1] == L'/') return true;  // the parent's closing tag
    ++p;
    SkipSpace(p);

    if (*p == L'!' || *p == L'?') {
      // Comments, declarations and instructions end at the first "->" or "?>" respectively.
      const wchar_t end = *p == L'!' ? L'-' : L'?';
      while (*p != 0 && !(p[0] == end && p[1] == L'>')) ++p;
      if (*p != 0) p += 2;
      SkipSpace(p);
      continue;
    }

    SkipSpace(p);
    const uint32_t index = NewElement();
    elements_[index].name = Pos(p);
    elements_[index].parent = parent;
    // Only the first element of the document is reachable; further top-level ones are parsed
    // but linked to nothing.
    if (parent != 0) {
      if (previous == 0) {
        elements_[parent].child = index;
      } else {
        elements_[previous].next = index;
      }
    }
    previous = index;

    wchar_t* const name = p;
    while (IsNameChar(*p)) ++p;
    wchar_t* const nameEnd = p;
    if (*p == 0) return Fail(L"Error parsing element name", p);

    if (!ParseAttributes(p)) return false;
    SkipSpace(p);

    if (p[0] == L'/' && p[1] == L'>') {
      elements_[index].data = Pos(p);
      *p = 0;
      p += 2;
    } else {
      if (*p != L'>') return Fail(L"Expected start-tag closing", p);
      ++p;
      elements_[index].data = Pos(p);
      wchar_t* const textEnd = ReadText(p, L'<');

      if (*p == 0 && lenient) {
        *nameEnd = 0;
        return true;
      }
      if (*p != L'<') return Fail(L"Expected end-tag start", p);
      if (p[1] != L'/') {
        if (depth + 1 >= kMaxNesting) return Fail(L"Elements nested too deeply", p);
        if (!ParseList(index, p, depth + 1)) return false;
      }
      if (p[0] == L'<' && p[1] == L'/') {
        *textEnd = 0;
        *p = 0;
        p += 2;
        SkipSpace(p);
        const size_t nameLength = static_cast<size_t>(nameEnd - name);
        if (std::wcsncmp(p, name, nameLength) != 0) return Fail(L"Unmatched closing tag", p);
        p += nameLength;
        SkipSpace(p);
        if (*p != L'>') return Fail(L"Unmatched closing tag", *p != 0 ? p + 1 : p);
        ++p;
      }
    }

    *nameEnd = 0;
    SkipSpace(p);
  }
}

bool CSkinXml::ParseAttributes(wchar_t*& p) {
  if (*p == L'>') return true;
  SkipSpace(p);
  while (*p != 0 && *p != L'>' && *p != L'/') {
    while (IsNameChar(*p)) ++p;
    wchar_t* const nameEnd = p;
    SkipSpace(p);
    if (*p != L'=') return Fail(L"Error while parsing attributes", p);
    ++p;
    // The name ends here; the "=" or the blank after it is no longer needed.
    *nameEnd = 0;
    SkipSpace(p);
    if (*p != L'"') return Fail(L"Expected attribute value", *p != 0 ? p + 1 : p);
    ++p;
    wchar_t* const valueEnd = ReadText(p, L'"');
    if (*p != L'"') return Fail(L"Error while parsing attribute string", L"");
    // Blank out what decoding left between the value and its closing quote, quote included,
    // so that the attribute mapping can step over it.
    std::fill(valueEnd, p + 1, L'\0');
    ++p;
    SkipSpace(p);
  }
  return true;
}

wchar_t* CSkinXml::ReadText(wchar_t*& p, wchar_t stop) const {
  wchar_t* out = p;
  while (*p != 0 && *p != stop) {
    if (*p == L'&') {
      const Entity* match = nullptr;
      for (const Entity& e : kEntities) {
        if (std::wcsncmp(p, e.text.data(), e.text.size()) == 0) {
          match = &e;
          break;
        }
      }
      if (match != nullptr) {
        *out++ = match->value;
        p += match->text.size();
        continue;
      }
    } else if (*p == L' ') {
      *out++ = *p++;
      if (!preserveWhitespace_) SkipSpace(p);
      continue;
    }
    *out++ = *p++;
  }
  // Terminate now where that cannot overwrite the stop character; otherwise the caller does
  // once it has looked at it.
  if (out < p) std::fill(out, p, L'\0');
  return out;
}

// ---------------------------------------------------------------------------------------------
// CSkinXmlNode

namespace {
const wchar_t kEmpty[] = L"";
}  // namespace

const wchar_t* CSkinXmlNode::Name() const {
  if (doc_ == nullptr) return nullptr;
  if (index_ >= doc_->elementCount_) return kEmpty;  // the root of a document without elements
  return doc_->text_.get() + doc_->elements_[index_].name;
}

CSkinXmlNode CSkinXmlNode::FirstChild() const {
  if (doc_ == nullptr || index_ >= doc_->elementCount_) return {};
  uint32_t child = doc_->elements_[index_].child;
  return child == 0 ? CSkinXmlNode() : CSkinXmlNode(doc_, child);
}

CSkinXmlNode CSkinXmlNode::NextSibling() const {
  if (doc_ == nullptr || index_ >= doc_->elementCount_) return {};
  uint32_t next = doc_->elements_[index_].next;
  return next == 0 ? CSkinXmlNode() : CSkinXmlNode(doc_, next);
}

bool CSkinXmlNode::HasChildren() const {
  return doc_ != nullptr && index_ < doc_->elementCount_ && doc_->elements_[index_].child != 0;
}

bool CSkinXmlNode::HasAttributes() const {
  if (attributeCount_ == 0) MapAttributes();
  return attributeCount_ > 0;
}

int CSkinXmlNode::AttributeCount() const {
  if (attributeCount_ == 0) MapAttributes();
  return attributeCount_;
}

const wchar_t* CSkinXmlNode::AttributeName(int index) const {
  if (doc_ == nullptr) return nullptr;
  if (attributeCount_ == 0) MapAttributes();
  if (index < 0 || index >= attributeCount_) return kEmpty;
  uint32_t pos = attributes_[index].name;
  return pos == kNoName ? kEmpty : doc_->text_.get() + pos;
}

const wchar_t* CSkinXmlNode::AttributeValue(int index) const {
  if (doc_ == nullptr) return nullptr;
  if (attributeCount_ == 0) MapAttributes();
  if (index < 0 || index >= attributeCount_) return kEmpty;
  return doc_->text_.get() + attributes_[index].value;
}

bool CSkinXmlNode::FindAttribute(const wchar_t* name, wchar_t* buffer, int max) const {
  if (doc_ == nullptr || name == nullptr) return false;
  if (attributeCount_ == 0) MapAttributes();
  for (int i = 0; i < attributeCount_; ++i) {
    if (std::wcscmp(AttributeName(i), name) == 0) {
      if (buffer != nullptr && max >= 0) CopyField(buffer, static_cast<size_t>(max) + 1, AttributeValue(i));
      return true;
    }
  }
  return false;
}

// The parse left each attribute as: name, terminator (where "=" or a blank stood), blanks, an
// optional "=", blanks, the opening quote, the decoded value and a run of terminators up to and
// including the old closing quote.
void CSkinXmlNode::MapAttributes() const {
  attributeCount_ = 0;
  if (doc_ == nullptr || index_ >= doc_->elementCount_) return;
  const CSkinXml::Element& e = doc_->elements_[index_];
  const wchar_t* const text = doc_->text_.get();
  const wchar_t* p = text + e.name;
  p += std::wcslen(p);
  const wchar_t* const end = text + e.data;
  if (p < end) ++p;  // the name's terminator
  while (attributeCount_ < kMaxAttributes) {
    while (p < end && (*p == 0 || IsSpace(*p))) ++p;
    if (p >= end) return;
    const wchar_t* name = p;
    while (p < end && IsNameChar(*p)) ++p;
    const bool emptyName = p == name;
    if (p < end && *p == 0) ++p;
    SkipSpace(p);
    if (p < end && *p == L'=') ++p;
    SkipSpace(p);
    if (p >= end || *p != L'"') return;
    ++p;
    attributes_[attributeCount_].name = emptyName ? kNoName : static_cast<uint32_t>(name - text);
    attributes_[attributeCount_].value = static_cast<uint32_t>(p - text);
    ++attributeCount_;
    p += std::wcslen(p);
  }
}

}  // namespace SkinUI
