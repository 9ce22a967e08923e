#pragma once
// Facts about the operating system the installer runs on.
#include <string>

namespace platform {

// The kernel's release text ("6.1.0-18-amd64"); "" when it cannot be read.
std::string KernelRelease();

// True for a 32-bit build of the program running on a 64-bit kernel.
bool Is32BitProcessOn64BitKernel();

}  // namespace platform
