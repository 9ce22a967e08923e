#include "ui/controls/skin_file_name.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace SkinUI {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `dir` ("" = the current directory) whose name matches `wanted` ignoring case.
std::optional<std::string> FindEntry(const std::string& dir, std::string_view wanted) {
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.empty() ? "." : dir.c_str()), &::closedir);
  if (d == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* e = ::readdir(d.get())) {
    std::string_view entry(e->d_name);
    if (SkinNamesEqual(entry, wanted) && (!best || entry < *best)) best = std::string(entry);
  }
  return best;
}

}  // namespace

bool SkinNamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string FindLooseSkinFile(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += name;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (Exists(path)) return path;

  // The folder is taken as it stands up to its last separator; what follows it (the rest of
  // the folder's last component, then the name) is looked up entry by entry.
  std::string folderPart(folder);
  std::replace(folderPart.begin(), folderPart.end(), '\\', '/');
  const size_t cut = folderPart.rfind('/');
  std::string resolved = cut == std::string::npos ? std::string() : folderPart.substr(0, cut + 1);
  std::string_view rest = std::string_view(path).substr(resolved.size());
  if (resolved.empty() && !rest.empty() && rest.front() == '/') resolved = "/";  // an absolute name

  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (part.empty()) continue;  // "a//b" names "a/b", as the system reads it
    std::string exact = resolved + std::string(part);
    if (!Exists(exact)) {
      std::optional<std::string> entry = FindEntry(resolved, part);
      if (!entry) return path;
      exact = resolved + *entry;
    }
    resolved = std::move(exact);
    if (!rest.empty()) resolved += '/';
  }
  return resolved;
}

}  // namespace SkinUI
