// Draws the skin's images into a skin folder:
//
//   skin_artwork <skin folder>
//
// Every file is written from scratch; the committed images under skin/img are this program's
// output (tools/artwork/generate runs it).
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "tools/artwork/art.h"

namespace {

using artwork::Image;

struct Entry {
  const char* path;
  std::function<Image()> draw;
};

const Entry kEntries[] = {
    {"img/common/bg.png", artwork::WindowBackground},
    {"img/inst/bg_dropdown.png", artwork::WindowBackgroundExpanded},
    {"img/common/logo.png", artwork::Logo},
    {"img/common/btn_min.png", artwork::MinimiseButton},
    {"img/common/btn_close.png", artwork::CloseButton},
    {"img/common/btn_blue_912x62.png", [] { return artwork::LargeButton(false); }},
    {"img/common/btn_blue_228x62.png", [] { return artwork::LargeButton(true); }},
    {"img/common/btn_blue_radius4.png", [] { return artwork::FilledButton(88, 30); }},
    {"img/common/btn_blue_border_radius4.png", [] { return artwork::OutlineButton(88, 30, false); }},
    {"img/inst/btn_red_border_radisu4.png", [] { return artwork::OutlineButton(88, 30, true); }},
    {"img/inst/btn_blue_border_100x34.png", [] { return artwork::OutlineButton(100, 34, false); }},
    {"img/common/chk_14x14.png", [] { return artwork::CheckBox(14, false); }},
    {"img/common/chk_16x16.png", [] { return artwork::CheckBox(16, false); }},
    {"img/inst/chk_lic.png", [] { return artwork::CheckBox(16, true); }},
    {"img/inst/chk_custom_install.png", artwork::ExpandArrow},
    {"img/common/prog_bg.png", artwork::ProgressTrack},
    {"img/common/prog_fg.png", [] { return artwork::ProgressFill(false); }},
    {"img/inst/prog_err_fg.png", [] { return artwork::ProgressFill(true); }},
    {"img/inst/edit_install_path.png", artwork::PathField},
    {"img/inst/seq_introduce.png", artwork::IntroductionSlides},
    {"img/inst/seq_inst.png", artwork::InstallBar},
    {"img/common/bg_white.png", artwork::BlankSlide},
    {"img/msgbox/bg.png", artwork::MessageBoxBackground},
    {"img/msgbox/icon_warning.png", artwork::WarningIcon},
    {"img/msgbox/btn_blue.png", [] { return artwork::FilledButton(60, 34); }},
    {"img/msgbox/btn_white.png", [] { return artwork::PlainButton(60, 34); }},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <skin folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  int failures = 0;
  for (const Entry& e : kEntries) {
    const std::filesystem::path path = root / e.path;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const Image image = e.draw();
    if (!image.WritePng(path.string())) {
      ++failures;
      continue;
    }
    std::printf("%-40s %5d x %-3d %8ju bytes\n", e.path, image.Width(), image.Height(),
                static_cast<uintmax_t>(std::filesystem::file_size(path, ec)));
  }
  return failures == 0 ? 0 : 1;
}
