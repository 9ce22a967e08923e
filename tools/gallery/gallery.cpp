// skin_gallery: every control of the SkinUI framework in one window, built from the loose skin
// files of tools/gallery (gallery.xml and img/). For looking at the controls and for the
// screenshot in docs/gallery.png (tools/gallery/screenshot).
//
//   skin_gallery [--skin-dir DIR] [--quit-after MS] [--drop-down]
//
// --quit-after ends the program after that many milliseconds; --drop-down opens the combo box's
// drop-down once the window is shown (for a picture of it).
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/text_encoding.h"
#include "platform/window_messages.h"
#include "platform/window_system.h"
#include "ui/controls/combo_ui.h"
#include "ui/controls/drawing_services.h"
#include "ui/controls/list_text_element_ui.h"
#include "ui/controls/list_ui.h"
#include "ui/controls/register_controls.h"
#include "ui/controls/skin_archive_registry.h"
#include "ui/core/window_impl_base.h"

namespace {

using namespace SkinUI;

constexpr std::uintptr_t kQuitTimer = 1;
constexpr std::uintptr_t kDropTimer = 2;

struct Row {
  const wchar_t* name;
  const wchar_t* size;
  const wchar_t* type;
};
constexpr Row kRows[] = {
    {L"beach.jpg", L"2.4 MB", L"JPEG image"},        {L"harbour.jpg", L"3.1 MB", L"JPEG image"},
    {L"map.png", L"640 KB", L"PNG image"},           {L"notes.txt", L"2 KB", L"Text document"},
    {L"sunset.heic", L"1.8 MB", L"HEIC image"},      {L"trip.mp4", L"84.0 MB", L"MPEG-4 video"},
    {L"panorama.tif", L"48.2 MB", L"TIFF image"},    {L"album.pdf", L"12.9 MB", L"PDF document"},
    {L"raw_0042.dng", L"25.3 MB", L"Raw image"},     {L"raw_0043.dng", L"25.1 MB", L"Raw image"},
    {L"thumbs.db", L"96 KB", L"Database"},           {L"cover.webp", L"310 KB", L"WebP image"},
};

class CGalleryWnd : public WindowImplBaseNew {
 public:
  CGalleryWnd(unsigned quitAfter, bool dropDown) : quitAfter_(quitAfter), dropDown_(dropDown) {}
  const wchar_t* WindowClassName() const override { return L"SkinGallery"; }
  std::wstring SkinFile() const override { return L"gallery.xml"; }

  void OnInitialize() override {
    // The list's rows come from the program: one text per column.
    if (auto* list = static_cast<CListUI*>(host_.FindControlByName(L"files"))) {
      for (const Row& r : kRows) {
        auto* row = new CListTextElementUI();
        row->SetFixedHeight(24);
        row->SetColumnText(0, r.name);
        row->SetColumnText(1, r.size);
        row->SetColumnText(2, r.type);
        list->Add(row);
      }
      list->SelectItem(2);
    }
    platform::IWindowSystem* ws = platform::WindowSystem();
    if (quitAfter_ > 0) ws->SetTimer(handle_, kQuitTimer, quitAfter_);
    if (dropDown_) ws->SetTimer(handle_, kDropTimer, 300);
  }

  std::intptr_t OnTimer(std::uint32_t, std::uintptr_t wParam, std::intptr_t, bool& handled) override {
    platform::IWindowSystem* ws = platform::WindowSystem();
    if (wParam == kQuitTimer) {
      ws->PostQuitMessage(0);
    } else if (wParam == kDropTimer) {
      ws->KillTimer(handle_, kDropTimer);
      if (auto* combo = static_cast<CComboUI*>(host_.FindControlByName(L"combo"))) combo->CanActivate();
    } else {
      handled = false;
    }
    return 0;
  }

  void OnClick(SkinNotify& msg) override {
    if (msg.sender != nullptr && msg.sender->GetName() == L"btn_close") Close(0);
  }

  std::intptr_t OnDestroy(std::uint32_t, std::uintptr_t, std::intptr_t, bool& handled) override {
    platform::WindowSystem()->PostQuitMessage(0);
    handled = false;
    return 0;
  }

 private:
  unsigned quitAfter_;
  bool dropDown_;
};

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::string skinDir = GALLERY_SKIN_DIR;
  unsigned quitAfter = 0;
  bool dropDown = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--skin-dir") == 0 && i + 1 < argc) {
      skinDir = argv[++i];
    } else if (std::strcmp(argv[i], "--quit-after") == 0 && i + 1 < argc) {
      quitAfter = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--drop-down") == 0) {
      dropDown = true;
    } else {
      std::fprintf(stderr, "usage: %s [--skin-dir DIR] [--quit-after MS] [--drop-down]\n", argv[0]);
      return 2;
    }
  }

  std::string error;
  std::unique_ptr<platform::IWindowSystem> ws = platform::CreateX11WindowSystem(nullptr, &error);
  if (!ws) {
    std::fprintf(stderr, "skin_gallery: no display: %s\n", error.c_str());
    return 1;
  }
  platform::SetWindowSystem(ws.get());
  SkinArchiveRegistry::Install();
  SkinArchiveRegistry::Instance().SetResourceFolder(platform::Utf8ToWide(skinDir + "/"));
  InstallDrawingServices();
  RegisterControls();

  int result = 0;
  {
    CGalleryWnd window(quitAfter, dropDown);
    if (window.Create(nullptr, L"SkinUI gallery", nullptr, kWsPopup | kWsClipChildren, 0) == nullptr ||
        window.Host().Root() == nullptr) {
      std::fprintf(stderr, "skin_gallery: the gallery skin did not load from %s\n", skinDir.c_str());
      result = 1;
    } else {
      window.CenterOnOwner();
      window.ShowWindow(true, true);
      CSkinHost::MessageLoop();
    }
  }
  platform::SetWindowSystem(nullptr);
  return result;
}
