#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/text_encoding.h"
#include "tests/support/scoped_hook.h"
#include "tests/support/temp_dir.h"
#include "ui/core/child_layout_ui.h"
#include "ui/core/container_ui.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_host.h"
#include "ui/core/tab_layout_ui.h"

using namespace SkinUI;

namespace {

// Skin files of the tests, by name with "/" separators.
std::map<std::wstring, std::string>& Files() {
  static std::map<std::wstring, std::string> files;
  return files;
}

uint32_t ReadTestFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  std::wstring key = name;
  std::replace(key.begin(), key.end(), L'\\', L'/');
  auto it = Files().find(key);
  if (it == Files().end() || it->second.empty()) return 0;
  out = std::make_unique<uint8_t[]>(it->second.size());
  std::memcpy(out.get(), it->second.data(), it->second.size());
  return static_cast<uint32_t>(it->second.size());
}

// A window handle that no window system knows: the host only stores it.
SkinWindowHandle FakeWindow() {
  static int window;
  return reinterpret_cast<SkinWindowHandle>(&window);
}

// Records the element names it is asked for; builds nothing.
struct RecordingCallback : ISkinBuilderCallback {
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& element) override {
    asked.push_back(element);
    return nullptr;
  }
  std::vector<std::wstring> asked;
};

class SkinBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Files().clear();
    host.AttachWindow(FakeWindow());
  }
  testsupport::ScopedHook<SkinFileReader> reader_{&SetSkinFileReader, &ReadTestFile};

  // Builds `xml` into a fresh container and returns it.
  std::unique_ptr<CContainerUI> BuildInto(const std::wstring& xml, ISkinBuilderCallback* cb = nullptr) {
    auto parent = std::make_unique<CContainerUI>();
    CSkinBuilder b;
    b.Build(xml, nullptr, cb, &host, parent.get());
    return parent;
  }

  CSkinHost host;
};

}  // namespace

TEST_F(SkinBuilderTest, StylesInheritEarlierStylesAndTheFirstRegistrationWins) {
  const std::wstring xml =
      L"<Window>"
      L"<Style name=\"prog_fg\" value=\"foreimage=&quot;img\\common\\fg.png&quot;\" />"
      L"<Style name=\"prog\" inherit=\"prog_fg\" value=\"height=&quot;8&quot; bkimage=&quot;bg.png&quot;\" />"
      L"<Style name=\"body_seq\" inherit=\"body\" value=\"width=&quot;3&quot;\" />"
      L"<Style name=\"only\" inherit=\"prog_fg\" />"
      L"<Style name=\"prog_fg\" value=\"ignored=&quot;1&quot;\" />"
      L"<Style value=\"nameless=&quot;1&quot;\" />"
      L"<Default name=\"Control\" value=\"height=&quot;20&quot;\" />"
      L"</Window>";
  CSkinBuilder b;
  EXPECT_EQ(b.Build(xml, nullptr, nullptr, &host), nullptr);  // resources only
  ASSERT_NE(host.FindStyle(L"prog"), nullptr);
  EXPECT_EQ(*host.FindStyle(L"prog"), L"foreimage=\"img\\common\\fg.png\" height=\"8\" bkimage=\"bg.png\"");
  EXPECT_EQ(*host.FindStyle(L"body_seq"), L"width=\"3\"");
  EXPECT_EQ(*host.FindStyle(L"only"), L"foreimage=\"img\\common\\fg.png\"");
  EXPECT_EQ(*host.FindStyle(L"prog_fg"), L"foreimage=\"img\\common\\fg.png\"");
  EXPECT_EQ(*host.FindClassDefaults(L"Control"), L"height=\"20\"");
}

