#pragma once
// Where the application is installed: the proposed folder, the folder made from a picked one,
// the free space of a folder's volume and whether it is enough. The installer window's path
// field, space line and folder button are built on these.
#include <cstdint>
#include <string>

#include "installer/config_record.h"
#include "platform/folder_dialog.h"
#include "platform/volumes.h"

// Appended to the proposed volume.
inline constexpr wchar_t kProductFolder[] = L"Orbisk";
// Appended when the user picks the root of a volume.
inline constexpr wchar_t kVolumeRootProductFolder[] = L"KwrSoft/Orbisk";
inline constexpr wchar_t kInstallFolderDialogTitle[] = L"请选择安装目录";

// The folder to propose an installation in: of the local fixed volumes, the one with the most
// space available to the user (the first in mount order on a tie; never one with 0 bytes). As
// root the folder is the volume's mount point. Otherwise it is the user's home folder when that
// lies on the volume, and a volume where the user can write neither at home nor at the mount
// point is passed over. Empty when no volume qualifies.
std::wstring GetDefaultInstallRoot(const platform::VolumeSources& sources = {});

// `root` with the product folder appended; the bare product folder (a relative path) when
// `root` is empty.
std::wstring DefaultInstallPath(const std::wstring& root);

// Bytes available to the user on the volume that holds (or would hold) `path`. The path need
// not exist: the volume is found from the absolute, normal path, and the nearest existing
// folder above it must be one the user can create entries in. 0 for an empty or relative path,
// a path with a file in the way, or a volume that cannot be queried.
std::uint64_t GetFreeSpace(const std::wstring& path, const platform::VolumeSources& sources = {});

// The install folder made from a folder picked in the dialog: a volume root gets
// "KwrSoft/Orbisk" appended, any other folder is used as it is.
std::wstring InstallPathForPickedFolder(const std::wstring& picked, const platform::VolumeSources& sources = {});

// Bytes the installation needs: the package installer plus every external item's download and
// installed size. Absurd sizes saturate instead of wrapping round to a small number.
std::uint64_t RequiredSpace(const ConfigRecord& config);

struct SpaceCheck {
  std::uint64_t required = 0;
  std::uint64_t free = 0;
  bool enough = false;  // free > required, strictly
};

// The space check of the install folder `installPath`.
SpaceCheck CheckInstallSpace(const ConfigRecord& config, const std::wstring& installPath,
                             const platform::VolumeSources& sources = {});

// The folder dialog for changing `installPath`: titled, proposing the path's last component
// inside its parent folder. A parent that does not exist (yet) would leave nothing to open, so
// the dialog opens in the nearest folder above it that exists; a relative path is taken from
// the current folder. An empty path leaves the chooser at its own default folder.
platform::FolderDialogOptions InstallFolderDialogOptions(const std::wstring& installPath,
                                                         unsigned long ownerWindow = 0);
