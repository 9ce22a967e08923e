// The skin builder and the controls it makes, on arbitrary skins: attribute lists applied to
// every core control kind, and small documents built into a host, laid out, painted, hit-tested
// and destroyed. Includes resolve to two fixed files, one of which includes itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/text_encoding.h"
#include "tests/ui/core/test_scroll_bar.h"
#include "ui/core/container_ui.h"
#include "ui/core/horizontal_layout_ui.h"
#include "ui/core/render_canvas.h"
#include "ui/core/skin_builder.h"
#include "ui/core/skin_file_data.h"
#include "ui/core/skin_host.h"
#include "ui/core/tab_layout_ui.h"
#include "ui/core/tile_layout_ui.h"
#include "ui/core/vertical_layout_ui.h"

using namespace SkinUI;

namespace {

class NullCanvas : public IRenderCanvas {
 public:
  void FillColor(const SkinRect&, SkinColor) override {}
  void FillGradient(const SkinRect&, SkinColor, SkinColor, bool) override {}
  void StrokeLine(const SkinRect&, int, SkinColor, int) override {}
  void StrokeRect(const SkinRect&, int, SkinColor) override {}
  void StrokeRoundRect(const SkinRect&, int, int, int, SkinColor) override {}
  void PushClipRect(const SkinRect&) override { ++depth; }
  void PushClipRoundRect(const SkinRect&, const SkinRect&, int, int) override { ++depth; }
  void PopClip() override {
    if (--depth < 0) __builtin_trap();  // unbalanced clips
  }
  SkinRect ClipBox() const override { return {0, 0, 640, 480}; }
  bool PaintImage(CSkinHost*, const SkinRect&, const SkinRect&, const SkinImageSpec& spec) override {
    return spec.file.size() % 2 == 0;
  }
  void DrawBitmap(const SkinBitmapInfo&, const SkinRect&, const SkinRect&, std::uint8_t) override {}
  void DrawPlainText(const SkinRect&, const std::wstring&, const SkinFontInfo&, SkinColor, std::uint32_t) override {}
  void DrawTextRun(int, int, const std::wstring&, const SkinFontInfo&, SkinColor) override {}
  int depth = 0;
};

uint32_t ReadFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool) {
  static const char* kSelf =
      "<W><Style name=\"s\" value=\"width=&quot;3&quot;\"/><Container style=\"s\"><Include source=\"self.xml\"/>"
      "</Container></W>";
  static const char* kPanel = "<W><Control name=\"p\" bkcolor=\"#FF000000\" height=\"10\"/></W>";
  const char* text = name == L"self.xml" ? kSelf : name == L"panel.xml" ? kPanel : nullptr;
  if (text == nullptr) return 0;
  const std::size_t n = std::strlen(text);
  out = std::make_unique<uint8_t[]>(n);
  std::memcpy(out.get(), text, n);
  return static_cast<uint32_t>(n);
}

void Exercise(CSkinHost& host, CControlUI* root, const SkinRect& client) {
  host.LayoutIfNeeded(client);
  root->SetPosition(client);
  NullCanvas canvas;
  root->Paint(canvas, client);
  if (canvas.depth != 0) __builtin_trap();
  for (int y = 0; y < client.bottom; y += 37)
    for (int x = 0; x < client.right; x += 41) host.FindControlAt({x, y});
  SkinEvent wheel;
  wheel.type = kEventScrollWheel;
  wheel.wParam = 1;
  root->HandleEvent(wheel);
}

int g_installed = [] {
  SetSkinFileReader(&ReadFile);
  CContainerUI::SetScrollBarFactory(&testsupport::TestScrollBar::Make);
  return 0;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::wstring text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  static int window;
  CSkinHost host;
  host.AttachWindow(&window);
  host.AddStyle(L"s", L"padding=\"1,2,3,4\" float=\"true\" pos=\"-5,1,-1,9\"");
  host.AddClassDefaults(L"VScrollBar", L"width=\"9\"");

  if (data[0] % 2 == 0) {
    // An attribute list on each kind of control, inside a vertical layout with siblings.
    auto root = std::make_unique<CVerticalLayoutUI>();
    CVerticalLayoutUI* r = root.get();
    CControlUI* kinds[] = {new CControlUI(),        new CContainerUI(), new CVerticalLayoutUI(),
                           new CHorizontalLayoutUI(), new CTileLayoutUI(), new CTabLayoutUI()};
    for (CControlUI* k : kinds) {
      if (auto* box = static_cast<IContainerUI*>(k->AsInterface(L"IContainer"))) {
        box->Add(new CControlUI());
        box->Add(new CControlUI());
      }
      r->Add(k);
    }
    host.AttachRoot(std::move(root));
    for (CControlUI* k : kinds) k->ApplyAttributes(text);
    Exercise(host, r, {0, 0, 640, 480});
    return 0;
  }
  // A document, built, attached and used.
  CSkinBuilder builder;
  std::unique_ptr<CControlUI> root = builder.Build(text.empty() || text[0] != L'<' ? L"<" + text : text, nullptr,
                                                   nullptr, &host);
  if (!root) return 0;
  CControlUI* r = root.get();
  host.AttachRoot(std::move(root));
  Exercise(host, r, {0, 0, 400, 300});
  host.ProcessDelayedCleanup();
  return 0;
}
