// The installer window on the in-memory desktop: what its skin builds, the sizes the layout gives
// the rows, the styles the steps switch between, and the window's life.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "installer/message_box_wnd.h"
#include "installer/web_inst_wnd.h"
#include "platform/window_messages.h"
#include "tests/installer/headless_ui_fixture.h"
#include "ui/controls/fade_sequence_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/core/container_ui.h"
#include "ui/core/tab_layout_ui.h"

using namespace SkinUI;

namespace {

using Names = std::map<std::wstring, std::wstring>;  // control name -> class name

// Every named control of the window and its kind.
const Names kNamedControls = {
    {L"lbl_title", L"LabelUI"},
    {L"btn_min", L"ButtonUI"},
    {L"btn_close", L"ButtonUI"},
    {L"seq_introduce", L"FadeSequenceUI"},
    {L"tab_main", L"TabLayoutUI"},
    {L"chk_lic", L"CheckBoxUI"},
    {L"txt_lic", L"TextUI"},
    {L"btn_go_step1", L"ButtonUI"},
    {L"chk_custom_install", L"CheckBoxUI"},
    {L"vl_custom_install", L"VerticalLayoutUI"},
    {L"edit_install_path", L"RichEditUI"},
    {L"btn_browser", L"ButtonUI"},
    {L"lbl_space", L"LabelUI"},
    {L"chk_desktop_shortcut", L"CheckBoxUI"},
    {L"chk_startmenu_shortcut", L"CheckBoxUI"},
    {L"chk_auto_start", L"CheckBoxUI"},
    {L"tab_bottom", L"TabLayoutUI"},
    {L"lbl_dl_stat", L"LabelUI"},
    {L"lbl_dl_precent", L"LabelUI"},
    {L"prog_download", L"ProgressUI"},
    {L"lbl_dl_speed", L"LabelUI"},
    {L"lbl_dl_size", L"LabelUI"},
    {L"tab_dl_op", L"TabLayoutUI"},
    {L"btn_dl_pause", L"ButtonUI"},
    {L"btn_dl_resume", L"ButtonUI"},
    {L"btn_dl_re-download", L"ButtonUI"},
    {L"lbl_inst_stat", L"LabelUI"},
    {L"lbl_inst_precent", L"LabelUI"},
    {L"seq_inst", L"SequenceUI"},
    {L"btn_launch", L"ButtonUI"},
};

IContainerUI* AsContainer(CControlUI* c) { return dynamic_cast<IContainerUI*>(c); }

void CollectNames(CControlUI* c, Names& out) {
  if (!c->GetName().empty()) {
    EXPECT_TRUE(out.emplace(c->GetName(), c->ClassName()).second) << "twice";
  }
  if (IContainerUI* box = AsContainer(c))
    for (int i = 0; i < box->Count(); ++i) CollectNames(box->ItemAt(i), out);
}

class InstallerWindowTest : public testsupport::HeadlessUi {
 protected:
  // The window as start-up makes it: the skin archive, the window, shown and painted.
  platform::WindowHandle Open() {
    wnd.SetSkinArchive(WindowImplBaseNew::kArchiveResource, L"", kSkinArchiveId, kSkinArchiveType, true);
    platform::WindowHandle w = wnd.Create(nullptr, CWebInstWnd::kTitle, nullptr, CWebInstWnd::kStyle, 0);
    if (w == nullptr) return nullptr;
    wnd.CenterOnOwner();
    wnd.ShowWindow(true, true);
    ws.PumpMessages();
    return w;
  }
  template <class T = CControlUI>
  T* Find(const wchar_t* name) {
    return dynamic_cast<T*>(wnd.Host().FindControlByName(name));
  }
  CControlUI* Row(int index) { return AsContainer(wnd.Host().Root())->ItemAt(index); }

