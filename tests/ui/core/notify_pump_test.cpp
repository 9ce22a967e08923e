// Routing of notifications through notify maps and virtual windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/control_ui.h"
#include "ui/core/notify_pump.h"

namespace {

using namespace SkinUI;

std::vector<std::string> g_calls;

class BasePage : public CNotifyPump {
 public:
  void OnBaseClick(SkinNotify&) { g_calls.push_back("base click"); }
  void OnBaseSelect(SkinNotify&) { g_calls.push_back("base select"); }

 protected:
  const NotifyMap* GetNotifyMap() const override {
    static const NotifyMap map = NotifyMap::Of<BasePage>(CNotifyPump::GetNotifyMap(), {
        {L"click", L"", &BasePage::OnBaseClick},
        {L"selectchanged", L"chk", &BasePage::OnBaseSelect},
    });
    return &map;
  }
};

class Page : public BasePage {
 public:
  void OnClose(SkinNotify& m) { g_calls.push_back("close " + std::to_string(m.wParam)); }
  void OnAnyClick(SkinNotify&) { g_calls.push_back("any click"); }
  void OnLastAnyClick(SkinNotify&) { g_calls.push_back("last any click"); }
  void OnTimer(std::intptr_t w, std::intptr_t l) { g_calls.push_back("timer " + std::to_string(w) + "," + std::to_string(l)); }

 protected:
  const NotifyMap* GetNotifyMap() const override {
    static const NotifyMap map = NotifyMap::Of<Page>(BasePage::GetNotifyMap(), {
        {L"click", L"", &Page::OnAnyClick},
        {L"click", L"btn_close", &Page::OnClose},
        {L"click", L"", &Page::OnLastAnyClick},
        {L"timer", L"", &Page::OnTimer},
    });
    return &map;
  }
};

class Panel : public CNotifyPump {
 public:
  explicit Panel(std::string n) : name(std::move(n)) {}
  void OnClick(SkinNotify&) { g_calls.push_back(name + " click"); }
  std::string name;

 protected:
  const NotifyMap* GetNotifyMap() const override {
    static const NotifyMap map = NotifyMap::Of<Panel>(CNotifyPump::GetNotifyMap(), {
        {L"click", L"btn_panel", &Panel::OnClick},
    });
    return &map;
  }
};

SkinNotify Note(const std::wstring& type, CControlUI* sender, const std::wstring& virtualWnd = L"") {
  SkinNotify n;
  n.type = type;
  n.sender = sender;
  n.virtualWnd = virtualWnd;
  n.wParam = 4;
  n.lParam = 5;
  return n;
}

class NotifyPumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    close.SetName(L"btn_close");
    other.SetName(L"btn_other");
    chk.SetName(L"chk");
    panelButton.SetName(L"btn_panel");
  }
  std::vector<std::string> Route(SkinNotify n) {
    g_calls.clear();
    handled = page.NotifyPump(n);
    return g_calls;
  }
  CControlUI close, other, chk, panelButton;
  Page page;
  bool handled = false;
};

using Calls = std::vector<std::string>;

TEST_F(NotifyPumpTest, AnExactNameWinsOverTheFallbackAndTheLastFallbackCounts) {
  EXPECT_EQ(Route(Note(L"click", &close)), (Calls{"close 4"}));
  EXPECT_EQ(Route(Note(L"click", &other)), (Calls{"last any click"}));
  EXPECT_EQ(Route(Note(L"click", nullptr)), (Calls{"last any click"})) << "a sender that went away";
  EXPECT_EQ(Route(Note(L"timer", &other)), (Calls{"timer 4,5"})) << "handlers of the parameters";
  EXPECT_TRUE(handled);
}

TEST_F(NotifyPumpTest, TablesWithoutAnEntryFallBackToTheBaseTable) {
  EXPECT_EQ(Route(Note(L"selectchanged", &chk)), (Calls{"base select"}));
  EXPECT_EQ(Route(Note(L"selectchanged", &other)), Calls{});
  EXPECT_FALSE(handled);
  EXPECT_EQ(Route(Note(L"Click", &close)), Calls{}) << "types compare exactly";
}

TEST_F(NotifyPumpTest, VirtualWindowsOfTheRecordsNameAreAskedFirst) {
  Panel first("first"), second("second");
  EXPECT_TRUE(page.AddVirtualWnd(L"Settings", &first));
  EXPECT_FALSE(page.AddVirtualWnd(L"Settings", &second));
  EXPECT_TRUE(page.AddVirtualWnd(L"SETTINGS", &second));
  EXPECT_EQ(Route(Note(L"click", &panelButton, L"settings")), (Calls{"first click"}));
  // A virtual window that does not handle it leaves the record to the window's own map.
  EXPECT_EQ(Route(Note(L"click", &close, L"settings")), (Calls{"close 4"}));
  EXPECT_EQ(Route(Note(L"click", &panelButton)), (Calls{"last any click"})) << "no virtual window name";
  EXPECT_TRUE(page.RemoveVirtualWnd(L"Settings"));
  EXPECT_EQ(Route(Note(L"click", &panelButton, L"settings")), (Calls{"second click"}));
  EXPECT_FALSE(page.RemoveVirtualWnd(L"Settings"));
}

}  // namespace
