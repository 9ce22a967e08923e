#pragma once
// Folder choosers that are programs of their own: "zenity" (GNOME and friends) and "kdialog"
// (KDE) (internal to the Linux platform layer).
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_dialog.h"
#include "platform/linux/chooser_cancel.h"

namespace platform::linux_impl {

enum class ChooserProgram { kZenity, kKdialog };

// Where the program is on the PATH; empty when it is not installed.
std::filesystem::path FindChooserProgram(ChooserProgram which);

// The program's command line for `options` (argv[0] included).
std::vector<std::string> ChooserCommandLine(ChooserProgram which, const std::filesystem::path& exe,
                                            const FolderDialogOptions& options);

// Runs the chooser program and waits for it. Nothing when it could not show a chooser (it did
// not start, or ended with neither an answer nor a cancel).
std::optional<FolderDialogResult> RunChooserProgram(ChooserProgram which, const std::filesystem::path& exe,
                                                    const FolderDialogOptions& options, ChooserCancel& cancel);

}  // namespace platform::linux_impl
