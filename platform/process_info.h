#pragma once
// Facts about the running process: where its executable is and how it was started.
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Full path of the running executable ("" when it cannot be determined).
std::filesystem::path ExecutablePath();

// A path that opens the running executable's own image: still that file after the one at
// ExecutablePath() has been replaced or removed (an update while it runs), so facts read from it
// (the file version) belong to the program that is running.
std::filesystem::path RunningImagePath();

// File name of the running executable, with its extension ("Setup_b12348.exe").
std::string ExecutableBaseName();

// Keeps argv for later readers; called once at the very start of main().
void SaveCommandLine(int argc, char** argv);

// The saved command line, the program path first (empty before SaveCommandLine).
const std::vector<std::string>& CommandLineArgs();

// Numeric id of the calling thread as the kernel knows it.
unsigned long CurrentThreadId();

}  // namespace platform
