#include "installer/install_location.h"

#include <unistd.h>

#include <limits>
#include <system_error>

#include "platform/text_encoding.h"

namespace {

namespace fs = std::filesystem;

bool IsPrivileged() { return ::geteuid() == 0; }

// Absolute and normal, without a trailing separator ("/a/b/../c/" -> "/a/c").
fs::path NormalAbsolute(const fs::path& p) {
  fs::path n = p.lexically_normal();
  if (n.has_relative_path() && !n.has_filename()) n = n.parent_path();
  return n;
}

// The path itself or the nearest folder above it that exists (the root always does).
fs::path NearestExisting(fs::path p) {
  std::error_code ec;
  while (!fs::exists(p, ec) && p.has_relative_path()) p = p.parent_path();
  return p;
}

// Symbolic links resolved, so that the volume is the one the data would really land on.
fs::path Resolved(const fs::path& existing) {
  std::error_code ec;
  fs::path c = fs::canonical(existing, ec);
  return ec ? existing : c;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

}  // namespace

std::wstring GetDefaultInstallRoot(const platform::VolumeSources& sources) {
  auto table = platform::VolumeTable::Read(sources);
  const bool privileged = IsPrivileged();
  fs::path home;
  std::optional<platform::MountedVolume> homeVolume;
  if (!privileged) {
    home = platform::HomeFolder();
    std::error_code ec;
    if (!home.empty() && fs::is_directory(home, ec)) homeVolume = table.VolumeOf(Resolved(home));
  }

  std::uint64_t best = 0;
  fs::path result;
  for (const auto& volume : table.LocalFixedVolumes()) {
    if (volume.readOnly) continue;
    fs::path candidate;
    if (homeVolume && homeVolume->mountPoint == volume.mountPoint && platform::CanCreateIn(home)) {
      candidate = home;
    } else if (platform::CanCreateIn(volume.mountPoint)) {
      candidate = volume.mountPoint;
    } else {
      continue;  // nowhere on it the user could install
    }
    std::uint64_t available = platform::AvailableBytes(volume.mountPoint).value_or(0);
    if (available > best) {
      best = available;
      result = candidate;
    }
  }
  return platform::PathToWide(result);
}

std::wstring DefaultInstallPath(const std::wstring& root) {
  if (root.empty()) return kProductFolder;
  return platform::PathToWide(platform::PathFromWide(root) / platform::PathFromWide(kProductFolder));
}

std::uint64_t GetFreeSpace(const std::wstring& path, const platform::VolumeSources& sources) {
  fs::path p = platform::PathFromWide(path);
  if (!p.is_absolute()) return 0;
  p = NormalAbsolute(p);

  // The folder would be created below the nearest folder that exists: that one decides whether
  // the user can install here at all, and (links resolved) which volume the data lands on.
  fs::path existing = NearestExisting(p);
  if (!platform::CanCreateIn(existing)) return 0;
  auto volume = platform::VolumeTable::Read(sources).VolumeOf(Resolved(existing));
  if (!volume) return 0;
  return platform::AvailableBytes(volume->mountPoint).value_or(0);
}

std::wstring InstallPathForPickedFolder(const std::wstring& picked, const platform::VolumeSources& sources) {
  fs::path p = platform::PathFromWide(picked);
  if (!p.is_absolute()) return picked;
  auto table = platform::VolumeTable::Read(sources);
  fs::path normal = NormalAbsolute(p);
  if (!table.IsMountPoint(normal) && !table.IsMountPoint(Resolved(normal))) return picked;
  return platform::PathToWide(normal / platform::PathFromWide(kVolumeRootProductFolder));
}

std::uint64_t RequiredSpace(const ConfigRecord& config) {
  std::uint64_t required = config.installer.size;
  for (const auto& item : config.external) {
    required = SaturatingAdd(required, item.size);
    required = SaturatingAdd(required, item.raw_size);
  }
  return required;
}

SpaceCheck CheckInstallSpace(const ConfigRecord& config, const std::wstring& installPath,
                             const platform::VolumeSources& sources) {
  SpaceCheck check;
  check.required = RequiredSpace(config);
  check.free = GetFreeSpace(installPath, sources);
  check.enough = check.free > check.required;
  return check;
}

platform::FolderDialogOptions InstallFolderDialogOptions(const std::wstring& installPath, unsigned long ownerWindow) {
  platform::FolderDialogOptions options;
  options.title = platform::WideToUtf8(kInstallFolderDialogTitle);
  options.ownerWindow = ownerWindow;
  if (installPath.empty()) return options;

  std::error_code ec;
  fs::path p = fs::absolute(platform::PathFromWide(installPath), ec);
  if (ec) return options;
  p = NormalAbsolute(p);
  options.fileName = p.filename().string();
  fs::path folder = NearestExisting(p.has_relative_path() ? p.parent_path() : p);
  while (!fs::is_directory(folder, ec) && folder.has_relative_path()) folder = folder.parent_path();
  options.initialFolder = folder;
  return options;
}
