#pragma once
// The folder chooser of the XDG desktop portal (internal to the Linux platform layer).
#include <optional>
#include <string>

#include "platform/folder_dialog.h"
#include "platform/linux/chooser_cancel.h"

namespace platform::linux_impl {

// The session bus to ask: DBUS_SESSION_BUS_ADDRESS, else the user's bus socket in
// XDG_RUNTIME_DIR. Empty when there is none (a bus is never started just for this).
std::string SessionBusAddress();

// Shows the portal's chooser and waits for its answer. Nothing when no portal file chooser
// answered (no bus, no portal, too old a portal, or it refused the request): another chooser
// may be tried then.
std::optional<FolderDialogResult> RunPortalFolderChooser(const FolderDialogOptions& options, ChooserCancel& cancel);

}  // namespace platform::linux_impl
