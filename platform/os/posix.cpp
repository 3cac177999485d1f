// The operating-system calls only Linux and other POSIX systems make (posix_shared.cpp holds the rest): /proc for
// the executable, the shell for commands, the graphics device nodes and waits that sleep the thread.
#include "platform/os/operating_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace platform::os {

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (int tries = 0; tries < 4; ++tries) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(length));
      const size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }
    buffer.resize(buffer.size() * 4);
  }
  return {};
}

std::string CommandOutput(const std::string& command, size_t maxBytes) {
  const std::string quiet = command + " 2>/dev/null";
  FILE* pipe = popen(quiet.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string output(maxBytes, '\0');
  const size_t read = fread(output.data(), 1, maxBytes, pipe);
  pclose(pipe);
  output.resize(read);
  return output;
}

bool MayHaveGraphicsHardware() {
#ifdef __linux__
  // The kernel's DRI nodes, or NVIDIA's own.
  struct stat status;
  return stat("/dev/dri", &status) == 0 || stat("/dev/nvidia0", &status) == 0;
#else
  return true;
#endif
}

bool VibrateBrowserGamepad(const char*, uint16_t, uint16_t, uint32_t) { return false; }

// There is no page outside the browser.
bool InPage() { return false; }
bool PageHidden() { return false; }
void HoldWhileHidden(bool) {}
void TellPage(const char*, const std::string&) {}

void Wait(uint64_t microseconds) { std::this_thread::sleep_for(std::chrono::microseconds(microseconds)); }

}  // namespace platform::os
