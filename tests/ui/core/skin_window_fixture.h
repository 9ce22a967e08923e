#pragma once
// Skinned windows on the in-memory window system: a probe control that records its events, a
// test window class built from skin XML, and a fixture that pumps messages the way the
// framework's loop does.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_window_system.h"
#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "tests/ui/core/fill_canvas.h"
#include "ui/core/control_ui.h"
#include "ui/core/container_ui.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_host.h"
#include "ui/core/window_impl_base.h"

namespace skintest {

using namespace SkinUI;

// "Probe" elements: a control that records every event; "tabstop" and "setcursor" switch on its
// control flags.
class ProbeUI : public CControlUI {
 public:
  const wchar_t* ClassName() const override { return L"ProbeUI"; }
  std::uint32_t ControlFlags() const override { return flags; }
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"tabstop")
      flags |= kControlTabStop;
    else if (name == L"setcursor")
      flags |= kControlSetCursor;
    else
      CControlUI::SetAttribute(name, value);
  }
  void HandleEvent(SkinEvent& e) override {
    events.push_back(e);
    CControlUI::HandleEvent(e);
  }
  std::vector<int> Types() const {
    std::vector<int> out;
    for (const SkinEvent& e : events) out.push_back(e.type);
    return out;
  }
  // Event types without the pointer's moves and cursor questions.
  std::vector<int> Significant() const {
    std::vector<int> out;
    for (const SkinEvent& e : events)
      if (e.type != kEventMouseMove && e.type != kEventSetCursor) out.push_back(e.type);
    return out;
  }
  std::uint32_t flags = 0;
  std::vector<SkinEvent> events;
};

// "TestLabel": a probe whose class name marks it as a label (Alt+letter shortcuts skip labels).
class TestLabelUI : public ProbeUI {
 public:
  const wchar_t* ClassName() const override { return L"TestLabelUI"; }
};

struct ProbeCallback : ISkinBuilderCallback {
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& element) override {
    if (element == L"Probe") return std::make_unique<ProbeUI>();
    if (element == L"TestLabel") return std::make_unique<TestLabelUI>();
    return nullptr;
  }
};

class TestWindow : public WindowImplBaseNew {
 public:
  const wchar_t* WindowClassName() const override { return L"TestSkinWnd"; }
  void Notify(SkinNotify& msg) override {
    notes.push_back(msg);
    WindowImplBaseNew::Notify(msg);
  }
  void OnInitialize() override { ++initialized; }
  std::intptr_t OnLButtonDown(std::uint32_t m, std::uintptr_t w, std::intptr_t l, bool& handled) override {
    ++buttonDowns;
    return WindowImplBaseNew::OnLButtonDown(m, w, l, handled);
  }
  std::intptr_t OnMouseEnterWindow(std::uint32_t m, std::uintptr_t w, std::intptr_t l, bool& handled) override {
    ++mouseEntered;
    return WindowImplBaseNew::OnMouseEnterWindow(m, w, l, handled);
  }
  std::intptr_t OnSysCommand(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                             bool& handled) override {
    sysCommands.push_back(wParam & 0xFFF0);
    return WindowImplBaseNew::OnSysCommand(message, wParam, lParam, handled);
  }
  std::vector<std::wstring> NoteTypes() const {
    std::vector<std::wstring> out;
    for (const SkinNotify& n : notes) out.push_back(n.type);
    return out;
  }
  int Count(const std::wstring& type) const {
    return static_cast<int>(std::count_if(notes.begin(), notes.end(), [&](const SkinNotify& n) { return n.type == type; }));
  }
  ProbeUI* Probe(const std::wstring& name) { return dynamic_cast<ProbeUI*>(host_.FindControlByName(name)); }

  std::vector<SkinNotify> notes;
  std::vector<std::uintptr_t> sysCommands;
  int initialized = 0;
  int mouseEntered = 0;
  int buttonDowns = 0;
};

class SkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetWindowSystem(&ws);
    SetCanvasFactory(&testsupport::FillCanvas::Make);
  }
  void TearDown() override {
    wnd.reset();
    SetCanvasFactory(nullptr);
    platform::SetWindowSystem(nullptr);
  }

  // Builds a window from skin XML, centres and shows it and runs the loop until it is idle.
  TestWindow& Open(const std::wstring& xml, platform::WindowHandle owner = nullptr) {
    wnd = std::make_unique<TestWindow>();
    wnd->SetSkinFile(xml);
    EXPECT_NE(wnd->Create(owner, L"test", &callback, kWsPopup, 0), nullptr);
    wnd->CenterOnOwner();
    wnd->ShowWindow();
    Pump();
    return *wnd;
  }
  // What the framework's loop does with each message.
  int Pump() {
    return ws.PumpMessages([](const platform::Message& m) { return CSkinHost::TranslateMessage(m); });
  }
  // A probe of the open window that must exist.
  ProbeUI* ProbeOf(const wchar_t* name) {
    ProbeUI* p = wnd->Probe(name);
    if (p == nullptr) ADD_FAILURE() << "no probe named " << platform::WideToUtf8(name);
    return p;
  }
  platform::WindowHandle H() const { return wnd->Handle(); }
  CSkinHost& Host() { return wnd->Host(); }

  platform::HeadlessWindowSystem ws;
  ProbeCallback callback;
  std::unique_ptr<TestWindow> wnd;
};

}  // namespace skintest
