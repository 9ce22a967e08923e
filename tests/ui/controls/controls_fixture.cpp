#include "tests/ui/controls/controls_fixture.h"

#include <gtest/gtest.h>

#include "ui/controls/drawing_services.h"
#include "ui/controls/register_controls.h"

using namespace SkinUI;

namespace testsupport {
namespace {

std::unique_ptr<SkinBitmapInfo> LoadFakeImage(const std::wstring& name, const std::wstring&, SkinColor, int, int) {
  auto it = FakeImages().find(name);
  if (it == FakeImages().end()) return nullptr;
  auto b = std::make_unique<SkinBitmapInfo>();
  b->width = it->second.cx;
  b->height = it->second.cy;
  b->pixels.assign(static_cast<std::size_t>(b->width) * b->height, 0xFF808080);
  return b;
}

}  // namespace

std::map<std::wstring, SkinSize>& FakeImages() {
  static std::map<std::wstring, SkinSize> images = {
      {L"btn.png", {400, 30}},
      {L"fore.png", {20, 20}},
      {L"hotfore.png", {20, 20}},
      {L"img\\common\\chk_16x16.png", {64, 16}},
      {L"img\\inst\\chk_custom_install.png", {112, 14}},
      {L"img\\common\\prog_bg.png", {659, 12}},
      {L"img\\common\\prog_fg.png", {659, 12}},
      {L"img\\inst\\edit_install_path.png", {573, 38}},
      {L"seq_inst.png", {36816, 12}},
      {L"seq_introduce.png", {2301, 398}},
  };
  return images;
}

std::vector<std::wstring> NotifyLog::Types() const {
  std::vector<std::wstring> out;
  for (const NotifyRecord& r : seen)
    if (r.type != L"setfocus" && r.type != L"killfocus" && r.type != L"timer" && r.type != L"windowinit")
      out.push_back(r.type);
  return out;
}

SkinTree::SkinTree(const std::wstring& xml, int width, int height)
    : window(xml), host(window.Host()), client{0, 0, width, height} {
  InstallDrawingServices();
  CSkinHost::SetImageLoader(&LoadFakeImage);
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
  // The first paint gave the first Tab stop the focus; the tests start from none.
  host.SetFocus(nullptr);
  Pump();
  log.seen.clear();
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
