#pragma once
// Where the UI framework's skin files come from: the process-wide registry of skin archives (a
// main archive, an overlay searched before it and a markup archive for XML reads, from memory
// or from files) and the reader behind SkinUI::LoadFileData. With no archive registered, skin
// files are loose files below the resource folder (the current directory by default).
//
// Single-threaded: registration and reads happen on the UI thread.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/controls/skin_resource_zip.h"

namespace SkinUI {

class SkinArchiveRegistry {
 public:
  // The name the main archive gets once an archive was registered from memory.
  static constexpr const wchar_t* kMemoryArchiveName = L"membuffer";

  // The process-wide registry. Install() creates it and makes it the reader behind
  // SkinUI::LoadFileData and the registrar behind the window base's SetSkinArchive; start-up
  // calls it before the first skin file is read.
  static SkinArchiveRegistry& Instance();
  static void Install();

  SkinArchiveRegistry() = default;
  ~SkinArchiveRegistry() = default;
  SkinArchiveRegistry(const SkinArchiveRegistry&) = delete;
  SkinArchiveRegistry& operator=(const SkinArchiveRegistry&) = delete;

  // Prefix of every disk path (loose files and archive files).
  void SetResourceFolder(const std::wstring& folder) { resourceFolder_ = folder; }

  // The executable's resource of that type and id as the main or the overlay archive; a missing
  // or empty resource changes nothing.
  void RegisterFromModuleResource(int id, std::string_view type, bool main);
  // The registry keeps its own copy of the bytes. A size equal to the previous registration's
  // is taken for the same archive and ignored.
  void RegisterMainFromMemory(const uint8_t* bytes, int32_t size);
  void RegisterOverlayFromMemory(const uint8_t* bytes, int32_t size);
  // Held archives are opened once and kept open; otherwise every read opens and closes them.
  void RegisterMainArchiveFile(const std::wstring& name, bool held);
  void RegisterOverlayArchiveFile(const std::wstring& name);
  void RegisterMarkupArchiveFile(const std::wstring& name);
  // Closes every archive and frees the memory copies; the registry is then as it was at start
  // (only the resource folder stays), so a later registration takes effect again.
  void ReleaseAll();

  // Reads the whole skin file `name` ("xml\inst\wnd.xml": backslashes or slashes, ASCII letters
  // in any case, in archives and loose files alike). Returns its size and hands out the buffer;
  // 0 means failure (missing, empty, damaged) and then `out` is empty.
  uint32_t LoadFileData(const std::wstring& name, std::unique_ptr<uint8_t[]>& out, bool markup);

 private:
  std::string DiskPath(const std::wstring& name) const;
  uint32_t ReadLooseFile(const std::wstring& name, std::unique_ptr<uint8_t[]>& out) const;
  std::unique_ptr<SkinResourceZip> OpenArchiveFile(const std::wstring& name) const;
  // A held archive, or one opened into `scratch` for this call (null when there is none).
  SkinResourceZip* Archive(std::unique_ptr<SkinResourceZip>& held, const std::wstring& name,
                           std::unique_ptr<SkinResourceZip>& scratch) const;
  uint32_t Extract(SkinResourceZip& zip, const SkinZipEntry& entry, const std::wstring& name,
                   std::unique_ptr<uint8_t[]>& out) const;
  static std::unique_ptr<SkinResourceZip> OpenMemory(const uint8_t* bytes, size_t size, const char* what);
  static bool ValidBlock(const uint8_t* bytes, int32_t size);
  // Makes `buffer` a copy of the block and opens `archive` over it; archives are held from then
  // on and the main archive's name says they come from memory.
  void AdoptCopy(const uint8_t* bytes, int32_t size, std::unique_ptr<uint8_t[]>& buffer,
                 std::unique_ptr<SkinResourceZip>& archive, const char* what);

  std::wstring resourceFolder_;
  std::wstring mainName_;
  std::wstring overlayName_;
  std::wstring markupName_;
  bool held_ = false;
  // The memory copies come before the archives that read from them, so they are destroyed after.
  std::unique_ptr<uint8_t[]> mainBuffer_;
  int32_t mainSize_ = 0;
  std::unique_ptr<uint8_t[]> overlayBuffer_;
  int32_t overlaySize_ = 0;
  std::unique_ptr<SkinResourceZip> main_;
  std::unique_ptr<SkinResourceZip> overlay_;
  std::unique_ptr<SkinResourceZip> markup_;
};

}  // namespace SkinUI
