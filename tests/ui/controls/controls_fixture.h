#pragma once
// A skinned control tree attached to a host, built from skin XML with the controls registered,
// with a log of the notifications it raises and a canvas that records what it draws.
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/core/recording_canvas.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"

namespace testsupport {

struct NotifyRecord {
  std::wstring type;
  std::wstring sender;  // the sender's name
  std::intptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

struct NotifyLog : SkinUI::INotifyUI {
  void Notify(SkinUI::SkinNotify& msg) override {
    seen.push_back({msg.type, msg.sender != nullptr ? msg.sender->GetName() : L"", msg.wParam, msg.lParam});
  }
  // The types seen, leaving out focus changes and timers.
  std::vector<std::wstring> Types() const;
  std::vector<NotifyRecord> seen;
};

// Records the whole image description of each image drawn.
struct SpecCanvas : RecordingCanvas {
  bool PaintImage(SkinUI::CSkinHost* host, const SkinUI::SkinRect& control, const SkinUI::SkinRect& dirty,
                  const SkinUI::SkinImageSpec& spec) override {
    specs.push_back(spec);
    return RecordingCanvas::PaintImage(host, control, dirty, spec);
  }
  std::vector<SkinUI::SkinImageSpec> specs;
};

// `xml` is a skin document ("<Window>...</Window>"); its root control becomes the host's root,
// laid out at 0, 0, width, height.
class SkinTree {
 public:
  explicit SkinTree(const std::wstring& xml, int width = 800, int height = 600);
  ~SkinTree();

  template <class T = SkinUI::CControlUI>
  T* Find(const std::wstring& name) const {
    return static_cast<T*>(host.FindControlByName(name));
  }
  // Lays out again after changes that request it.
  void Layout();
  // Paints the whole tree into a fresh recording canvas.
  SpecCanvas Paint();
  // Sends an event the way the host makes it.
  void Send(SkinUI::CControlUI* control, int type, SkinUI::SkinPoint pt = {}, std::uint16_t key = 0);
  // Press and release of the left button at `pt` (inside or outside the control).
  void Click(SkinUI::CControlUI* control, SkinUI::SkinPoint down, SkinUI::SkinPoint up);
  void Click(SkinUI::CControlUI* control);
  // The centre of a control.
  static SkinUI::SkinPoint Centre(const SkinUI::CControlUI* control);

  SkinUI::CSkinHost host;
  NotifyLog log;
  SkinUI::SkinRect client;
};

}  // namespace testsupport
