#include "ui/core/skin_xml.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "ui/core/skin_file_data.h"
#include "tests/support/scoped_hook.h"

namespace SkinUI {
namespace {

std::wstring Message(const CSkinXml& xml, int max = 200) {
  std::wstring buf(static_cast<size_t>(max), L'#');
  xml.ErrorMessage(buf.data(), max);
  return buf.c_str();
}

std::wstring Location(const CSkinXml& xml, int max = 200) {
  std::wstring buf(static_cast<size_t>(max), L'#');
  xml.ErrorLocation(buf.data(), max);
  return buf.c_str();
}

// name{a=v,...}[children...]: the whole tree reachable from a node, for comparisons.
std::wstring Dump(const CSkinXmlNode& node) {
  std::wstring s = node.Name();
  s += L"{";
  for (int i = 0; i < node.AttributeCount(); ++i) {
    if (i) s += L",";
    s += node.AttributeName(i);
    s += L"=";
    s += node.AttributeValue(i);
  }
  s += L"}";
  if (node.HasChildren()) {
    s += L"[";
    for (CSkinXmlNode c = node.FirstChild(); c.IsValid(); c = c.NextSibling()) s += Dump(c);
    s += L"]";
  }
  return s;
}

bool LoadUtf8(CSkinXml& xml, const std::string& bytes) {
  return xml.LoadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), kSkinXmlUtf8);
}

TEST(SkinXml, Utf8MarkAndDeclarationDoNotChangeTheTree) {
  const std::string body =
      "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
      "<!-- the installer window -->\r\n"
      "<Window size=\"640,400\" caption=\"0,0,0,40\">\r\n"
      "  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\"/>\r\n"
      "  <VerticalLayout><Label name=\"lbl\" text=\"a &lt;b&gt; &amp; &apos;c&apos;\"/></VerticalLayout>\r\n"
      "</Window>\r\n";
  CSkinXml plain, marked;
  ASSERT_TRUE(LoadUtf8(plain, body));
  ASSERT_TRUE(LoadUtf8(marked, "\xEF\xBB\xBF" + body));
  const std::wstring expected =
      L"Window{size=640,400,caption=0,0,0,40}[Font{id=0,name=\u5FAE\u8F6F\u96C5\u9ED1,size=12}"
      L"VerticalLayout{}[Label{name=lbl,text=a <b> & 'c'}]]";
  EXPECT_EQ(Dump(plain.Root()), expected);
  EXPECT_EQ(Dump(marked.Root()), expected);
  EXPECT_EQ(Message(plain), L"");
  EXPECT_EQ(Location(plain), L"");
}

TEST(SkinXml, Utf16NeedsItsMarkAndHonoursTheByteOrder) {
  auto utf16 = [](const std::wstring& text, bool big) {
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
      char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
      bytes += big ? hi : lo;
      bytes += big ? lo : hi;
    }
    return bytes;
  };
  const std::wstring text = L"<R a=\"\u4E2D\"><C/></R>";
  for (bool big : {true, false}) {
    std::string bytes = utf16(text, big) + "x";  // an odd trailing byte is dropped
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), kSkinXmlUnicode))
        << big;
    EXPECT_EQ(Dump(xml.Root()), L"R{a=\u4E2D}[C{}]");
  }
  std::string noMark = utf16(text, true).substr(2);
  for (size_t size : {noMark.size(), size_t{1}, size_t{0}}) {
    CSkinXml xml;
    EXPECT_FALSE(xml.LoadBytes(reinterpret_cast<const uint8_t*>(noMark.data()), size, kSkinXmlUnicode));
    EXPECT_EQ(Message(xml), L"UTF-16 text without a byte-order mark");
    EXPECT_FALSE(xml.Root().IsValid());
  }
}

TEST(SkinXml, AnsiAndInvalidUtf8AreConvertedNotRejected) {
  CSkinXml xml;
  ASSERT_TRUE(LoadUtf8(xml, "<a v=\"x\xFFy\xE4\"/>"));
  EXPECT_EQ(Dump(xml.Root()), L"a{v=x\uFFFDy\uFFFD}");
  const std::string ansi = "<a v=\"plain\"/>";
  ASSERT_TRUE(xml.LoadBytes(reinterpret_cast<const uint8_t*>(ansi.data()), ansi.size(), kSkinXmlAnsi));
  EXPECT_EQ(Dump(xml.Root()), L"a{v=plain}");
}

struct LoadCase {
  const char* what;
  const wchar_t* text;
  bool ok;
  const wchar_t* tree;      // when ok
  const wchar_t* message;   // when not
  const wchar_t* location;
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.what; }

