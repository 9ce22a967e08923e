#pragma once
// Running part of a test in a forked child that may change what the whole process would not:
// mount file systems in a mount namespace of its own (gone with the child), or drop to another
// user. Needs root; tests skip without it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace testsupport {

// Forks; the child enters a private mount namespace, runs `body` and hands its text back.
// Returns "" with `error` set when the child could not be isolated or died.
std::string RunIsolated(const std::function<std::string()>& body, std::string* error = nullptr);

// Inside RunIsolated: a tmpfs of `bytes` (whole pages) at `where`, with extra mount options
// ("uid=65534", "mode=0755"). False when the mount failed.
bool MountTmpfs(const std::filesystem::path& where, std::uint64_t bytes, const std::string& options = "",
                bool readOnly = false);

// Inside RunIsolated: becomes `uid`/`gid` with no supplementary groups. False on failure.
bool BecomeUser(unsigned uid, unsigned gid);

// Whether RunIsolated can work here (root, mount namespaces allowed).
bool CanIsolate();

}  // namespace testsupport
