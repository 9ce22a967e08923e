#pragma once
// How the window base registers skin archives (SetSkinArchive, SetMarkupArchive). The archive
// registry lives above this layer (ui/controls) and installs these entry points at start-up,
// next to the reader behind LoadFileData.
#include <string>
#include <string_view>

namespace SkinUI {

struct SkinArchiveRegistrar {
  // The executable's resource (type, id) copied and registered as the main or overlay archive.
  void (*registerModuleResource)(int id, std::string_view type, bool main) = nullptr;
  // An archive file: the main one (held open) or the overlay.
  void (*registerArchiveFile)(const std::wstring& name, bool main) = nullptr;
  void (*registerMarkupArchiveFile)(const std::wstring& name) = nullptr;
};

// Null removes it; the registrar must outlive its use.
void SetSkinArchiveRegistrar(const SkinArchiveRegistrar* registrar);
const SkinArchiveRegistrar* GetSkinArchiveRegistrar();

}  // namespace SkinUI
