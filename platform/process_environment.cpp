// The process's surroundings, answered by the operating system's side of the platform.
#include "platform/process_environment.h"

#include "platform/base_folders.h"
#include "platform/os/operating_system.h"

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return os::CommandLineArguments(argc, argv); }

void UseStartingConsole() { os::UseStartingConsole(); }

void UseBinaryStandardOutput() { os::UseBinaryStandardOutput(); }

std::optional<std::string> EnvironmentVariable(const char* name) { return os::EnvironmentVariable(name); }

void SetEnvironmentVariable(const char* name, const std::string& value) { os::SetEnvironmentVariable(name, value); }

std::string ExecutableFolder() { return os::ExecutableFolder(); }

std::string WorkingFolder() { return os::WorkingFolder(); }

bool ChangeWorkingFolder(const std::string& folder) { return os::ChangeWorkingFolder(folder); }

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || os::IsAbsolutePath(path)) return path;
  return JoinPath(SystemFolderRules(), WorkingFolder(), path);
}

}  // namespace platform
