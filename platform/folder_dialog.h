#pragma once
// The desktop's folder chooser. It runs beside the caller: Start() opens it and returns at once,
// CompletionFd() becomes readable when the user has finished, Result() collects the answer. The
// caller's own window loop keeps running meanwhile (timers, animations), which is how a modal
// chooser over a window with live content is built; ShowFolderDialog() is the blocking form.
//
// The chooser is the desktop portal's (org.freedesktop.portal.FileChooser) when a portal
// answers, else the program "zenity", else "kdialog".
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace platform {

struct FolderDialogOptions {
  std::string title;                    // UTF-8
  std::filesystem::path initialFolder;  // where the chooser opens; empty: its own default
  std::string fileName;                 // name proposed inside initialFolder; may be empty
  unsigned long ownerWindow = 0;        // X window the chooser belongs to; 0: none
};

enum class FolderDialogOutcome {
  kChosen,       // `folder` holds the chosen folder
  kCancelled,    // the user closed the chooser without choosing (or it was dismissed)
  kUnavailable,  // no chooser could be shown on this desktop
};

struct FolderDialogResult {
  FolderDialogOutcome outcome = FolderDialogOutcome::kUnavailable;
  std::filesystem::path folder;
};

class FolderDialog {
 public:
  FolderDialog();
  ~FolderDialog();  // dismisses a chooser that is still open and waits for it
  FolderDialog(const FolderDialog&) = delete;
  FolderDialog& operator=(const FolderDialog&) = delete;

  // Opens the chooser. False when this desktop has none (nothing was started; the result is
  // kUnavailable). One chooser per object: a second Start fails.
  bool Start(const FolderDialogOptions& options);

  // Readable (poll POLLIN) once the chooser has finished, and from then on; -1 before Start.
  // Never read from it.
  int CompletionFd() const;

  bool Finished() const;

  // The answer; waits for the chooser when it has not finished yet. kUnavailable also when the
  // chooser programs found at Start failed to show anything.
  FolderDialogResult Result();

  // Closes a chooser that is still open; the result is then kCancelled.
  void Dismiss();

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread thread_;
};

// Opens the chooser and waits for the user.
FolderDialogResult ShowFolderDialog(const FolderDialogOptions& options);

// The local path of a "file://" URI as the portal hands it out (percent-escapes decoded, an
// empty or "localhost" host accepted). Nothing for any other URI.
std::optional<std::filesystem::path> PathFromFileUri(std::string_view uri);

}  // namespace platform