  CWebInstWnd wnd;
};

TEST_F(InstallerWindowTest, TheSkinBuildsExactlyTheNamedControlsOnTheWelcomeStep) {
  platform::WindowHandle w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(ws.ClassNameOf(w), "QuilloryInstWndCls");
  EXPECT_EQ(ws.TitleOf(w), "Vellumo安装程序");
  EXPECT_EQ(ws.GetWindowRect(w), (platform::WinRect{231, 113, 231 + 819, 113 + 574})) << "centred on 1280 x 800";

  Names names;
  CollectNames(wnd.Host().Root(), names);
  EXPECT_EQ(names, kNamedControls);

  auto* tabMain = Find<CTabLayoutUI>(L"tab_main");
  auto* tabBottom = Find<CTabLayoutUI>(L"tab_bottom");
  EXPECT_EQ(tabMain->Count(), 2);
  EXPECT_EQ(tabBottom->Count(), 3);
  EXPECT_EQ(Find<CTabLayoutUI>(L"tab_dl_op")->Count(), 3);
  EXPECT_EQ(tabMain->CurrentSel(), 0);
  EXPECT_EQ(tabBottom->CurrentSel(), 0);
  EXPECT_FALSE(Find(L"vl_custom_install")->IsVisible());
  EXPECT_EQ(Find<CLabelUI>(L"lbl_title")->GetText(), L"Vellumo");
  EXPECT_EQ(Find(L"btn_go_step1")->GetText(), L"立即安装");

  // The slideshow runs from the window's initialisation on.
  unsigned timer = 0;
  EXPECT_TRUE(wnd.Host().PlatformTimerId(Find(L"seq_introduce"), CSequenceUI::kFrameTimerId, timer));
  EXPECT_EQ(Find<CFadeSequenceUI>(L"seq_introduce")->Interval(), 3000);
}

TEST_F(InstallerWindowTest, StylesGiveTheProgressItsFillAndTheStatusLabelsTheirTextAndColour) {
  ASSERT_NE(Open(), nullptr);
  auto* progress = Find<CProgressUI>(L"prog_download");
  EXPECT_EQ(progress->ForeImage().file, L"img\\common\\prog_fg.png") << "from the style prog_fg";
  EXPECT_EQ(progress->BkImage().file, L"img\\common\\prog_bg.png") << "its own bkimage";

  struct Case {
    const wchar_t* label;
    const wchar_t* style;
    const wchar_t* text;
    SkinColor colour;
  } cases[] = {
      {L"lbl_dl_stat", L"lbl_dl_stat_err", L"下载失败", 0xFFE90505},
      {L"lbl_dl_stat", L"lbl_dl_stat", L"下载中...", 0xFF333333},
      {L"lbl_inst_stat", L"lbl_inst_stat_err", L"安装失败", 0xFFE90505},
      {L"lbl_inst_stat", L"lbl_inst_stat", L"安装中...", 0xFF333333},
  };
  auto* first = Find<CLabelUI>(L"lbl_dl_stat");
  EXPECT_EQ(first->GetText(), L"下载中...") << "as the skin starts";
  for (const Case& c : cases) {
    auto* label = Find<CLabelUI>(c.label);
    label->SetAttribute(L"style", c.style);
    EXPECT_EQ(label->GetText(), c.text);
    EXPECT_EQ(label->TextColor(), c.colour);
  }
}

TEST_F(InstallerWindowTest, TheRowsHaveTheirSizesCollapsedAndExpanded) {
  platform::WindowHandle w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Row(0)->Position(), (SkinRect{10, 10, 809, 54})) << "title bar 44";
  EXPECT_EQ(Row(1)->Position(), (SkinRect{10, 54, 809, 452})) << "slideshow row 398";
  EXPECT_EQ(Find(L"seq_introduce")->Position(), (SkinRect{26, 54, 793, 452}));
  EXPECT_EQ(Find(L"tab_main")->Position(), (SkinRect{10, 452, 809, 564}));
  EXPECT_EQ(Find(L"btn_go_step1")->Position(), (SkinRect{303, 470, 531, 532}));
  EXPECT_EQ(Find(L"btn_close")->Position().top, 20);
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\common\\bg.png");

  // The custom-install panel open, as the welcome step shows it.
  Find(L"vl_custom_install")->SetVisible(true);
  const SkinSize expanded = wnd.Host().MaxTrackSize();
  EXPECT_EQ(expanded, (SkinSize{819, 698}));
  ws.SetWindowPos(w, 0, 0, expanded.cx, expanded.cy,
                  platform::kSwpNoMove | platform::kSwpNoActivate | platform::kSwpFrameChanged);
  wnd.Host().Root()->SetAttribute(L"style", L"bg_dropdown");
  ws.PumpMessages();
  EXPECT_EQ(ws.GetClientRect(w), (platform::WinRect{0, 0, 819, 698}));
  EXPECT_EQ(wnd.Host().Root()->BkImage().file, L"img\\inst\\bg_dropdown.png");
  EXPECT_EQ(Find(L"tab_main")->Position(), (SkinRect{10, 452, 809, 688})) << "236 for the welcome page";
  EXPECT_EQ(Find(L"vl_custom_install")->Position(), (SkinRect{10, 552, 809, 688})) << "136 below 80 + 20";
  EXPECT_EQ(Find(L"edit_install_path")->Position(), (SkinRect{96, 568, 669, 606})) << "path row 54";
  EXPECT_EQ(Find(L"lbl_space")->Position().top, 612);
  EXPECT_EQ(Find(L"lbl_space")->Position().bottom, 630);
  EXPECT_EQ(Find(L"chk_desktop_shortcut")->Position().top, 646);
  EXPECT_EQ(Find(L"chk_desktop_shortcut")->Position().bottom, 660);
  EXPECT_EQ(Find(L"btn_go_step1")->Position(), (SkinRect{303, 470, 531, 532})) << "the first row stays";
}

TEST_F(InstallerWindowTest, EnterAndEscapeDoNothing) {
  platform::WindowHandle w = Open();
  ASSERT_NE(w, nullptr);
  ws.KeyPress(platform::kVkEscape, U'\x1b');
  ws.KeyPress(platform::kVkReturn, U'\r');
  ws.PumpMessages();
  EXPECT_TRUE(ws.IsWindow(w));
  EXPECT_EQ(Find<CTabLayoutUI>(L"tab_main")->CurrentSel(), 0);
}

TEST_F(InstallerWindowTest, TheGoneWindowEndsTheMessageLoop) {
  platform::WindowHandle w = Open();
  ASSERT_NE(w, nullptr);
  steps.push_back([&] { ws.DestroyWindow(w); });
  CSkinHost::MessageLoop();
  EXPECT_EQ(ws.DryRuns(), 0u) << "ended by the window's quit message";
  EXPECT_EQ(wnd.Handle(), nullptr);
}

TEST_F(InstallerWindowTest, ASkinThatDoesNotLoadRefusesTheWindow) {
  // No archive registered: the skin file is looked for among loose files, and is not there.
  SkinUI::SkinArchiveRegistry::Instance().SetResourceFolder(L"/nonexistent/");
  EXPECT_EQ(wnd.Create(nullptr, CWebInstWnd::kTitle, nullptr, CWebInstWnd::kStyle, 0), nullptr);
  EXPECT_TRUE(ws.Windows().empty());
  platform::Message msg;
  EXPECT_FALSE(ws.GetMessage(msg));
  EXPECT_EQ(ws.DryRuns(), 1u) << "no quit message was posted: no loop runs for this window";
  SkinUI::SkinArchiveRegistry::Instance().SetResourceFolder(L"");
}

}  // namespace
