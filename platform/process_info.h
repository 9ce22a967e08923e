#pragma once
// Facts about the running process: where its executable is and how it was started.
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Full path of the running executable ("" when it cannot be determined).
std::filesystem::path ExecutablePath();

// File name of the running executable, with its extension ("Setup_b12348.exe").
std::string ExecutableBaseName();

// Keeps argv for later readers; called once at the very start of main().
void SaveCommandLine(int argc, char** argv);

// The saved command line, the program path first (empty before SaveCommandLine).
const std::vector<std::string>& CommandLineArgs();

// Numeric id of the calling thread as the kernel knows it.
unsigned long CurrentThreadId();

}  // namespace platform
