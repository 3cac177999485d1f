// Finds DejaVu Sans Bold: the fixed Debian path, else fontconfig's answer through fc-match.
// The answer is looked up once and kept, since start-up and the generator may ask many times.
#include "platform/internal/font_path.h"

#include "platform/os/operating_system.h"

namespace platform {

namespace {

bool FileExists(const std::string& path) { return os::IsFile(path); }

std::string AskFontconfig() {
  const std::string path = os::CommandOutput("fc-match -f '%{file}' 'DejaVu Sans:bold'", 511);
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
