#pragma once
// Starting the installed application at the end of the run: the configuration's "starup"
// entry, relative to the install folder, started for the desktop user (platform/process_launch).
#include <filesystem>
#include <string>
#include <vector>

#include "installer/config_record.h"

struct LaunchCommand {
  std::filesystem::path program;  // the install folder joined with "main"
  std::vector<std::string> args;  // "args" split like a Windows command line; none when empty
  std::filesystem::path workDir;  // the install folder
};

// "main" is relative to the install folder; "\" separates folders as "/" does, and a leading
// separator does not make it absolute.
std::filesystem::path JoinInstallRelative(const std::filesystem::path& folder, const std::wstring& relative);

LaunchCommand BuildLaunchCommand(const std::wstring& installPath, const StartProgramInfo& starup);

// Starts the program for the desktop user, detached, in the install folder. A failure (the
// program is missing, say) is logged at ERROR and otherwise silent: false.
bool LaunchInstalledProgram(const std::wstring& installPath, const StartProgramInfo& starup);
