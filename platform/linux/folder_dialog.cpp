#include "platform/folder_dialog.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <mutex>

#include "platform/linux/chooser_cancel.h"
#include "platform/linux/portal_folder_chooser.h"
#include "platform/linux/program_folder_chooser.h"

namespace platform {

namespace fs = std::filesystem;
using linux_impl::ChooserProgram;

struct FolderDialog::State {
  ~State() {
    if (fd >= 0) ::close(fd);
  }
  void Finish(FolderDialogResult r) {
    {
      std::lock_guard lock(mutex);
      result = std::move(r);
    }
    finished = true;
    std::uint64_t one = 1;
    ssize_t ignored = ::write(fd, &one, sizeof one);
    (void)ignored;
  }

  int fd = -1;
  std::atomic<bool> finished{false};
  std::mutex mutex;
  FolderDialogResult result;
  linux_impl::ChooserCancel cancel;
};

namespace {

// What this desktop offers, found before anything is shown.
struct Choosers {
  bool portal = false;
  fs::path zenity, kdialog;
  bool any() const { return portal || !zenity.empty() || !kdialog.empty(); }
};

Choosers FindChoosers() {
  Choosers c;
  c.portal = !linux_impl::SessionBusAddress().empty();
  c.zenity = linux_impl::FindChooserProgram(ChooserProgram::kZenity);
  c.kdialog = linux_impl::FindChooserProgram(ChooserProgram::kKdialog);
  return c;
}

// The portal first (it is the desktop's own chooser); the programs when it is not there.
FolderDialogResult RunChoosers(const Choosers& choosers, const FolderDialogOptions& options,
                               linux_impl::ChooserCancel& cancel) {
  FolderDialogResult cancelled{FolderDialogOutcome::kCancelled, {}};
  if (choosers.portal) {
    if (auto r = linux_impl::RunPortalFolderChooser(options, cancel)) return *r;
  }
  if (cancel.cancelled()) return cancelled;
  if (!choosers.zenity.empty()) {
    if (auto r = linux_impl::RunChooserProgram(ChooserProgram::kZenity, choosers.zenity, options, cancel)) return *r;
  }
  if (cancel.cancelled()) return cancelled;
  if (!choosers.kdialog.empty()) {
    if (auto r = linux_impl::RunChooserProgram(ChooserProgram::kKdialog, choosers.kdialog, options, cancel)) return *r;
  }
  if (cancel.cancelled()) return cancelled;
  return {};
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

FolderDialog::FolderDialog() = default;

FolderDialog::~FolderDialog() {
  Dismiss();
  if (thread_.joinable()) thread_.join();
}

bool FolderDialog::Start(const FolderDialogOptions& options) {
  if (state_) return false;
  state_ = std::make_shared<State>();
  state_->fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  Choosers choosers = FindChoosers();
  if (state_->fd < 0 || !choosers.any()) {
    if (state_->fd >= 0) state_->Finish({});
    return false;
  }
  std::shared_ptr<State> state = state_;
  thread_ = std::thread([state, choosers, options] { state->Finish(RunChoosers(choosers, options, state->cancel)); });
  return true;
}

int FolderDialog::CompletionFd() const { return state_ ? state_->fd : -1; }

bool FolderDialog::Finished() const { return state_ && state_->finished; }

FolderDialogResult FolderDialog::Result() {
  if (!state_) return {};
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(state_->mutex);
  return state_->result;
}

void FolderDialog::Dismiss() {
  if (state_) state_->cancel.Cancel();
}

FolderDialogResult ShowFolderDialog(const FolderDialogOptions& options) {
  FolderDialog dialog;
  if (!dialog.Start(options)) return {};
  return dialog.Result();
}

std::optional<fs::path> PathFromFileUri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() < kScheme.size()) return std::nullopt;
  for (std::size_t i = 0; i < kScheme.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(uri[i])) != kScheme[i]) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  std::size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;  // a folder on another machine
  std::string_view encoded = rest.substr(slash);
  if (encoded.find_first_of("?#") != std::string_view::npos) return std::nullopt;

  std::string path;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] != '%') {
      path += encoded[i];
      continue;
    }
    if (i + 2 >= encoded.size()) return std::nullopt;
    int hi = HexValue(encoded[i + 1]), lo = HexValue(encoded[i + 2]);
    if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) return std::nullopt;
    path += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return fs::path(path);
}

}  // namespace platform
