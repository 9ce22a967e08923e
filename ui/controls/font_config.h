#pragma once
// The process's font configuration: the alias that gives the skins' "Microsoft YaHei" a face of
// this system, and the font files skins bring along.
#include <cstddef>
#include <cstdint>
#include <string>

namespace SkinUI {

class CFontConfig {
 public:
  // Adds the alias rule to the current fontconfig configuration and makes Pango use a font map
  // that sees it. Once per process; later calls do nothing.
  static void LoadAliases();
  // Makes the face of a font file's bytes available to text drawing (once per face). False when
  // the bytes cannot be stored or are no font fontconfig accepts.
  static bool InstallFile(const std::wstring& face, const std::uint8_t* bytes, std::size_t size);
};

}  // namespace SkinUI
