#include "tests/ui/controls/controls_fixture.h"

#include <gtest/gtest.h>

#include "ui/controls/register_controls.h"

using namespace SkinUI;

namespace testsupport {

std::vector<std::wstring> NotifyLog::Types() const {
  std::vector<std::wstring> out;
  for (const NotifyRecord& r : seen)
    if (r.type != L"setfocus" && r.type != L"killfocus" && r.type != L"timer" && r.type != L"windowinit")
      out.push_back(r.type);
  return out;
}

SkinTree::SkinTree(const std::wstring& xml, int width, int height)
    : window(xml), host(window.Host()), client{0, 0, width, height} {
  RegisterControls();
  platform::SetWindowSystem(&ws);
  handle = window.Create(nullptr, L"test", nullptr, kWsPopup, 0);
  EXPECT_NE(handle, nullptr);
  EXPECT_NE(host.Root(), nullptr);
  host.AddNotifier(&log);
  ws.SetWindowPos(handle, 0, 0, width, height, platform::kSwpNoMove);
  window.ShowWindow(true, true);
  Pump();
  Layout();
}

SkinTree::~SkinTree() {
  host.RemoveNotifier(&log);
  if (ws.IsWindow(handle)) ws.DestroyWindow(handle);
  ws.PumpMessages();
  platform::SetWindowSystem(nullptr);
}

void SkinTree::Pump() {
  ws.PumpMessages([](const platform::Message& m) { return CSkinHost::TranslateMessage(m); });
}

void SkinTree::Layout() {
  host.RequestLayout();
  host.LayoutIfNeeded(client);
}

SpecCanvas SkinTree::Paint() {
  SpecCanvas canvas;
  Layout();
  if (host.Root() != nullptr) host.Root()->Paint(canvas, client);
  host.TakeDirtyRect();
  return canvas;
}

void SkinTree::Send(CControlUI* control, int type, SkinPoint pt, std::uint16_t key) {
  SkinEvent e;
  e.type = type;
  e.sender = control;
  e.ptMouse = pt;
  e.chKey = key;
  e.wParam = key;
  control->DispatchEvent(e);
}

void SkinTree::MoveTo(SkinPoint pt) {
  ws.MouseMove(handle, pt.x, pt.y);
  Pump();
}

void SkinTree::Click(SkinPoint down, SkinPoint up) {
  ws.MouseMove(handle, down.x, down.y);
  ws.MouseDown(handle, down.x, down.y);
  Pump();
  ws.MouseMove(handle, up.x, up.y);
  ws.MouseUp(handle, up.x, up.y);
  Pump();
}

void SkinTree::Key(int virtualKey, char32_t ch, std::initializer_list<int> modifiers) {
  for (int m : modifiers) ws.KeyDown(m);
  ws.KeyPress(virtualKey, ch);
  for (int m : modifiers) ws.KeyUp(m);
  Pump();
}

void SkinTree::Type(const std::u32string& text) {
  ws.TypeText(text);
  Pump();
}

SkinPoint SkinTree::Centre(const CControlUI* control) {
  const SkinRect& rc = control->Position();
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace testsupport