TEST_F(SkinBuilderTest, FontsImagesAndWindowAttributes) {
  const std::wstring xml =
      L"<Window size=\"819,574\" caption=\"10,10,10,54\" bktrans=\"true\" alpha=\"300\" takefocus=\"false\""
      L" defaultfontcolor=\"#E90505\" linkfontcolor=\"#0068B5\" selectedcolor=\"#66000000\" unknown=\"1\""
      L" sizebox=\"1,2,3,4\" roundcorner=\"5,6\" mininfo=\"300,200\" maxinfo=\"900,700\" showdirty=\"true\""
      L" disabledfontcolor=\"#123456\" linkhoverfontcolor=\"#80FEDCBA\">"
      L"<Font name=\"Microsoft YaHei\" size=\"14\" bold=\"true\" weight=\"300\" default=\"true\" />"
      L"<Font name=\"Microsoft YaHei\" size=\"12\" weight=\"300\" underline=\"true\" />"
      L"<Font size=\"99\" />"
      L"<Image name=\"img\\x.png\" />"
      L"</Window>";
  CSkinBuilder b;
  b.Build(xml, nullptr, nullptr, &host);
  EXPECT_EQ(host.InitialSize(), (SkinSize{819, 574}));
  EXPECT_EQ(host.CaptionRect(), (SkinRect{10, 10, 10, 54}));
  EXPECT_EQ(host.BackgroundTransparency(), 0);  // "true" read as an integer
  EXPECT_EQ(host.SizeBox(), (SkinRect{1, 2, 3, 4}));
  EXPECT_EQ(host.RoundCorner(), (SkinSize{5, 6}));
  EXPECT_EQ(host.MinTrackSize(), (SkinSize{300, 200}));
  EXPECT_EQ(host.MaxTrackSize(), (SkinSize{900, 700}));
  EXPECT_TRUE(host.ShowDirty());
  EXPECT_EQ(host.DisabledTextColor(), 0xFF123456u);
  EXPECT_EQ(host.LinkHoverTextColor(), 0x80FEDCBAu);
  EXPECT_EQ(host.Opacity(), 255);
  EXPECT_FALSE(host.TakeFocus());
  EXPECT_EQ(host.DefaultTextColor(), 0xFFE90505u);
  EXPECT_EQ(host.LinkTextColor(), 0xFF0068B5u);
  EXPECT_EQ(host.SelectedTextColor(), 0x66000000u);
  ASSERT_EQ(host.FontCount(), 2);
  EXPECT_EQ(host.Font(0)->weight, 700);
  EXPECT_EQ(host.Font(0)->size, 14);
  EXPECT_EQ(host.Font(1)->weight, 300);
  EXPECT_TRUE(host.Font(1)->underline);
  EXPECT_EQ(host.Font(-1)->size, 14);  // the default font
  EXPECT_EQ(host.FindImage(L"img\\x.png"), nullptr);  // no decoder installed: nothing registered

  CSkinHost other;  // not attached to a window: no window attributes
  CSkinBuilder b2;
  b2.Build(xml, nullptr, nullptr, &other);
  EXPECT_EQ(other.InitialSize(), (SkinSize{}));
  EXPECT_EQ(other.FontCount(), 2);
}

TEST_F(SkinBuilderTest, RootNotNamedWindowBuildsControlsButNoWindowSettings) {
  CSkinBuilder b;
  std::unique_ptr<CControlUI> c = b.Build(L"<Dialog size=\"5,5\"><Control name=\"c\" pos=\"-50,10,-10,30\" /></Dialog>",
                                          nullptr, nullptr, &host);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetName(), L"c");
  EXPECT_EQ(c->FixedXY(), (SkinSize{-10, 10}));
  EXPECT_EQ(c->FixedWidth(), 40);
  EXPECT_EQ(c->FixedHeight(), 20);
  EXPECT_EQ(c->Host(), nullptr);  // unbound again until the tree is attached
  EXPECT_EQ(host.InitialSize(), (SkinSize{}));
}

