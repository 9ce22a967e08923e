#pragma once
// The one way the UI framework reads a skin file (layout XML, images, fonts) by its skin name,
// such as "xml\inst\wnd.xml". Where the bytes come from (an archive, loose files on disk) is the
// business of the skin archive registry, which lives above this layer (ui/controls) and plugs
// its reader in here when it is first used.
#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {

// Returns the size of the file and hands out a buffer of exactly that many bytes; 0 means
// failure (missing, empty or unreadable) and then `out` is left empty.
using SkinFileReader = uint32_t (*)(const std::wstring& name, std::unique_ptr<uint8_t[]>& out,
                                    bool markup);

// Installs the reader behind LoadFileData (null: none, every read fails).
void SetSkinFileReader(SkinFileReader reader);

// `markup` is set for XML reads, which may come from a separate markup archive.
uint32_t LoadFileData(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup);

}  // namespace SkinUI
