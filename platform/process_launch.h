#pragma once
// Starting programs for the desktop user, the way the desktop's own launcher would: detached
// from the installer (own session, not our child, no descriptor of ours above 2), and, when the
// installer runs as root on behalf of a desktop user (sudo, pkexec), as that user with that
// user's environment, so the program never inherits the installer's rights.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace platform {

// Starts `program` with `args` (argv[1...]; argv[0] is the program as given) in `workDir`.
// A program without "/" is looked up on the PATH of the environment it will get. Returns once
// the program has been started (or failed to start): empty when it runs, else why not (the
// program is missing or not executable, the working folder is missing, the desktop user has no
// account entry, ...). Nothing goes through a shell.
std::error_code LaunchDetached(const std::filesystem::path& program, const std::vector<std::string>& args,
                               const std::filesystem::path& workDir);

// Opens `url` with the desktop's preferred application ("xdg-open"), started as above in the
// desktop user's home folder.
std::error_code OpenUrlAsDesktopUser(const std::string& url);

}  // namespace platform