TEST_F(SkinBuilderTest, StylePositionDecidesWhichValueWins) {
  host.AddStyle(L"btn_msgbox", L"visible=\"false\" minwidth=\"60\"");
  auto after = BuildInto(L"<W><Control style=\"btn_msgbox\" visible=\"true\" /></W>");
  auto before = BuildInto(L"<W><Control visible=\"true\" style=\"btn_msgbox\" /></W>");
  auto unknown = BuildInto(L"<W><Control style=\"nope\" /></W>");
  ASSERT_EQ(after->Count(), 1);
  ASSERT_EQ(before->Count(), 1);
  EXPECT_TRUE(after->ItemAt(0)->IsVisible());
  EXPECT_EQ(after->ItemAt(0)->MinWidth(), 60);
  EXPECT_FALSE(before->ItemAt(0)->IsVisible());
  EXPECT_EQ(unknown->ItemAt(0)->CustomAttribute(L"style"), L"");
}

TEST_F(SkinBuilderTest, ClassDefaultsComeFirstAndDefaulattrAppliesANamedList) {
  host.AddClassDefaults(L"Control", L"height=\"20\" width=\"7\"");
  host.AddClassDefaults(L"wide", L"width=\"99\"");
  auto p = BuildInto(L"<W><Control height=\"30\" /><Control DefaulAttr=\"wide\" height=\"5\" /></W>");
  ASSERT_EQ(p->Count(), 2);
  EXPECT_EQ(p->ItemAt(0)->FixedHeight(), 30);
  EXPECT_EQ(p->ItemAt(0)->FixedWidth(), 7);
  EXPECT_EQ(p->ItemAt(1)->FixedWidth(), 99);
  EXPECT_EQ(p->ItemAt(1)->CustomAttribute(L"DefaulAttr"), L"");  // not passed on
}

TEST_F(SkinBuilderTest, IncludeCountAndIncludedStylesComeFirst) {
  Files()[L"xml/panel.xml"] =
      "<Panel><Style name=\"st\" value=\"width=&quot;11&quot;\" /><Control style=\"st\" /></Panel>";
  auto twice = BuildInto(L"<W><Container><Include source=\"xml\\panel.xml\" count=\"2\" /></Container></W>");
  auto never = BuildInto(L"<W><Container><Include source=\"xml\\panel.xml\" count=\"0\" /></Container></W>");
  auto missing = BuildInto(L"<W><Container><Include source=\"xml\\none.xml\" count=\"5\" /><Control /></Container></W>");
  auto* c2 = static_cast<CContainerUI*>(twice->ItemAt(0));
  ASSERT_EQ(c2->Count(), 2);
  EXPECT_EQ(c2->ItemAt(1)->FixedWidth(), 11);
  EXPECT_EQ(static_cast<CContainerUI*>(never->ItemAt(0))->Count(), 0);
  EXPECT_EQ(static_cast<CContainerUI*>(missing->ItemAt(0))->Count(), 1);  // a failed include does not stop the file
}

TEST_F(SkinBuilderTest, IncludeThatIncludesItselfStopsAtTheDepthLimit) {
  Files()[L"self.xml"] = "<W><Control /><Container><Include source=\"self.xml\" /></Container></W>";
  // Levels of containers below `c`, following the last child.
  auto depthBelow = [](CControlUI* c) {
    int depth = 0;
    for (auto* box = static_cast<IContainerUI*>(c->AsInterface(L"IContainer")); box != nullptr && box->Count() > 0;
         box = static_cast<IContainerUI*>(box->ItemAt(box->Count() - 1)->AsInterface(L"IContainer")))
      ++depth;
    return depth;
  };
  // A top-level include attaches the file's controls to the build's parent; nested ones to
  // their container. Either way the chain ends after the fixed number of nested includes.
  auto top = BuildInto(L"<W><Include source=\"self.xml\" /></W>");
  EXPECT_EQ(depthBelow(top.get()), CSkinBuilder::kMaxIncludeDepth);
  auto nested = BuildInto(L"<W><Container><Include source=\"self.xml\" /></Container></W>");
  EXPECT_EQ(depthBelow(nested.get()), CSkinBuilder::kMaxIncludeDepth + 1);
}

