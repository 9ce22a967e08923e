#pragma once
// The installer's windows on the in-memory desktop: the skin archive linked into the test program
// as the executable's "ZIPRES" 131, the drawing services and the control classes installed as at
// start-up, and a headless window system
// whose modal loops are driven by a script of steps.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "platform/headless/headless_window_system.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/register_controls.h"
#include "ui/controls/skin_archive_registry.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"

namespace testsupport {

class HeadlessUi : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinUI::SkinArchiveRegistry::Install();
    SkinUI::InstallDrawingServices();
    SkinUI::RegisterControls();
    platform::SetWindowSystem(&ws);
    // Each step runs when the loop has nothing left to do (the window is shown and painted, the
    // previous step's input is handled); the loop ends when the steps run out.
    ws.SetIdleCallback([this] {
      if (steps.empty()) return false;
      std::function<void()> step = std::move(steps.front());
      steps.pop_front();
      step();
      return true;
    });
  }
  void TearDown() override {
    ws.SetIdleCallback({});
    platform::SetWindowSystem(nullptr);
    SkinUI::SkinArchiveRegistry::Instance().ReleaseAll();
  }

  // The live window of that class (the last one made), none when there is none.
  platform::WindowHandle WindowOfClass(const std::string& className) const {
    platform::WindowHandle found = nullptr;
    for (platform::WindowHandle w : ws.Windows())
      if (ws.ClassNameOf(w) == className) found = w;
    return found;
  }
  static SkinUI::CControlUI* Control(platform::WindowHandle window, const std::wstring& name) {
    SkinUI::CSkinHost* host = SkinUI::CSkinHost::HostOf(window);
    return host != nullptr ? host->FindControlByName(name) : nullptr;
  }
  // A left click in the middle of a control of the window.
  void ClickControl(platform::WindowHandle window, const std::wstring& name) {
    SkinUI::CControlUI* c = Control(window, name);
    ASSERT_NE(c, nullptr) << "no control " << std::string(name.begin(), name.end());
    const SkinUI::SkinRect& rc = c->Position();
    ws.Click(window, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }

  platform::HeadlessWindowSystem ws;
  std::deque<std::function<void()>> steps;
};

}  // namespace testsupport
