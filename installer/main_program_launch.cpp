#include "installer/main_program_launch.h"

#include <algorithm>

#include "common/base/log.h"
#include "platform/command_line_split.h"
#include "platform/process_launch.h"
#include "platform/text_encoding.h"

std::filesystem::path JoinInstallRelative(const std::filesystem::path& folder, const std::wstring& relative) {
  std::wstring text = relative;
  std::replace(text.begin(), text.end(), L'\\', L'/');
  std::size_t first = text.find_first_not_of(L'/');
  text.erase(0, first == std::wstring::npos ? text.size() : first);
  if (text.empty()) return folder;
  return (folder / platform::PathFromWide(text)).lexically_normal();
}

LaunchCommand BuildLaunchCommand(const std::wstring& installPath, const StartProgramInfo& starup) {
  LaunchCommand command;
  command.workDir = platform::PathFromWide(installPath);
  command.program = JoinInstallRelative(command.workDir, starup.main);
  if (starup.args && !starup.args->empty()) {
    for (const auto& arg : platform::SplitCommandLineArgs(*starup.args)) command.args.push_back(platform::WideToAnsi(arg));
  }
  return command;
}

bool LaunchInstalledProgram(const std::wstring& installPath, const StartProgramInfo& starup) {
  LaunchCommand command = BuildLaunchCommand(installPath, starup);
  if (auto ec = platform::LaunchDetached(command.program, command.args, command.workDir)) {
    LOG_ERROR << "launch " << command.program.string() << " failed: " << ec.message();
    return false;
  }
  LOG_INFO << "launched " << command.program.string();
  return true;
}
