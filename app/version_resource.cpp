// The installer's file version, stamped by the build (WEBINST_VERSION) into its own section of
// the executable, where ReadFileVersion finds it in the file. Linked into the installer
// executable only.
#include "platform/version_resource.h"

namespace {
[[gnu::used, gnu::retain, gnu::section(WEBINST_VERSION_SECTION)]] const platform::FileVersionWords kFileVersion = {
    WEBINST_FILE_VERSION_MS, WEBINST_FILE_VERSION_LS};
}  // namespace