LoadCase Ok(const char* what, const wchar_t* text, const wchar_t* tree) {
  return {what, text, true, tree, nullptr, nullptr};
}
LoadCase Err(const char* what, const wchar_t* text, const wchar_t* message, const wchar_t* location) {
  return {what, text, false, nullptr, message, location};
}

class SkinXmlLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SkinXmlLoad, TreeOrError) {
  const LoadCase& c = GetParam();
  CSkinXml xml;
  bool ok = xml.LoadText(c.text);
  ASSERT_EQ(ok, c.ok) << Message(xml);
  if (ok) {
    EXPECT_EQ(Dump(xml.Root()), c.tree);
    EXPECT_EQ(Message(xml), L"");
  } else {
    EXPECT_EQ(Message(xml), c.message);
    EXPECT_EQ(Location(xml), c.location);
    EXPECT_FALSE(xml.Root().IsValid());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinXmlLoad,
    ::testing::Values(
        Ok("unclosed root", L"<Window><Font id=\"0\"/>", L"Window{}[Font{id=0}]"),
        Ok("unclosed root child", L"<Window a=\"1\"><Font>text", L"Window{a=1}[Font{}]"),
        Ok("closing tags with blanks", L"<a >t</ a ><b/>", L"a{}"),
        Ok("empty name", L"<><x/></>", L"{}[x{}]"),
        Ok("comment then root", L"<!--c--><?pi?><r><!-- in --><k/></r>", L"r{}[k{}]"),
        Ok("doctype runs to the next ->", L"<!DOCTYPE r [<!ELEMENT r ANY>]><r/>--><q/>", L"q{}"),
        Ok("blanks around =", L"<r a = \"1\"\tb=\"2\"/>", L"r{a=1,b=2}"),
        Ok("empty attribute name", L"<r =\"1\"/>", L"r{=1}"),
        Ok("markup and line breaks in values", L"<r v=\"a<b>\nc\"/>", L"r{v=a<b>\nc}"),
        Ok("numeric and unknown entities kept", L"<r v=\"&#65;&#x42;&nbsp;&amp;lt;&\"/>",
           L"r{v=&#65;&#x42;&nbsp;&lt;&}"),
        Ok("no element at all", L"  <!-- nothing -->  ", L"{}"),
        Ok("empty text", L"", L"{}"),
        Err("closed by another name", L"<A><B></A>", L"Unmatched closing tag", L"A>"),
        Err("closing name runs on", L"<a></ab>", L"Unmatched closing tag", L">"),
        Err("closing tag at the end", L"<a><b></b", L"Unmatched closing tag", L""),
        Err("single quotes", L"<a x='1'/>", L"Expected attribute value", L"1'/>"),
        Err("value missing at the end", L"<a x=", L"Expected attribute value", L""),
        Err("dash in a name", L"<a data-x=\"1\"/>", L"Error while parsing attributes",
            L"-x=\"1\"/>"),
        Err("unterminated value", L"<a x=\"abc", L"Error while parsing attribute string", L""),
        Err("text after a child", L"<a>first<b/>more</a>", L"Expected start tag", L"more</a>"),
        Err("text at the top", L"hello", L"Expected start tag", L"hello"),
        Err("end below the lenient levels", L"<a><b><c/>", L"Expected start tag", L""),
        Err("comment ends at a->", L"<a><!-- a->b --></a>", L"Expected start tag",
            L"b --></a>"),
        Err("later top-level element still checked", L"<a/><b x='1'/>", L"Expected attribute value",
            L"1'/>"),
        Err("end inside a name", L"<abc", L"Error parsing element name", L""),
        Err("slash without >", L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"),
        Err("end inside deep content", L"<a><b><c>text", L"Expected end-tag start", L"")),
    [](const auto& info) {
      std::string n;
      for (const char* p = info.param.what; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return n;
    });

TEST(SkinXml, NameCharactersDoNotDependOnTheLocale) {
  // ASCII letters, digits, "_" and ":" and every character beyond ASCII; other ASCII marks end a
  // name.
  const wchar_t* text = L"<Fen\u00EAtre \u540D\u524D=\"1\" _a:b9=\"2\" \u00E9\u3000x=\"3\"><\u4E2D/></Fen\u00EAtre>";
  const std::wstring tree = L"Fen\u00EAtre{\u540D\u524D=1,_a:b9=2,\u00E9\u3000x=3}[\u4E2D{}]";
  for (const char* locale : {"C", "C.UTF-8"}) {
    if (!std::setlocale(LC_ALL, locale)) continue;
    SCOPED_TRACE(locale);
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadText(text)) << Message(xml);
    EXPECT_EQ(Dump(xml.Root()), tree);
    EXPECT_FALSE(xml.LoadText(L"<a b.c=\"1\"/>"));
    EXPECT_EQ(Message(xml), L"Error while parsing attributes");
  }
  std::setlocale(LC_ALL, "C");
}

TEST(SkinXml, FindAttributeFillsTheBuilderBufferWhole) {
  // The builder reads values into 500 characters with max 499: a 499-character value fits.
  const std::wstring value(499, L'v');
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText((L"<Include source=\"" + value + L"x\"/>").c_str()));
  wchar_t buf[500];
  ASSERT_TRUE(xml.Root().FindAttribute(L"source", buf, 499));
  EXPECT_EQ(std::wstring(buf), value);
}

TEST(SkinXml, StyleValueDecodesToAnAttributeList) {
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText(L"<Style name=\"bg\" value=\"bkimage=&quot;img\\common\\bg.png&quot; pos=&quot;1,2&quot;\"/>"));
  wchar_t value[500];
  ASSERT_TRUE(xml.Root().FindAttribute(L"value", value, 499));
  EXPECT_STREQ(value, L"bkimage=\"img\\common\\bg.png\" pos=\"1,2\"");

