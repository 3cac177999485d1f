// Environment variables, the executable's folder (SDL's base path, which needs no SDL start-up) and the
// working folder, through the C library and the system calls.
#include "platform/process_environment.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::string ExecutableFolder() {
  char* base = SDL_GetBasePath();
  if (base == nullptr) return {};
  std::string folder = base;
  SDL_free(base);
  return folder;
}

std::string WorkingFolder() {
  std::vector<char> buffer(4096);
  for (int tries = 0; tries < 4; ++tries) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
    buffer.resize(buffer.size() * 4);
  }
  return {};
}

bool ChangeWorkingFolder(const std::string& folder) { return !folder.empty() && chdir(folder.c_str()) == 0; }

}  // namespace platform
