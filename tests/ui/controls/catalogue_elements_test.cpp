#include <gtest/gtest.h>

#include "tests/ui/controls/controls_fixture.h"
#include "ui/controls/active_x_ui.h"
#include "ui/controls/icon_image_ui.h"
#include "ui/controls/web_browser_ui.h"

using namespace SkinUI;
using testsupport::SkinTree;

// Every element of the catalogue builds its class, which answers its class name and the
// interface names it stands for (and those of its bases).
TEST(CatalogueElements, EachElementBuildsItsClass) {
  const wchar_t kSkin[] =
      L"<Window><VerticalLayout>"
      L"<List name=\"List\"><ListHeader name=\"ListHeader\"><ListHeaderItem name=\"ListHeaderItem\" width=\"50\" />"
      L"</ListHeader><ListLabelElement name=\"ListLabelElement\" /><ListTextElement name=\"ListTextElement\" />"
      L"<ListContainerElement name=\"ListContainerElement\" /></List>"
      L"<Combo name=\"Combo\" /><ComboBox name=\"ComboBox\" />"
      L"<TreeView name=\"TreeView\"><TreeNode name=\"TreeNode\" /></TreeView>"
      L"<Edit name=\"Edit\" /><Slider name=\"Slider\" /><DateTime name=\"DateTime\" />"
      L"<ActiveX name=\"ActiveX\" /><WebBrowser name=\"WebBrowser\" /><Gif name=\"Gif\" />"
      L"<Animation name=\"Animation\" /><IpAddress name=\"IpAddress\" /><IconImage name=\"IconImage\" />"
      L"<ScrollBar name=\"ScrollBar\" />"
      L"</VerticalLayout></Window>";
  SkinTree t(kSkin);
  struct Case {
    const wchar_t* element;
    const wchar_t* className;
    std::vector<const wchar_t*> interfaces;
  } cases[] = {
      {L"List", L"ListUI", {L"List", L"IList", L"IListOwner", L"VerticalLayout", L"Container", L"Control"}},
      {L"ListHeader", L"ListHeaderUI", {L"ListHeader", L"HorizontalLayout", L"Control"}},
      {L"ListHeaderItem", L"ListHeaderItemUI", {L"ListHeaderItem", L"Control"}},
      {L"ListLabelElement", L"ListLabelElementUI", {L"ListLabelElement", L"ListItem", L"Control"}},
      {L"ListTextElement", L"ListTextElementUI", {L"ListTextElement", L"ListLabelElement", L"ListItem"}},
      {L"ListContainerElement", L"ListContainerElementUI", {L"ListContainerElement", L"ListItem", L"Container"}},
      {L"Combo", L"ComboUI", {L"Combo", L"IListOwner", L"Container"}},
      {L"ComboBox", L"ComboBoxUI", {L"Combo", L"IListOwner"}},
      {L"TreeView", L"TreeViewUI", {L"TreeView", L"List", L"IList"}},
      {L"TreeNode", L"TreeNodeUI", {L"TreeNode", L"ListContainerElement", L"ListItem"}},
      {L"Edit", L"EditUI", {L"Edit", L"Label"}},
      {L"Slider", L"SliderUI", {L"Slider", L"Progress", L"Label"}},
      {L"DateTime", L"DateTimeUI", {L"DateTime", L"Label"}},
      {L"ActiveX", L"ActiveXUI", {L"ActiveX", L"Control"}},
      {L"WebBrowser", L"WebBrowserUI", {L"WebBrowser", L"ActiveX"}},
      {L"Gif", L"GifUI", {L"Gif", L"Control"}},
      {L"Animation", L"AnimationUI", {L"Animation", L"Control"}},
      {L"IpAddress", L"IpAddressUI", {L"IpAddress", L"HorizontalLayout", L"IContainer"}},
      {L"IconImage", L"IconImageUI", {L"IconImage", L"Control"}},
      {L"ScrollBar", L"ScrollBarUI", {L"ScrollBar", L"Control"}},
  };
  for (const Case& c : cases) {
    CControlUI* control = t.Find(c.element);
    ASSERT_NE(control, nullptr) << c.element;
    EXPECT_STREQ(control->ClassName(), c.className) << c.element;
    for (const wchar_t* name : c.interfaces) EXPECT_NE(control->AsInterface(name), nullptr) << c.element << " " << name;
    EXPECT_EQ(control->AsInterface(L"NoSuchInterface"), nullptr);
  }
  // Not the other classes' names.
  EXPECT_EQ(t.Find(L"Combo")->AsInterface(L"List"), nullptr);
  EXPECT_EQ(t.Find(L"Edit")->AsInterface(L"RichEdit"), nullptr);
}

TEST(CatalogueElements, HostedControlsKeepTheirAttributesAndDrawOnlyTheirBackground) {
  SkinTree t(L"<Window><VerticalLayout>"
             L"<ActiveX name=\"ax\" height=\"40\" clsid=\"{8856F961-340A-11D0-A96B-00C04FD705A2}\" "
             L"modulename=\"flash.ocx\" delaycreate=\"false\" bkcolor=\"#FF112233\" />"
             L"<WebBrowser name=\"web\" height=\"40\" homepage=\"http://127.0.0.1/\" autonavi=\"true\" />"
             L"<IconImage name=\"icon\" height=\"32\" defaultIco=\"no-such.ico\" bkimage=\"fore.png\" />"
             L"<IconImage name=\"icon2\" height=\"32\" defaultIco=\"hotfore.png\" bkimage=\"fore.png\" />"
             L"</VerticalLayout></Window>");
  auto* ax = t.Find<CActiveXUI>(L"ax");
  EXPECT_EQ(ax->Clsid(), L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
  EXPECT_EQ(ax->ModuleName(), L"flash.ocx");
  EXPECT_FALSE(ax->IsDelayCreate());
  EXPECT_FALSE(ax->IsCreated());
  auto* web = t.Find<CWebBrowserUI>(L"web");
  EXPECT_EQ(web->HomePage(), L"http://127.0.0.1/");
  EXPECT_TRUE(web->IsAutoNavigate());
  auto canvas = t.Paint();
  bool filled = false;
  for (const auto& op : canvas.ops)
    if (op.kind == "fill" && op.color1 == 0xFF112233 && op.rc == ax->Position()) filled = true;
  EXPECT_TRUE(filled);
  EXPECT_TRUE(t.log.Types().empty()) << "nothing is created, nothing is announced";
  // The icon from its file; a file that does not load (the window's first paint tried it) is
  // forgotten and gives way to the background image.
  EXPECT_TRUE(t.Find<CIconImageUI>(L"icon")->Icon().IsEmpty());
  std::vector<std::wstring> files;
  for (const auto& spec : canvas.specs) files.push_back(spec.file);
  EXPECT_EQ(files, (std::vector<std::wstring>{L"fore.png", L"hotfore.png"}));
}
