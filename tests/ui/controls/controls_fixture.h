#pragma once
// A skinned window on the in-memory window system: its control tree is built from skin XML
// with the controls registered, input is injected as the desktop would deliver it, and the
// fixture keeps a log of the notifications and a canvas that records what the tree draws.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_window_system.h"
#include "tests/ui/core/recording_canvas.h"
#include "ui/core/control_ui.h"
#include "ui/core/skin_host.h"
#include "ui/core/window_impl_base.h"

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
  // The types seen, leaving out focus changes, timers and the window's first layout.
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

// Images the skins of the tests name, by file name, with their sizes (opaque grey pixels). The
// window loads these instead of files; any other name fails to load, as a missing file does.
std::map<std::wstring, SkinUI::SkinSize>& FakeImages();

// The window of a test: the skin is the XML text itself.
class TestSkinWindow : public SkinUI::WindowImplBaseNew {
 public:
  explicit TestSkinWindow(std::wstring xml) : xml_(std::move(xml)) {}
  const wchar_t* WindowClassName() const override { return L"ControlsTestWnd"; }
  std::wstring SkinFile() const override { return xml_; }

 private:
  std::wstring xml_;
};

// `xml` is a skin document ("<Window>...</Window>"); the window is width x height, shown and
// laid out, and starts with no control focused.
class SkinTree {
 public:
  explicit SkinTree(const std::wstring& xml, int width = 800, int height = 600);
  ~SkinTree();

  template <class T = SkinUI::CControlUI>
  T* Find(const std::wstring& name) const {
    return static_cast<T*>(host.FindControlByName(name));
  }
  // Dispatches what is queued (input, paints, due timers) the way the message loop does.
  void Pump();
  // Lays out again after changes that request it.
  void Layout();
  // Paints the whole tree into a fresh recording canvas.
  SpecCanvas Paint();
  // Sends an event straight to a control, the way the host makes it.
  void Send(SkinUI::CControlUI* control, int type, SkinUI::SkinPoint pt = {}, std::uint16_t key = 0);
  // Press and release of the left button at client points, injected into the window.
  void Click(SkinUI::SkinPoint down, SkinUI::SkinPoint up);
  void Click(const SkinUI::CControlUI* control) { Click(Centre(control), Centre(control)); }
  void MoveTo(SkinUI::SkinPoint pt);
  // A key press (down and up) with the character it types; `modifiers` are held around it.
  void Key(int virtualKey, char32_t ch = 0, std::initializer_list<int> modifiers = {});
  void Type(const std::u32string& text);
  // The centre of a control.
  static SkinUI::SkinPoint Centre(const SkinUI::CControlUI* control);

  platform::HeadlessWindowSystem ws;
  TestSkinWindow window;
  SkinUI::CSkinHost& host;
  platform::WindowHandle handle = nullptr;
  NotifyLog log;
  SkinUI::SkinRect client;
};

}  // namespace testsupport