TEST_F(SkinBuilderTest, UnknownElementsGoToTheCallbackAndAreSkippedWithTheirChildren) {
  RecordingCallback cb;
  auto p = BuildInto(L"<W><button name=\"b\"><Control name=\"inner\" /></button><Control name=\"ok\" /></W>", &cb);
  EXPECT_EQ(cb.asked, (std::vector<std::wstring>{L"button"}));
  ASSERT_EQ(p->Count(), 1);
  EXPECT_EQ(p->ItemAt(0)->GetName(), L"ok");
}

TEST_F(SkinBuilderTest, ParentsThatAreNoContainersEndTheLevel) {
  int destroyed = 0;
  struct Counter {
    int* n;
    bool OnDestroy(CControlUI&) {
      ++*n;
      return true;
    }
  } counter{&destroyed};
  // A callback-made control class that counts its destruction.
  struct Cb : ISkinBuilderCallback {
    Counter* counter;
    std::unique_ptr<CControlUI> CreateControl(const std::wstring& element) override {
      if (element != L"Probe") return nullptr;
      auto c = std::make_unique<CControlUI>();
      c->onDestroy.Add(CDelegateUI<CControlUI>::Member<Counter, &Counter::OnDestroy>(counter));
      return c;
    }
  } cb;
  cb.counter = &counter;
  auto p = BuildInto(L"<W><Control><Probe /><Probe /></Control><ChildLayout><Probe /></ChildLayout></W>", &cb);
  ASSERT_EQ(p->Count(), 2);
  EXPECT_EQ(destroyed, 2);  // the first Probe of each level; the second under Control is never built
}

TEST_F(SkinBuilderTest, TabPageWrittenInvisibleIsNotCurrent) {
  std::unique_ptr<CControlUI> built;
  CSkinBuilder b;
  built = b.Build(L"<W><TabLayout name=\"tab_main\">"
                  L"<Control visible=\"false\" /><Control name=\"p1\" /><Control name=\"p2\" visible=\"true\" />"
                  L"</TabLayout></W>",
                  nullptr, nullptr, &host);
  auto* tab = static_cast<CTabLayoutUI*>(built.get());
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->CurrentSel(), 1);
  EXPECT_TRUE(tab->ItemAt(1)->IsVisible());
  EXPECT_FALSE(tab->ItemAt(2)->IsVisible());  // only one page shows
  host.AttachRoot(std::move(built));
  EXPECT_EQ(host.FindControlByName(L"p2"), tab->ItemAt(2));
}

TEST_F(SkinBuilderTest, LoadFailuresReportTheParserMessage) {
  CSkinBuilder b;
  EXPECT_EQ(b.Build(L"<Window><A></B></Window>", nullptr, nullptr, &host), nullptr);
  EXPECT_EQ(b.ErrorMessage(), L"Unmatched closing tag");
  CSkinBuilder c;
  EXPECT_EQ(c.Build(L"xml\\missing.xml", nullptr, nullptr, &host), nullptr);
  EXPECT_EQ(c.ErrorMessage(), L"LoadFileData failed");
  CSkinBuilder d;
  EXPECT_EQ(d.Build(7, L"XML", nullptr, &host), nullptr);  // no such resource, no message
  EXPECT_EQ(d.ErrorMessage(), L"");
}

TEST_F(SkinBuilderTest, ChildLayoutBuildsItsFileWhenInitialised) {
  Files()[L"child.xml"] = "<W><Control name=\"from_file\" /></W>";
  CSkinBuilder b;
  std::unique_ptr<CControlUI> root =
      b.Build(L"<W><Container><ChildLayout xmlfile=\"child.xml\" /></Container></W>", nullptr, nullptr, &host);
  ASSERT_NE(root, nullptr);
  host.AttachRoot(std::move(root));
  CControlUI* inner = host.FindControlByName(L"from_file");
  ASSERT_NE(inner, nullptr);
  EXPECT_STREQ(inner->Parent()->ClassName(), L"ChildLayoutUI");
}