  // The control base reads such a value as a list of its own.
  CSkinXml list;
  ASSERT_TRUE(list.LoadText((std::wstring(L"<x ") + value + L"/>").c_str()));
  EXPECT_EQ(Dump(list.Root()), L"x{bkimage=img\\common\\bg.png,pos=1,2}");
}

TEST(SkinXml, OnlyTheFirst64AttributesAreVisible) {
  std::wstring text = L"<r";
  for (int i = 1; i <= 70; ++i) text += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
  text += L"><c/></r>";
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText(text.c_str()));
  CSkinXmlNode r = xml.Root();
  EXPECT_TRUE(r.HasAttributes());
  ASSERT_EQ(r.AttributeCount(), 64);
  EXPECT_STREQ(r.AttributeName(63), L"a64");
  EXPECT_STREQ(r.AttributeValue(63), L"v64");
  wchar_t buf[16];
  EXPECT_TRUE(r.FindAttribute(L"a64", buf, 15));
  EXPECT_FALSE(r.FindAttribute(L"a65", buf, 15));
  EXPECT_EQ(Dump(r.FirstChild()), L"c{}");
}

TEST(SkinXml, AttributeAccessOutsideTheListIsHarmless) {
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText(L"<r Name=\"long value\"><e/></r>"));
  CSkinXmlNode r = xml.Root();
  for (int i : {-1, 1, 64, 1000}) {
    EXPECT_STREQ(r.AttributeValue(i), L"") << i;
    EXPECT_STREQ(r.AttributeName(i), L"") << i;
  }
  wchar_t buf[6] = L"?????";
  EXPECT_FALSE(r.FindAttribute(L"name", buf, 5));  // names are case-sensitive
  EXPECT_STREQ(buf, L"?????");
  // At most max characters, then the terminator.
  EXPECT_TRUE(r.FindAttribute(L"Name", buf, 5));
  EXPECT_STREQ(buf, L"long ");
  EXPECT_TRUE(r.FindAttribute(L"Name", buf, 0));
  EXPECT_STREQ(buf, L"");

  CSkinXmlNode e = r.FirstChild();
  EXPECT_FALSE(e.HasAttributes());
  EXPECT_FALSE(e.HasChildren());
  EXPECT_FALSE(e.NextSibling().IsValid());
  EXPECT_FALSE(e.FirstChild().IsValid());

  CSkinXmlNode invalid;
  EXPECT_FALSE(invalid.IsValid());
  EXPECT_EQ(invalid.Name(), nullptr);
  EXPECT_EQ(invalid.AttributeCount(), 0);
  EXPECT_EQ(invalid.AttributeName(0), nullptr);
  EXPECT_EQ(invalid.AttributeValue(0), nullptr);
  EXPECT_FALSE(invalid.FindAttribute(L"Name", buf, 5));
  EXPECT_FALSE(invalid.HasChildren());
  EXPECT_FALSE(invalid.FirstChild().IsValid());
}

TEST(SkinXml, WhitespaceIsKeptUnlessTurnedOff) {
  const wchar_t* text = L"<r v=\"a  \t b\tc\">x \n y</r>";
  CSkinXml keep;
  ASSERT_TRUE(keep.LoadText(text));
  EXPECT_STREQ(keep.Root().AttributeValue(0), L"a  \t b\tc");
  CSkinXml collapse;
  collapse.SetPreserveWhitespace(false);
  ASSERT_TRUE(collapse.LoadText(text));
  EXPECT_STREQ(collapse.Root().AttributeValue(0), L"a b\tc");
}

