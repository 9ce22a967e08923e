#pragma once
// The skin's XML reader: a small in-place parser (elements, double-quoted attributes, element
// text, five named entities, comments and instructions) over wide text, producing a flat table
// of elements linked by indices, and a copyable node type that walks it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {

// Byte encodings LoadBytes understands. Any value other than UTF-8 and ANSI means UTF-16 with a
// byte-order mark.
enum SkinXmlEncoding : int {
  kSkinXmlUtf8 = 0,
  kSkinXmlUnicode = 1,
  kSkinXmlAnsi = 2,
};

class CSkinXml;

class CSkinXmlNode {
 public:
  static constexpr int kMaxAttributes = 64;

  CSkinXmlNode() = default;

  bool IsValid() const { return doc_ != nullptr; }
  // The element name; null for an invalid node.
  const wchar_t* Name() const;
  CSkinXmlNode FirstChild() const;
  CSkinXmlNode NextSibling() const;
  bool HasChildren() const;

  bool HasAttributes() const;
  int AttributeCount() const;
  // "" for an index outside 0..count-1, null for an invalid node.
  const wchar_t* AttributeName(int index) const;
  const wchar_t* AttributeValue(int index) const;
  // Copies the value of the first attribute called exactly `name` into buffer: at most max
  // characters and a terminator, so the buffer holds max + 1 (the builder passes 500 and 499).
  bool FindAttribute(const wchar_t* name, wchar_t* buffer, int max) const;

 private:
  friend class CSkinXml;
  CSkinXmlNode(const CSkinXml* doc, uint32_t index) : doc_(doc), index_(index) {}
  void MapAttributes() const;

  struct Attribute {
    uint32_t name;   // position of the name, or kNoName for an empty one
    uint32_t value;  // position of the decoded value
  };
  static constexpr uint32_t kNoName = UINT32_MAX;

  const CSkinXml* doc_ = nullptr;
  uint32_t index_ = 0;
  mutable int attributeCount_ = 0;
  mutable Attribute attributes_[kMaxAttributes] = {};
};

class CSkinXml {
 public:
  static constexpr size_t kMaxErrorMessage = 100;   // characters, terminator included
  static constexpr size_t kMaxErrorLocation = 50;
  // Elements may nest at most this deep: the parse recurses once per level.
  static constexpr int kMaxNesting = 256;

  CSkinXml() = default;
  ~CSkinXml() = default;
  CSkinXml(const CSkinXml&) = delete;
  CSkinXml& operator=(const CSkinXml&) = delete;

  bool LoadText(const wchar_t* text);
  bool LoadBytes(const uint8_t* bytes, size_t size, int encoding);
  // Reads the skin file through LoadFileData (markup reads) and parses it.
  bool LoadFile(const wchar_t* fileName, int encoding = kSkinXmlUtf8);
  void Release();

  void ErrorMessage(wchar_t* buffer, int max) const;
  void ErrorLocation(wchar_t* buffer, int max) const;

  CSkinXmlNode Root() const;

  // Whitespace in element text and values is kept as written by default (nothing turns that
  // off); false makes a run of whitespace that starts with a space one space.
  void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }

 private:
  friend class CSkinXmlNode;

  struct Element {
    uint32_t name;
    uint32_t child;
    uint32_t next;
    uint32_t parent;
    uint32_t data;
  };

  bool Parse(std::unique_ptr<wchar_t[]> text, size_t length);
  bool ParseList(uint32_t parent, wchar_t*& p, int depth);
  bool ParseAttributes(wchar_t*& p);
  wchar_t* ReadText(wchar_t*& p, wchar_t stop) const;
  uint32_t NewElement();
  bool Fail(const wchar_t* message, const wchar_t* location);
  void SetError(const wchar_t* message, const wchar_t* location);
  uint32_t Pos(const wchar_t* p) const { return static_cast<uint32_t>(p - text_.get()); }

  std::unique_ptr<wchar_t[]> text_;
  std::unique_ptr<Element[]> elements_;
  uint32_t elementCount_ = 0;
  uint32_t elementCapacity_ = 0;
  wchar_t errorMessage_[kMaxErrorMessage] = {};
  wchar_t errorLocation_[kMaxErrorLocation] = {};
  bool preserveWhitespace_ = true;
};

}  // namespace SkinUI