TEST_F(SkinBuilderTest, TreeNodesAttachToNodesAndViews) {
  struct Node : CContainerUI, ITreeNodeUI {
    void* AsInterface(const std::wstring& n) override {
      if (n == L"TreeNode") return static_cast<ITreeNodeUI*>(this);
      return CContainerUI::AsInterface(n);
    }
    bool AddChildNode(CControlUI* c) override { return Add(c); }
  };
  struct View : CContainerUI, ITreeViewUI {
    void* AsInterface(const std::wstring& n) override {
      if (n == L"TreeView") return static_cast<ITreeViewUI*>(this);
      return CContainerUI::AsInterface(n);
    }
    bool AddNode(CControlUI* c) override { return Add(c); }
  };
  CSkinBuilder::RegisterElement(L"TreeNode", [] { return std::unique_ptr<CControlUI>(new Node()); });
  CSkinBuilder::RegisterElement(L"TreeView", [] { return std::unique_ptr<CControlUI>(new View()); });
  auto p = BuildInto(
      L"<W><TreeView><TreeNode name=\"a\"><TreeNode name=\"b\" /><Control name=\"c\" /></TreeNode></TreeView>"
      L"<Container><TreeNode name=\"lost\" /><Control /></Container></W>");
  CSkinBuilder::RegisterElement(L"TreeNode", nullptr);
  CSkinBuilder::RegisterElement(L"TreeView", nullptr);
  ASSERT_EQ(p->Count(), 2);
  auto* view = static_cast<CContainerUI*>(p->ItemAt(0));
  ASSERT_EQ(view->Count(), 1);
  auto* a = static_cast<CContainerUI*>(view->ItemAt(0));
  EXPECT_EQ(a->GetName(), L"a");
  ASSERT_EQ(a->Count(), 2);
  EXPECT_EQ(a->ItemAt(0)->GetName(), L"b");
  EXPECT_EQ(a->ItemAt(1)->GetName(), L"c");
  // A tree node outside a tree view ends its level: the Control after it is not built.
  EXPECT_EQ(static_cast<CContainerUI*>(p->ItemAt(1))->Count(), 0);
}

TEST(ApplyAttributes, ParsesTheListAndDecodesEntities) {
  CControlUI c;
  c.ApplyAttributes(L"name=\"n\" text=\"a &amp; b\" bkimage=\"img\\common\\bg.png\" width=\"12\"");
  EXPECT_EQ(c.GetName(), L"n");
  EXPECT_EQ(c.GetText(), L"a & b");
  EXPECT_EQ(c.BkImage().file, L"img\\common\\bg.png");
  EXPECT_EQ(c.FixedWidth(), 12);
  CControlUI d;
  d.ApplyAttributes(L"name=\"x\" broken='single'");  // does not parse: nothing applied
  EXPECT_EQ(d.GetName(), L"");
}

TEST_F(SkinBuilderTest, DeepNestingAcrossIncludesStaysOnTheStack) {
  // Each file nests 250 containers and includes itself at the bottom, so the include limit ends
  // a chain some 2750 levels deep: the builder's recursion must stay small per level.
  constexpr int kLevels = 250;
  std::string xml = "<W>";
  for (int i = 0; i < kLevels; ++i) xml += "<Container>";
  xml += "<Include source=\"deep.xml\" />";
  for (int i = 0; i < kLevels; ++i) xml += "</Container>";
  Files()[L"deep.xml"] = xml + "</W>";
  CSkinBuilder b;
  std::unique_ptr<CControlUI> root = b.Build(L"deep.xml", nullptr, nullptr, &host);
  ASSERT_NE(root, nullptr);
  int depth = 1;
  for (auto* box = static_cast<IContainerUI*>(root->AsInterface(L"IContainer")); box != nullptr && box->Count() > 0;
       box = static_cast<IContainerUI*>(box->ItemAt(0)->AsInterface(L"IContainer")))
    ++depth;
  EXPECT_EQ(depth, kLevels * (CSkinBuilder::kMaxIncludeDepth + 1));
  host.AttachRoot(std::move(root));
  host.LayoutIfNeeded({0, 0, 640, 480});
}
