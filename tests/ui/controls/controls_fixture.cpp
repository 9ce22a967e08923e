#include "tests/ui/controls/controls_fixture.h"

#include <gtest/gtest.h>

#include "ui/controls/register_controls.h"
#include "ui/core/skin_builder.h"

using namespace SkinUI;

namespace testsupport {
namespace {

SkinWindowHandle FakeWindow() {
  static int window;
  return &window;
}

}  // namespace

std::vector<std::wstring> NotifyLog::Types() const {
  std::vector<std::wstring> out;
  for (const NotifyRecord& r : seen)
    if (r.type != L"setfocus" && r.type != L"killfocus" && r.type != L"timer") out.push_back(r.type);
  return out;
}

SkinTree::SkinTree(const std::wstring& xml, int width, int height) : client{0, 0, width, height} {
  RegisterControls();
  host.AttachWindow(FakeWindow());
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root = builder.Build(xml, nullptr, nullptr, &host);
  EXPECT_NE(root, nullptr) << std::string(builder.ErrorMessage().begin(), builder.ErrorMessage().end());
  host.AttachRoot(std::move(root));
  host.AddNotifier(&log);
  Layout();
}

SkinTree::~SkinTree() { host.RemoveNotifier(&log); }

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
  control->DispatchEvent(e);
}

void SkinTree::Click(CControlUI* control, SkinPoint down, SkinPoint up) {
  host.SetFocus(control);
  Send(control, kEventButtonDown, down);
  Send(control, kEventMouseMove, up);
  Send(control, kEventButtonUp, up);
}

void SkinTree::Click(CControlUI* control) { Click(control, Centre(control), Centre(control)); }

SkinPoint SkinTree::Centre(const CControlUI* control) {
  const SkinRect& rc = control->Position();
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace testsupport
