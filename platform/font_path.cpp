// Finds DejaVu Sans Bold: the fixed Debian path, else fontconfig's answer through fc-match.
// The answer is looked up once and kept, since start-up and the generator may ask many times.
#include "platform/font_path.h"

#include <cstdio>
#include <fstream>

namespace platform {

namespace {

bool FileExists(const std::string& path) { return !path.empty() && std::ifstream(path).good(); }

std::string AskFontconfig() {
  FILE* pipe = popen("fc-match -f '%{file}' 'DejaVu Sans:bold' 2>/dev/null", "r");
  if (pipe == nullptr) return {};
  char line[512] = {};
  size_t read = fread(line, 1, sizeof line - 1, pipe);
  pclose(pipe);
  std::string path(line, read);
  return path.find("DejaVuSans-Bold") != std::string::npos && FileExists(path) ? path : std::string();
}

}  // namespace

std::string FindBoldFontPath() {
  static const std::string found = [] {
    const std::string debianPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    return FileExists(debianPath) ? debianPath : AskFontconfig();
  }();
  return found;
}

}  // namespace platform
