// The built installer's window on the test's X display, as the user sees and uses it: centred on
// the welcome step, growing downwards when the custom-install panel opens, and the confirmation
// box its close button brings up, whose "确认" ends the run.
#include <gtest/gtest.h>

#include "tests/e2e/demo_site_fixture.h"
#include "tests/support/x11_tools.h"

namespace {

using testsupport::Geometry;
using testsupport::Tool;
using EventList = std::vector<std::int64_t>;

class InstallerWindowX11 : public testsupport::DemoSiteRun {};

TEST_F(InstallerWindowX11, TheCustomPanelGrowsTheWindowDownwardsAndTheCloseButtonAsksFirst) {
  StartInstaller();
  const std::string wnd = InstallerWindow();
  ASSERT_FALSE(wnd.empty()) << copy_->log();
  const auto start = Geometry(wnd);
  const auto [screenWidth, screenHeight] = testsupport::ScreenSize();
  EXPECT_EQ(start.at("WIDTH"), 819);
  EXPECT_EQ(start.at("HEIGHT"), 574);
  EXPECT_EQ(start.at("X"), screenWidth / 2 - 819 / 2);
  EXPECT_EQ(start.at("Y"), screenHeight / 2 - 574 / 2);

  ASSERT_TRUE(ClickUntil(wnd, testsupport::kCustomInstallBox, [&] { return Geometry(wnd)["HEIGHT"] == 698; }));
  const auto grown = Geometry(wnd);
  EXPECT_EQ(grown.at("WIDTH"), 819);
  EXPECT_EQ(grown.at("X"), start.at("X")) << "the top-left corner stays";
  EXPECT_EQ(grown.at("Y"), start.at("Y"));
  ASSERT_TRUE(WaitFor([&] { return EventNumbers().size() >= 2; }));
  EXPECT_EQ(EventNumbers(), (EventList{2900001, 2901002}));

  ClickIn(wnd, testsupport::kCloseButton);
  const std::string box = testsupport::WaitForWindow("OrbiskMsgBoxWndCls");
  ASSERT_FALSE(box.empty());
  EXPECT_NE(Tool({"xprop", "-id", box, "WM_CLASS"}).find("\"OrbiskMsgBoxWndCls\""), std::string::npos);
  EXPECT_EQ(Geometry(box)["WIDTH"], 333);
  const auto b = Geometry(box);
  EXPECT_EQ(testsupport::EndWith(*installer_, testsupport::ClickAt(b.at("X") + testsupport::kBoxConfirm.x,
                                                                   b.at("Y") + testsupport::kBoxConfirm.y)),
            0);
  EXPECT_EQ(EventNumbers(), (EventList{2900001, 2901002, 2900002, 2900003}));
  ExpectWellFormedEvents();
}

}  // namespace
