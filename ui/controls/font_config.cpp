#include "ui/controls/font_config.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_set>

#include "common/base/log.h"

namespace SkinUI {
namespace {

// The skins ask for "Microsoft YaHei" (and its Chinese name). Without this rule fontconfig picks
// whatever matches the locale, DejaVu Sans for Latin text in an English one, and the skins'
// measurements no longer hold.
constexpr char kAliasRule[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="same">
    <family>Microsoft YaHei</family>
    <prefer><family>WenQuanYi Micro Hei</family></prefer>
  </alias>
  <alias binding="same">
    <family>微软雅黑</family>
    <prefer><family>WenQuanYi Micro Hei</family></prefer>
  </alias>
</fontconfig>
)";

// Font files of skins, installed into the process's font configuration once each. Fontconfig
// wants a path, so the bytes go to a private temporary copy that lives as long as the process.
class FontFileStore {
 public:
  static FontFileStore& Instance() {
    static FontFileStore store;
    return store;
  }
  bool Install(const std::wstring& face, const std::uint8_t* bytes, std::size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (installed_.count(face) != 0) return true;
    std::error_code ec;
    if (dir_.empty()) {
      std::string tmpl = (std::filesystem::temp_directory_path(ec) / "webinst-fonts-XXXXXX").string();
      if (ec || mkdtemp(tmpl.data()) == nullptr) return false;
      dir_ = tmpl;
    }
    const std::filesystem::path file = dir_ / ("font" + std::to_string(serial_++) + ".bin");
    {
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
      if (!out) return false;
    }
    if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(file.c_str()))) {
      std::filesystem::remove(file, ec);
      return false;
    }
    // Pango caches the font configuration; tell it that the set of fonts changed.
    PangoFontMap* map = pango_cairo_font_map_get_default();
    if (PANGO_IS_FC_FONT_MAP(map)) pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
    installed_.insert(face);
    return true;
  }
  ~FontFileStore() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::mutex mutex_;
  std::filesystem::path dir_;
  int serial_ = 0;
  std::unordered_set<std::wstring> installed_;
};

}  // namespace

void CFontConfig::LoadAliases() {
  static std::once_flag once;
  std::call_once(once, [] {
    FcConfig* config = FcConfigGetCurrent();
    if (!FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliasRule), FcTrue)) {
      LOG_WARN << "the font alias rule was not accepted";
    }
    // The default font map read the configuration before the rule was added.
    pango_cairo_font_map_set_default(nullptr);
  });
}

bool CFontConfig::InstallFile(const std::wstring& face, const std::uint8_t* bytes, std::size_t size) {
  return FontFileStore::Instance().Install(face, bytes, size);
}

}  // namespace SkinUI