TEST(SkinXml, ErrorsAreBoundedAndCopiedTerminated) {
  std::wstring text = L"<a></b";
  text += std::wstring(100, L'z');
  CSkinXml xml;
  ASSERT_FALSE(xml.LoadText(text.c_str()));
  EXPECT_EQ(Location(xml), L"b" + std::wstring(48, L'z'));  // 49 characters at most
  EXPECT_EQ(Location(xml, 4), L"bzz");
  EXPECT_EQ(Message(xml, 6), L"Unmat");
  wchar_t untouched[2] = {L'#', 0};
  xml.ErrorMessage(untouched, 0);
  EXPECT_EQ(untouched[0], L'#');

  // A fresh load clears them.
  ASSERT_TRUE(xml.LoadText(L"<ok/>"));
  EXPECT_EQ(Message(xml), L"");
  EXPECT_EQ(Location(xml), L"");
}

TEST(SkinXml, NestingIsLimited) {
  auto nested = [](int levels) {
    std::wstring s;
    for (int i = 0; i < levels; ++i) s += L"<e>";
    for (int i = 0; i < levels; ++i) s += L"</e>";
    return s;
  };
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText(nested(CSkinXml::kMaxNesting).c_str())) << Message(xml);
  int depth = 0;
  for (CSkinXmlNode n = xml.Root(); n.IsValid(); n = n.FirstChild()) ++depth;
  EXPECT_EQ(depth, CSkinXml::kMaxNesting);

  ASSERT_FALSE(xml.LoadText(nested(CSkinXml::kMaxNesting + 1).c_str()));
  EXPECT_EQ(Message(xml), L"Elements nested too deeply");
  EXPECT_EQ(Location(xml).substr(0, 7), L"<e></e>");
  // Far deeper than any stack would take recursively.
  ASSERT_FALSE(xml.LoadText(nested(1000000).c_str()));
  EXPECT_EQ(Message(xml), L"Elements nested too deeply");
}

TEST(SkinXml, ManyElementsGrowTheTable) {
  std::wstring text = L"<r>";
  for (int i = 0; i < 5000; ++i) text += L"<c i=\"" + std::to_wstring(i) + L"\"/>";
  text += L"</r>";
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadText(text.c_str()));
  int count = 0;
  for (CSkinXmlNode c = xml.Root().FirstChild(); c.IsValid(); c = c.NextSibling(), ++count) {
    ASSERT_EQ(c.AttributeValue(0), std::to_wstring(count));
  }
  EXPECT_EQ(count, 5000);
}

// LoadFile goes through LoadFileData with the markup flag set.
std::map<std::wstring, std::string> g_files;
bool g_lastMarkup = false;
uint32_t ReadFromMap(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup) {
  g_lastMarkup = markup;
  auto it = g_files.find(name);
  if (it == g_files.end() || it->second.empty()) return 0;
  out = std::make_unique<uint8_t[]>(it->second.size());
  std::memcpy(out.get(), it->second.data(), it->second.size());
  return static_cast<uint32_t>(it->second.size());
}

TEST(SkinXml, LoadFileReadsThroughLoadFileData) {
  std::optional<testsupport::ScopedHook<SkinFileReader>> reader(std::in_place, &SetSkinFileReader, &ReadFromMap);
  g_files = {{L"xml\\wnd.xml", "\xEF\xBB\xBF<Window><Font/></Window>"}, {L"empty.xml", ""}};
  CSkinXml xml;
  ASSERT_TRUE(xml.LoadFile(L"xml\\wnd.xml", kSkinXmlUtf8));
  EXPECT_TRUE(g_lastMarkup);
  EXPECT_EQ(Dump(xml.Root()), L"Window{}[Font{}]");
  for (const wchar_t* name : {L"missing.xml", L"empty.xml"}) {
    EXPECT_FALSE(xml.LoadFile(name, kSkinXmlUtf8));
    EXPECT_EQ(Message(xml), L"LoadFileData failed");
    EXPECT_EQ(Location(xml), L"");
    EXPECT_FALSE(xml.Root().IsValid());
  }
  reader.reset();
  EXPECT_FALSE(xml.LoadFile(L"xml\\wnd.xml", kSkinXmlUtf8));
  EXPECT_EQ(Message(xml), L"LoadFileData failed");
}

}  // namespace
}  // namespace SkinUI
