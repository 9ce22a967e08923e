#include "platform/linux/program_folder_chooser.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/linux/launch_identity.h"

extern char** environ;

namespace platform::linux_impl {
namespace {

namespace fs = std::filesystem;

// Exit codes both programs use for "closed without choosing".
constexpr int kCancelledExit = 1;

}  // namespace

fs::path FindChooserProgram(ChooserProgram which) {
  const char* path = std::getenv("PATH");
  return FindOnPath(which == ChooserProgram::kZenity ? "zenity" : "kdialog",
                    path ? path : "/usr/local/bin:/usr/bin:/bin");
}

std::vector<std::string> ChooserCommandLine(ChooserProgram which, const fs::path& exe, const FolderDialogOptions& options) {
  std::vector<std::string> argv{exe.string()};
  if (which == ChooserProgram::kZenity) {
    argv.insert(argv.end(), {"--file-selection", "--directory", "--title=" + options.title});
    if (!options.initialFolder.empty()) {
      // A trailing separator makes zenity open the folder itself rather than select it.
      std::string start = options.fileName.empty() ? (options.initialFolder / "").string()
                                                   : (options.initialFolder / options.fileName).string();
      argv.push_back("--filename=" + start);
    }
  } else {
    if (options.ownerWindow) argv.insert(argv.end(), {"--attach", std::to_string(options.ownerWindow)});
    argv.insert(argv.end(), {"--title", options.title, "--getexistingdirectory"});
    if (!options.initialFolder.empty()) argv.push_back(options.initialFolder.string());
  }
  return argv;
}

std::optional<FolderDialogResult> RunChooserProgram(ChooserProgram which, const fs::path& exe,
                                                    const FolderDialogOptions& options, ChooserCancel& cancel) {
  std::vector<std::string> args = ChooserCommandLine(which, exe, options);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  pid_t pid = -1;
  int spawnError = ::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawnError != 0) {
    ::close(out[0]);
    return std::nullopt;
  }

  // Dismiss ends the program; its output then closes and the read below returns.
  if (!cancel.SetCloser([pid] { ::kill(pid, SIGTERM); })) ::kill(pid, SIGTERM);
  std::string text;
  char buf[4096];
  for (;;) {
    ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  cancel.ClearCloser();  // before the wait: after it the id may belong to someone else
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  FolderDialogResult result;
  result.outcome = FolderDialogOutcome::kCancelled;
  if (cancel.cancelled()) return result;
  if (!WIFEXITED(status)) return std::nullopt;
  if (WEXITSTATUS(status) == kCancelledExit) return result;
  if (WEXITSTATUS(status) != 0) return std::nullopt;
  // The folder on one line; only the line end is not part of it.
  if (!text.empty() && text.back() == '\n') text.pop_back();
  if (text.empty() || text[0] != '/') return result;
  result.outcome = FolderDialogOutcome::kChosen;
  result.folder = text;
  return result;
}

}  // namespace platform::linux_impl
